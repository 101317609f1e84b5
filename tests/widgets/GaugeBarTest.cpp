#include "widgets/GaugeBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/graphics/Canvas.h"

namespace {

using TZone = TGaugeBar::TZone;

// The editor's bar: 17 x 164, -1400..0, steps of 1.
class GaugeBarTest : public ::testing::Test {
 protected:
  static constexpr int kMiddleX = 8;
  static constexpr int kTopButtonY = 5;
  static constexpr int kBottomButtonY = 158;

  GaugeBarTest() {
    Bar.Bounds = {0, 0, 17, 164};
    Bar.SetMin(-1400);
    Bar.SetMax(0);
    Bar.SetClock(&Clock);
    Bar.OnChange = [this](TControl* sender) {
      EXPECT_EQ(sender, &Bar);
      ++Changes;
    };
  }

  // The form ticks its controls after every input.
  void Send(const TInputEvent& event) {
    Bar.HandleInput(event);
    Bar.Tick();
  }
  void Advance(int milliseconds, int tickEvery = 40) {
    while (milliseconds > 0) {
      const int step = std::min(milliseconds, tickEvery);
      Clock.Now += step;
      milliseconds -= step;
      Bar.Tick();
    }
  }

  TTestClock Clock;
  TGaugeBar Bar;
  int Changes = 0;
};

TEST_F(GaugeBarTest, GeometryAndHandleRows) {
  EXPECT_EQ(Bar.ButtonLength(), 16);
  EXPECT_EQ(Bar.TrackTop(), 16);
  EXPECT_EQ(Bar.TrackLength(), 132);
  EXPECT_EQ(Bar.HandleLength(), 17);
  // 115 rows of travel; 11.5 and 34.5 rows round to the even neighbour.
  const struct {
    int Position, Top;
  } cases[] = {{-1400, 16}, {0, 131}, {-700, 74}, {-1260, 28}, {-980, 50}};
  for (const auto& c : cases) {
    Bar.SetPosition(c.Position);
    EXPECT_EQ(Bar.HandleTop(), c.Top) << c.Position;
  }
}

TEST_F(GaugeBarTest, HandleOutlineIsDrawnOnItsRows) {
  constexpr TColor kBackground = 0xFF000000u;
  Bar.Color = 0xFF404040u;
  Bar.HandleColor = Bar.HighLightColor = Bar.ShadowColor = 0xFF00FF00u;
  Bar.ButtonColor = 0xFF0000FFu;
  Bar.BorderColor = 0xFFFF0000u;
  // Column 2 lies inside the handle's outline but left of its grip lines.
  constexpr int kColumn = 2;
  for (const int position : {-1400, 0}) {
    Bar.SetPosition(position);
    TPixelBuffer buffer(17, 164);
    std::fill(buffer.Data(), buffer.Data() + 17 * 164, kBackground);
    TCanvas canvas(buffer);
    Bar.Paint(canvas);
    std::vector<int> outlineRows;
    std::vector<int> fillRows;
    for (int y = Bar.TrackTop(); y < Bar.TrackTop() + Bar.TrackLength(); ++y) {
      const TColor pixel = buffer.Row(y)[kColumn];
      if (pixel == Bar.BorderColor) outlineRows.push_back(y);
      if (pixel == Bar.HandleColor) fillRows.push_back(y);
    }
    const int top = position == -1400 ? 16 : 131;
    EXPECT_EQ(outlineRows, (std::vector<int>{top, top + 16})) << position;
    ASSERT_EQ(fillRows.size(), 15u) << position;
    EXPECT_EQ(fillRows.front(), top + 1);
    // The track is a checker: one of two neighbours shows the background.
    const int trackRow = position == -1400 ? 100 : 60;
    const TColor a = buffer.Row(trackRow)[kColumn];
    const TColor b = buffer.Row(trackRow)[kColumn + 1];
    EXPECT_TRUE((a == Bar.Color && b == kBackground) || (a == kBackground && b == Bar.Color));
  }
}

// Holding an arrow button: one step at once, the next after 600 ms, then one
// every 100 ms until the end of the range or the release.
TEST_F(GaugeBarTest, ArrowButtonsRepeat) {
  struct TCheck {
    int Time, Position;
  };
  // clang-format off
  const struct {
    const char* Name; int Start; int PressY; int TickEvery; std::vector<TCheck> Checks;
  } cases[] = {
    {"top", -700, kTopButtonY, 40,
     {{0, -701}, {599, -701}, {600, -702}, {699, -702}, {700, -703}, {1000, -706}}},
    {"top, one late tick", -700, kTopButtonY, 1000, {{0, -701}, {1000, -706}}},
    {"bottom", -700, kBottomButtonY, 40, {{0, -699}, {599, -699}, {600, -698}, {1000, -694}}},
    {"top stops at Min", -1397, kTopButtonY, 40,
     {{0, -1398}, {600, -1399}, {700, -1400}, {2000, -1400}}},
    {"bottom stops at Max", -2, kBottomButtonY, 40, {{0, -1}, {600, 0}, {2000, 0}}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Bar.SetPosition(c.Start);
    Changes = 0;
    Send(Down(kMiddleX, c.PressY));
    int elapsed = 0;
    for (const TCheck& check : c.Checks) {
      Advance(check.Time - elapsed, c.TickEvery);
      elapsed = check.Time;
      EXPECT_EQ(Bar.Position(), check.Position) << "at " << check.Time << " ms";
    }
    Send(Up(kMiddleX, c.PressY));
    Advance(1000);
    EXPECT_EQ(Bar.Position(), c.Checks.back().Position) << "after the release";
    EXPECT_EQ(Changes, std::abs(c.Checks.back().Position - c.Start));
    EXPECT_EQ(Bar.PressedZone(), TZone::None);
  }
  // A held button whose step no longer moves the position stops repeating.
  Bar.SetPosition(-1399);
  Send(Down(kMiddleX, kTopButtonY));
  Advance(600);
  Bar.SetPosition(-1000);
  Advance(1000);
  EXPECT_EQ(Bar.Position(), -1000);
}

TEST_F(GaugeBarTest, TrackPagingFollowsThePointer) {
  Bar.LargeChange = 100;
  Bar.SetPosition(-1400);
  Changes = 0;
  // Below the handle; steps while the pointer stays over the track below,
  // even beside the bar (the pointer is clamped into it).
  Send(Down(kMiddleX, 140));
  EXPECT_EQ(Bar.PressedZone(), TZone::TrackBelow);
  EXPECT_EQ(Bar.Position(), -1300);
  Advance(600);
  EXPECT_EQ(Bar.Position(), -1200);
  Send(Move(500, 140));
  Advance(100);
  EXPECT_EQ(Bar.Position(), -1100);
  // Off the zone (clamped onto the top button): no more steps.
  Send(Move(kMiddleX, -50));
  Advance(800);
  EXPECT_EQ(Bar.Position(), -1100);
  // Back over the track below: steps resume until the handle reaches the
  // pointer at row 100 (at -500 the handle covers rows 90 to 106).
  Send(Move(kMiddleX, 100));
  Advance(100);
  EXPECT_EQ(Bar.Position(), -1000);
  Advance(2000);
  EXPECT_EQ(Bar.Position(), -500);
  Send(Up(kMiddleX, 100));
  EXPECT_EQ(Changes, 9);
}

TEST_F(GaugeBarTest, DraggingTheHandle) {
  Bar.SetPosition(-1400);
  Changes = 0;
  Send(Down(kMiddleX, 20));
  EXPECT_EQ(Bar.PressedZone(), TZone::Handle);
  EXPECT_EQ(Bar.Position(), -1400);
  // 10 * 1400 / 115 = 121.7 positions.
  Send(Move(kMiddleX, 30));
  EXPECT_EQ(Bar.Position(), -1278);
  Send(Move(kMiddleX, 5000));
  EXPECT_EQ(Bar.Position(), 0);
  Send(Move(kMiddleX, 20));
  EXPECT_EQ(Bar.Position(), -1400);
  Send(Up(kMiddleX, 20));
  Send(Move(kMiddleX, 80));
  EXPECT_EQ(Bar.Position(), -1400);
  EXPECT_EQ(Changes, 3);
}

TEST_F(GaugeBarTest, WheelStepsBySmallChangePerNotch) {
  const struct {
    int Delta, Change;
  } cases[] = {{120, 1}, {-120, -1}, {60, 0}, {-119, 0}, {240, 2}};
  for (const auto& c : cases) {
    Bar.SetPosition(-700);
    Send(Wheel(c.Delta));
    EXPECT_EQ(Bar.Position(), -700 + c.Change) << c.Delta;
  }
}

TEST_F(GaugeBarTest, OtherButtonsAreIgnored) {
  Bar.SetPosition(-700);
  Changes = 0;
  for (const auto button : {TInputEvent::mbRight, TInputEvent::mbMiddle}) {
    Send(Down(kMiddleX, kTopButtonY, button));
    Advance(1000);
    Send(Up(kMiddleX, kTopButtonY, button));
  }
  EXPECT_EQ(Bar.Position(), -700);
  EXPECT_EQ(Bar.PressedZone(), TZone::None);
  EXPECT_EQ(Changes, 0);
}

TEST_F(GaugeBarTest, OnChangeFiresForRealChangesOnly) {
  Bar.SetPosition(0);
  Changes = 0;
  // The value set, the position that results and the changes counted so far.
  const struct {
    int Set, Position, Changes;
  } steps[] = {{0, 0, 0},   {5, 0, 0},         {-5, -5, 1},
               {-5, -5, 1}, {-2000, -1400, 2}, {-1500, -1400, 2}};
  for (const auto& step : steps) {
    Bar.SetPosition(step.Set);
    EXPECT_EQ(Bar.Position(), step.Position) << step.Set;
    EXPECT_EQ(Changes, step.Changes) << step.Set;
  }
}

TEST_F(GaugeBarTest, HotZoneFollowsThePointerAndClearsAfterLeave) {
  Bar.SetPosition(-1400);
  Bar.TakeInvalid();
  Send(Move(kMiddleX, kTopButtonY));
  EXPECT_EQ(Bar.HotZone(), TZone::TopButton);
  EXPECT_TRUE(Bar.TakeInvalid());
  Send(Move(kMiddleX, kTopButtonY + 1));
  EXPECT_FALSE(Bar.TakeInvalid());
  Send(Move(kMiddleX, 20));
  EXPECT_EQ(Bar.HotZone(), TZone::Handle);
  Send(Leave());
  Advance(149, 1);
  EXPECT_EQ(Bar.HotZone(), TZone::Handle);
  Advance(1, 1);
  EXPECT_EQ(Bar.HotZone(), TZone::None);
  EXPECT_TRUE(Bar.TakeInvalid());
  // Coming back before the timer runs out keeps the new zone.
  Send(Move(kMiddleX, 100));
  Send(Leave());
  Advance(100);
  Send(Move(kMiddleX, 100));
  Advance(200);
  EXPECT_EQ(Bar.HotZone(), TZone::TrackBelow);
}

}  // namespace
