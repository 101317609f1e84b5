#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/platform/X11WindowTestSupport.h"
#include "widgets/graphics/PixelBuffer.h"

namespace {

using TVisual = TX11TestHost::TVisual;
using TKind = TInputEvent::TKind;

constexpr int kWidth = 64;
constexpr int kHeight = 48;
// Rows wider than the window: Present must honour the stride.
constexpr int kStride = 80;
constexpr std::uint32_t kOpaque = 0xFF000000;

// Every pixel different, alpha included, so a shifted row, a swapped
// channel or a dropped alpha all show.
TPixelBuffer Pattern(std::uint32_t seed) {
  TPixelBuffer pixels(kStride, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kStride; ++x) {
      pixels.Row(y)[x] = (static_cast<std::uint32_t>(x) * 0x01030507u +
                          static_cast<std::uint32_t>(y) * 0x0B0D1113u + seed) |
                         0x10000000u;
    }
  }
  return pixels;
}

// What the window should show: `outer`, with `inner` inside the rectangle.
// Without an alpha channel the server keeps no alpha; the host reads 0xFF.
std::vector<std::uint32_t> Expected(const TPixelBuffer& outer, const TPixelBuffer& inner, int left,
                                    int top, int right, int bottom, TVisual visual) {
  std::vector<std::uint32_t> shown;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool in = x >= left && x < right && y >= top && y < bottom;
      const std::uint32_t pixel = in ? inner.Row(y)[x] : outer.Row(y)[x];
      shown.push_back(visual == TVisual::TrueColor32 ? pixel : (pixel | kOpaque));
    }
  }
  return shown;
}

std::vector<std::uint32_t> Shown(const TPixelBuffer& window) {
  std::vector<std::uint32_t> shown;
  for (int y = 0; y < window.Height(); ++y) {
    shown.insert(shown.end(), window.Row(y), window.Row(y) + window.Width());
  }
  return shown;
}

class TX11PresentTest : public TX11WindowTest, public testing::WithParamInterface<TVisual> {};

TEST_P(TX11PresentTest, ShowsTheRowsBitForBitAndOnlyTheRectangleAsked) {
  const auto parent = Host->CreateParent(kWidth + 20, kHeight + 20, GetParam());
  auto window = TNativeWindow::Create(AsParent(parent), kWidth, kHeight, Client);
  ASSERT_NE(window, nullptr);
  const std::vector<TX11TestHost::TWindowId> children = Host->ChildrenOf(parent);
  ASSERT_EQ(children.size(), 1u);
  const auto child = children.front();

  // A fresh window is exposed whole once it is viewable.
  ASSERT_TRUE(TX11TestHost::WaitUntil([&] {
    window->PumpEvents();
    return !Client.Exposures.empty();
  }));
  const TExposure& first = Client.Exposures.front();
  EXPECT_EQ(first.Left, 0);
  EXPECT_EQ(first.Top, 0);
  EXPECT_EQ(first.Width, kWidth);
  EXPECT_EQ(first.Height, kHeight);

  // The pixels travel on the plug-in's connection, the reading on the
  // host's: wait for them to arrive.
  auto showsEventually = [&](const std::vector<std::uint32_t>& expected) {
    std::vector<std::uint32_t> shown;
    TX11TestHost::WaitUntil([&] {
      shown = Shown(Host->ReadPixels(child));
      return shown == expected;
    });
    return shown == expected;
  };

  const TPixelBuffer first_pattern = Pattern(0);
  window->Present(first_pattern.Data(), kStride, 0, 0, kWidth, kHeight);
  EXPECT_TRUE(showsEventually(Expected(first_pattern, first_pattern, 0, 0, 0, 0, GetParam())));

  const TPixelBuffer second = Pattern(0x00406080);
  window->Present(second.Data(), kStride, 10, 5, 20, 15);
  EXPECT_TRUE(showsEventually(Expected(first_pattern, second, 10, 5, 30, 20, GetParam())));

  // Reaching past the window's edges is cut at them.
  window->Present(second.Data(), kStride, 50, 40, 1000, 1000);
  window->Present(second.Data(), kStride, -5, -5, 7, 7);
  std::vector<std::uint32_t> expected = Expected(first_pattern, second, 10, 5, 30, 20, GetParam());
  const std::vector<std::uint32_t> corner = Expected(second, second, 0, 0, 0, 0, GetParam());
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if ((x >= 50 && y >= 40) || (x < 2 && y < 2))
        expected[y * kWidth + x] = corner[y * kWidth + x];
    }
  }
  EXPECT_TRUE(showsEventually(expected));

  window.reset();
  EXPECT_TRUE(Host->ChildrenOf(parent).empty());
}

