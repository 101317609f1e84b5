#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/effect/EffectFixture.h"
#include "tests/platform/X11WindowTestSupport.h"
#include "tools/screenshot/EditorSnapshot.h"

// The plug-in binary's editor in a host's X11 window, driven through the
// dispatcher and XTest as a host and a user would.
namespace {

constexpr int kEditorWidth = 443;
constexpr int kEditorHeight = 314;
constexpr int kParentWidth = 500;
constexpr int kParentHeight = 360;
constexpr int kProgram = 1;
constexpr std::uint32_t kColour = 0x00FFFFFF;

int HostErrors = 0;
int CountHostError(Display*, XErrorEvent*) {
  ++HostErrors;
  return 0;
}

std::vector<std::uint32_t> Colours(const TPixelBuffer& pixels) {
  std::vector<std::uint32_t> colours;
  for (int y = 0; y < pixels.Height(); ++y) {
    for (int x = 0; x < pixels.Width(); ++x)
      colours.push_back(pixels.Row(y)[x] & kColour);
  }
  return colours;
}

class TEditorX11Test : public TX11WindowTest {
 protected:
  void SetUp() override {
    TX11WindowTest::SetUp();
    if (HasFatalFailure()) return;
    Plugin = std::make_unique<TEffectFixture>();
    Plugin->SelectProgram(kProgram);
    Parent = Host->CreateParent(kParentWidth, kParentHeight);
    // The pointer away from the editor: nothing is highlighted.
    Host->MovePointer(Parent, kParentWidth + 100, kParentHeight + 100);
  }

  TEffect& Effect() { return *Plugin->Effect; }
  VstIntPtr Open() { return Effect().Dispatch(effEditOpen, 0, 0, AsParent(Parent)); }
  void Idle() { Effect().Dispatch(effEditIdle); }
  void Close() { Effect().Dispatch(effEditClose); }

  TX11TestHost::TWindowId Editor() {
    const std::vector<TX11TestHost::TWindowId> children = Host->ChildrenOf(Parent);
    return children.size() == 1 ? children.front() : 0;
  }

  // Idles until the editor shows `expected`; what it shows then.
  std::vector<std::uint32_t> IdleUntilShown(const std::vector<std::uint32_t>& expected) {
    std::vector<std::uint32_t> shown;
    TX11TestHost::WaitUntil([&] {
      Idle();
      shown = Colours(Host->ReadPixels(Editor()));
      return shown == expected;
    });
    return shown;
  }

  std::unique_ptr<TEffectFixture> Plugin;
  TX11TestHost::TWindowId Parent = 0;
};

TEST_F(TEditorX11Test, OpensAtItsDeclaredSizeAndShowsTheOffscreenPicture) {
  for (const bool open : {false, true}) {
    if (open) {
      ASSERT_EQ(Open(), 1);
    }
    ERect* rect = nullptr;
    EXPECT_EQ(Effect().Dispatch(effEditGetRect, 0, 0, &rect), 1) << "open " << open;
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, kEditorHeight);
    EXPECT_EQ(rect->right, kEditorWidth);
  }
  const auto editor = Editor();
  ASSERT_NE(editor, 0u);
  const TPixelBuffer first = Host->ReadPixels(editor);
  EXPECT_EQ(first.Width(), kEditorWidth);
  EXPECT_EQ(first.Height(), kEditorHeight);

  const std::vector<std::uint32_t> expected = Colours(RenderEditorSnapshot(kProgram));
  const std::vector<std::uint32_t> shown = IdleUntilShown(expected);
  int differing = 0;
  for (std::size_t i = 0; i < expected.size() && i < shown.size(); ++i)
    differing += shown[i] != expected[i];
  EXPECT_EQ(shown.size(), expected.size());
  EXPECT_EQ(differing, 0) << "pixels differ from the offscreen picture";

  Close();
  EXPECT_TRUE(Host->ChildrenOf(Parent).empty());
}