INSTANTIATE_TEST_SUITE_P(ParentVisuals, TX11PresentTest,
                         testing::Values(TVisual::TrueColor24, TVisual::TrueColor32),
                         [](const testing::TestParamInfo<TVisual>& info) {
                           return info.param == TVisual::TrueColor24 ? "Depth24" : "Depth32";
                         });

std::string Describe(const TInputEvent& event) {
  static const char* const kKinds[] = {"move", "down", "up", "wheel", "leave"};
  return std::string(kKinds[static_cast<int>(event.Kind)]) + " button " +
         std::to_string(event.Button) + " at " + std::to_string(event.X) + "," +
         std::to_string(event.Y) + " wheel " + std::to_string(event.WheelDelta) + " shift " +
         std::to_string(event.Shift);
}

TInputEvent Event(TKind kind, int x, int y, TShiftState shift,
                  TInputEvent::TButton button = TInputEvent::mbNone, int wheel = 0) {
  TInputEvent event;
  event.Kind = kind;
  event.X = x;
  event.Y = y;
  event.Shift = shift;
  event.Button = button;
  event.WheelDelta = wheel;
  return event;
}

struct TInputStep {
  const char* Name;
  std::function<void(TX11TestHost& host, TX11TestHost::TWindowId parent)> Act;
  std::vector<TInputEvent> Expected;
};

TEST_F(TX11WindowTest, PointerInputArrivesAsTheEditorsEvents) {
  constexpr int kChildWidth = 200;
  constexpr int kChildHeight = 100;
  const auto parent = Host->CreateParent(300, 200);
  // The pointer starts outside the child, which sits at the parent's
  // origin: parent positions inside it are its own.
  Host->MovePointer(parent, 250, 150);
  auto window = TNativeWindow::Create(AsParent(parent), kChildWidth, kChildHeight, Client);
  ASSERT_NE(window, nullptr);

  constexpr unsigned kLeft = TX11TestHost::kLeftButton;
  constexpr unsigned kMiddle = TX11TestHost::kMiddleButton;
  constexpr unsigned kRight = TX11TestHost::kRightButton;
  constexpr unsigned kHorizontalLeft = 6;
  constexpr unsigned kHorizontalRight = 7;
  const std::vector<TInputStep> steps = {
      {"move in",
       [](auto& host, auto p) { host.MovePointer(p, 10, 20); },
       {Event(TKind::PointerMove, 10, 20, 0)}},
      {"press left",
       [](auto& host, auto) { host.PressButton(kLeft); },
       {Event(TKind::ButtonDown, 10, 20, ssLeft, TInputEvent::mbLeft)}},
      {"drag",
       [](auto& host, auto p) { host.MovePointer(p, 15, 27); },
       {Event(TKind::PointerMove, 15, 27, ssLeft)}},
      {"release left",
       [](auto& host, auto) { host.ReleaseButton(kLeft); },
       {Event(TKind::ButtonUp, 15, 27, 0, TInputEvent::mbLeft)}},
      {"click middle",
       [](auto& host, auto) {
         host.PressButton(kMiddle);
         host.ReleaseButton(kMiddle);
       },
       {Event(TKind::ButtonDown, 15, 27, ssMiddle, TInputEvent::mbMiddle),
        Event(TKind::ButtonUp, 15, 27, 0, TInputEvent::mbMiddle)}},
      {"click right",
       [](auto& host, auto) {
         host.PressButton(kRight);
         host.ReleaseButton(kRight);
       },
       {Event(TKind::ButtonDown, 15, 27, ssRight, TInputEvent::mbRight),
        Event(TKind::ButtonUp, 15, 27, 0, TInputEvent::mbRight)}},
      {"wheel forward",
       [](auto& host, auto) { host.TurnWheel(1); },
       {Event(TKind::Wheel, 15, 27, 0, TInputEvent::mbNone, TInputEvent::kWheelNotch)}},
      {"wheel back twice",
       [](auto& host, auto) { host.TurnWheel(-2); },
       {Event(TKind::Wheel, 15, 27, 0, TInputEvent::mbNone, -TInputEvent::kWheelNotch),
        Event(TKind::Wheel, 15, 27, 0, TInputEvent::mbNone, -TInputEvent::kWheelNotch)}},
      {"horizontal wheel",
       [](auto& host, auto) {
         host.PressButton(kHorizontalLeft);
         host.ReleaseButton(kHorizontalLeft);
         host.PressButton(kHorizontalRight);
         host.ReleaseButton(kHorizontalRight);
       },
       {}},
      {"shift and control click",
       [](auto& host, auto) {
         host.PressKey(XK_Shift_L);
         host.PressKey(XK_Control_L);
         host.PressButton(kLeft);
         host.ReleaseButton(kLeft);
         host.ReleaseKey(XK_Control_L);
         host.ReleaseKey(XK_Shift_L);
       },
       {Event(TKind::ButtonDown, 15, 27, ssShift | ssCtrl | ssLeft, TInputEvent::mbLeft),
        Event(TKind::ButtonUp, 15, 27, ssShift | ssCtrl, TInputEvent::mbLeft)}},
      {"alt and a second button held",
       [](auto& host, auto) {
         host.PressKey(XK_Alt_L);
         host.PressButton(kRight);
         host.PressButton(kLeft);
         host.ReleaseButton(kLeft);
         host.ReleaseButton(kRight);
         host.ReleaseKey(XK_Alt_L);
       },
       {Event(TKind::ButtonDown, 15, 27, ssAlt | ssRight, TInputEvent::mbRight),
        Event(TKind::ButtonDown, 15, 27, ssAlt | ssRight | ssLeft, TInputEvent::mbLeft),
        Event(TKind::ButtonUp, 15, 27, ssAlt | ssRight, TInputEvent::mbLeft),
        Event(TKind::ButtonUp, 15, 27, ssAlt, TInputEvent::mbRight)}},
      {"leave",
       [](auto& host, auto p) { host.MovePointer(p, 250, 150); },
       {Event(TKind::Leave, 250, 150, 0)}},
  };

  std::vector<std::string> expected;
  for (const TInputStep& step : steps) {
    step.Act(*Host, parent);
    for (const TInputEvent& event : step.Expected)
      expected.push_back(Describe(event));
    EXPECT_TRUE(TX11TestHost::WaitUntil([&] {
      window->PumpEvents();
      return Client.Inputs.size() >= expected.size();
    })) << step.Name;
  }
  // Anything extra would have arrived by now.
  Host->MovePointer(parent, 5, 5);
  expected.push_back(Describe(Event(TKind::PointerMove, 5, 5, 0)));
  TX11TestHost::WaitUntil([&] {
    window->PumpEvents();
    return Client.Inputs.size() >= expected.size();
  });

  std::vector<std::string> received;
  for (const TInputEvent& event : Client.Inputs)
    received.push_back(Describe(event));
  EXPECT_EQ(received, expected);
}

}  // namespace