TEST_F(TEditorX11Test, DraggingABarReportsEveryStepToTheHost) {
  // Bar 2 at 0 dB holds its handle at the top of its track: the bar's left
  // edge at 79, its top at 10, a 16-pixel arrow button, a 17-pixel handle.
  constexpr int kHarmonic = 2;
  constexpr int kHandleX = 79 + 8;
  constexpr int kHandleY = 10 + 16 + 8;
  constexpr int kDragPixels = 10;
  Plugin->SetLevel(kHarmonic, 0.0f);
  ASSERT_EQ(Open(), 1);
  const auto editor = Editor();
  ASSERT_NE(editor, 0u);
  for (int i = 0; i < 5; ++i)
    Idle();
  Plugin->Host.ClearCalls();

  auto automations = [&] { return Plugin->Host.CallsWithOpcode(audioMasterAutomate); };
  Host->MovePointer(editor, kHandleX, kHandleY);
  Host->PressButton(TX11TestHost::kLeftButton);
  for (int i = 0; i < 20; ++i)
    Idle();
  EXPECT_TRUE(automations().empty()) << "a press on the handle moves nothing";

  for (int step = 1; step <= kDragPixels; ++step) {
    Host->MovePointer(editor, kHandleX, kHandleY + step);
    EXPECT_TRUE(TX11TestHost::WaitUntil([&] {
      Idle();
      return automations().size() >= static_cast<std::size_t>(step);
    })) << "step "
        << step;
  }
  Host->ReleaseButton(TX11TestHost::kLeftButton);
  for (int i = 0; i < 20; ++i)
    Idle();

  const std::vector<THostCall> reports = automations();
  ASSERT_EQ(reports.size(), static_cast<std::size_t>(kDragPixels));
  for (std::size_t i = 0; i < reports.size(); ++i) {
    EXPECT_EQ(reports[i].Index, kHarmonic);
    // Every step moves the level the same way, down from 0 dB.
    if (i > 0) {
      EXPECT_LT(reports[i].Opt, reports[i - 1].Opt) << "report " << i;
    }
  }
  EXPECT_EQ(reports.back().Opt, Effect().GetParameter(kHarmonic));
  Close();
}

TEST_F(TEditorX11Test, OpensAndClosesRepeatedlyWithoutLeaking) {
  constexpr int kCycles = 200;
  ASSERT_EQ(Open(), 1);
  Idle();
  Close();
  const int descriptors = OpenDescriptorCount();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kCycles; ++i) {
    ASSERT_EQ(Open(), 1) << "cycle " << i;
    ASSERT_NE(Editor(), 0u) << "cycle " << i;
    Idle();
    Close();
    ASSERT_TRUE(Host->ChildrenOf(Parent).empty()) << "cycle " << i;
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(OpenDescriptorCount(), descriptors);
  RecordProperty(
      "MillisecondsPerCycle",
      std::to_string(std::chrono::duration<double, std::milli>(elapsed).count() / kCycles));
}

TEST_F(TEditorX11Test, FollowsParametersSetWhileAnotherThreadProcesses) {
  constexpr int kParameters = 16;
  constexpr auto kRunTime = std::chrono::milliseconds(400);
  constexpr std::size_t kBlock = 512;
  ASSERT_EQ(Open(), 1);
  ASSERT_NE(Editor(), 0u);

  std::atomic<bool> stop{false};
  std::thread audio([&] {
    TChannelBuffers<float> in(2, kBlock, 0.25f), out(2, kBlock);
    while (!stop.load())
      Effect().ProcessReplacing(in, out);
  });
  std::thread automation([&] {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    while (!stop.load())
      Effect().SetParameter(random() % kParameters, value(random));
  });
  const auto end = std::chrono::steady_clock::now() + kRunTime;
  while (std::chrono::steady_clock::now() < end)
    Idle();
  stop.store(true);
  audio.join();
  automation.join();

  // The editor that followed the changes shows what a fresh one shows.
  for (int i = 0; i < 5; ++i)
    Idle();
  const std::vector<std::uint32_t> followed = Colours(Host->ReadPixels(Editor()));
  Close();
  ASSERT_EQ(Open(), 1);
  EXPECT_TRUE(IdleUntilShown(followed) == followed);
  Close();
}

TEST_F(TEditorX11Test, SurvivesItsParentAndTheEffectClosingUnderIt) {
  const XErrorHandler previous = XSetErrorHandler(CountHostError);
  HostErrors = 0;
  const int descriptors = OpenDescriptorCount();

  ASSERT_EQ(Open(), 1);
  Idle();
  Host->DestroyWindow(Parent);
  for (int i = 0; i < 5; ++i)
    Idle();
  Close();

  // effClose with the editor open closes the editor too.
  Parent = Host->CreateParent(kParentWidth, kParentHeight);
  ASSERT_EQ(Open(), 1);
  Idle();
  ASSERT_NE(Editor(), 0u);
  Effect().Close();
  EXPECT_TRUE(Host->ChildrenOf(Parent).empty());

  EXPECT_EQ(XSetErrorHandler(previous), CountHostError);
  EXPECT_EQ(HostErrors, 0);
  EXPECT_EQ(OpenDescriptorCount(), descriptors);
}

}  // namespace
