#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "editor/OffscreenWindow.h"
#include "editor/QuillotronGUI.h"
#include "effect/QuillotronModule.h"
#include "widgets/FlatCheckBox.h"
#include "widgets/GaugeBar.h"
#include "widgets/Label.h"
#include "widgets/TimeDomain.h"

// The editor form on an effect module built in this process, drawn offscreen
// and driven through injected pointer events and an injected clock.
namespace {

using TKind = TInputEvent::TKind;

constexpr int kBarLeft = 15;
constexpr int kBarTop = 10;
constexpr int kBarSpacing = 32;
constexpr int kBarCentre = 8;
constexpr int kBoxLeft = 17;
constexpr int kBoxTop = 175;
constexpr double kStep = 0.01227184630308513;
constexpr TColor kFrameGrey = ColorFromRGB(0xA2A3A8);

class TManualClock final : public TClock {
 public:
  std::int64_t NowMilliseconds() const override { return Now; }
  std::int64_t Now = 1000;
};

// Host calls the module makes, by opcode.
std::vector<VstInt32> gHostCalls;
std::vector<float> gAutomatedValues;

VstIntPtr VSTCALLBACK RecordingHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                                    float opt) {
  gHostCalls.push_back(opcode);
  if (opcode == audioMasterAutomate) gAutomatedValues.push_back(opt);
  return opcode == audioMasterVersion ? 2400 : 0;
}

class EditorForm : public ::testing::Test {
 protected:
  void SetUp() override {
    Module.Construct(TQuillotronVSTModule::Class);
    Module.SetHostCallback(&RecordingHost);
    Module.OnEditOpen = [this](TObject*, std::unique_ptr<TEditorForm>& gui) {
      auto form = std::make_unique<TVSTGUI>(Clock, &TOffscreenWindow::Create);
      form->Module = &Module;
      gui = std::move(form);
    };
  }
  void TearDown() override {
    Module.Dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    Module.BeforeDestruction();
  }

  TVSTGUI& Open() {
    EXPECT_EQ(Module.Dispatcher(effEditOpen, 0, 0, &Parent, 0.0f), 1);
    Idle();
    ClearReports();
    return *static_cast<TVSTGUI*>(Module.EditorForm());
  }
  TVSTGUI& Gui() { return *static_cast<TVSTGUI*>(Module.EditorForm()); }
  void Idle() { Module.Dispatcher(effEditIdle, 0, 0, nullptr, 0.0f); }
  void ClearReports() {
    gHostCalls.clear();
    gAutomatedValues.clear();
  }
  int Reports() const {
    return static_cast<int>(std::count(gHostCalls.begin(), gHostCalls.end(), audioMasterAutomate));
  }
  void Input(TKind kind, int x, int y, int wheel = 0) {
    TInputEvent event;
    event.Kind = kind;
    event.X = x;
    event.Y = y;
    event.WheelDelta = wheel;
    if (kind == TKind::ButtonDown || kind == TKind::ButtonUp) event.Button = TInputEvent::mbLeft;
    Gui().HandleInput(event);
  }
  void Click(int x, int y) {
    Input(TKind::ButtonDown, x, y);
    Input(TKind::ButtonUp, x, y);
  }
  void Wait(int milliseconds) {
    Clock.Now += milliseconds;
    Idle();
  }
  static int BarX(int k) { return kBarLeft + kBarSpacing * k + kBarCentre; }
  // Form row of a bar's handle top edge.
  int HandleRow(int k) { return kBarTop + Gui().Harm[k]->HandleTop(); }
  std::string Hint() { return Gui().LbGeneral->Text(); }

  TManualClock Clock;
  TQuillotronVSTModule Module;
  int Parent = 1;
};

// Sample i is P(sin((i + 1) step)) by the rotation the display uses.
std::vector<double> DisplayPhases() {
  std::vector<double> x(512);
  double s = 0.0, c = -1.0;
  for (double& value : x) {
    const double ns = std::cos(kStep) * s - std::sin(kStep) * c;
    c = std::sin(kStep) * s + std::cos(kStep) * c;
    s = ns;
    value = s;
  }
  return x;
}

TEST_F(EditorForm, WaveformIsOnePeriodOfTheShapedSine) {
  struct TCase {
    const char* Name;
    // The harmonic at 0 dB, the others off; -1 for all off.
    int Harmonic;
    float (*Expected)(double x);
  };
  const TCase cases[] = {
      {"Fundamental", 0, [](double x) { return static_cast<float>(x); }},
      {"second harmonic alone", 1, [](double x) { return static_cast<float>(1.0 - 2.0 * x * x); }},
      {"all off", -1, [](double) { return 0.0f; }},
  };
  const std::vector<double> x = DisplayPhases();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    for (int k = 0; k < 8; ++k)
      Module.SetParameterValue(k, k == c.Harmonic ? 0.0f : -140.0f);
    TVSTGUI& gui = Open();
    const float* samples = gui.TimeDomain->Channel(0).Data();
    ASSERT_EQ(gui.TimeDomain->MaximumTime(), 512);
    for (int i = 0; i < 512; ++i)
      ASSERT_EQ(samples[i], c.Expected(x[i])) << "sample " << i;
    Module.Dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
  }
}

TEST_F(EditorForm, ControlsShowTheCurrentProgramWhenOpened) {
  Module.Dispatcher(effSetProgram, 0, 1, nullptr, 0.0f);
  Module.SetParameterValue(11, 1.0f);
  Module.SetParameterValue(3, -140.0f);
  TVSTGUI& gui = Open();
  for (int k = 0; k < 8; ++k) {
    const float level = Module.GetParameterValue(k);
    EXPECT_EQ(gui.Harm[k]->Position(), static_cast<int>(std::nearbyint(level * -10.0 - 1400))) << k;
    EXPECT_EQ(gui.CBPhase[k]->Checked(), std::nearbyint(Module.GetParameterValue(8 + k)) != 0.0)
        << k;
  }
  // Drawn: the handle outline of a bar at the top (0 dB) lies 115 rows
  // above that of a bar at the bottom (-140 dB).
  EXPECT_EQ(HandleRow(0), kBarTop + 16);
  EXPECT_EQ(HandleRow(3), kBarTop + 16 + 115);
  EXPECT_EQ(gui.Pixels().Row(HandleRow(0))[BarX(0)], kFrameGrey);
  EXPECT_EQ(gui.Pixels().Row(HandleRow(3))[BarX(3)], kFrameGrey);
  EXPECT_TRUE(gui.CBPhase[3]->Checked());
  EXPECT_EQ(Reports(), 0);
}

TEST_F(EditorForm, ParameterChangesMoveControlsSilently) {
  TVSTGUI& gui = Open();
  // A program change, text entry and host automation: the controls follow
  // at the next idle call and the host hears nothing back.
  Module.Dispatcher(effSetProgram, 0, 2, nullptr, 0.0f);
  char text[] = "-30";
  Module.Dispatcher(effString2Parameter, 5, 0, text, 0.0f);
  Module.HostSetParameter(12, 1.0f);
  Module.HostSetParameter(0, 1.0f);  // +1 dB: the bar stays at its top
  ClearReports();
  Idle();
  EXPECT_EQ(Reports(), 0);
  EXPECT_EQ(gui.Harm[5]->Position(), -1100);
  EXPECT_TRUE(gui.CBPhase[4]->Checked());
  EXPECT_EQ(gui.Harm[0]->Position(), -1400);
  EXPECT_EQ(Module.GetParameterValue(0), 1.0f);
  Input(TKind::PointerMove, BarX(0), 100);
  EXPECT_EQ(Hint(), "Fundamental Gain: 1dB");
}

TEST_F(EditorForm, EveryUserGestureReportsEachChangeOnce) {
  TVSTGUI& gui = Open();
  // A drag of the handle of bar 1 (at the bottom) upwards by ten pixels.
  const int handle = HandleRow(1) + 8;
  Input(TKind::ButtonDown, BarX(1), handle);
  int moves = 0;
  for (int dy = 1; dy <= 10; ++dy) {
    const int before = gui.Harm[1]->Position();
    Input(TKind::PointerMove, BarX(1), handle - dy);
    moves += gui.Harm[1]->Position() != before;
  }
  Input(TKind::ButtonUp, BarX(1), handle - 10);
  EXPECT_EQ(gui.Harm[1]->Position(), -static_cast<int>(std::nearbyint(10 * 1400.0 / 115)));
  EXPECT_EQ(Reports(), moves);
  EXPECT_EQ(gAutomatedValues.back(), Module.ParameterToNormalized(1, Module.GetParameterValue(1)));

  // The top arrow of bar 2, held: one step at once, one at 600 ms, one
  // every 100 ms after that.
  ClearReports();
  Input(TKind::ButtonDown, BarX(2), kBarTop + 4);
  Wait(599);
  EXPECT_EQ(Reports(), 1);
  Wait(1);
  Wait(100);
  EXPECT_EQ(Reports(), 3);
  Input(TKind::ButtonUp, BarX(2), kBarTop + 4);
  Wait(500);
  EXPECT_EQ(Reports(), 3);
  EXPECT_EQ(gui.Harm[2]->Position(), -3);
  EXPECT_EQ(Module.GetParameterValue(2), static_cast<float>(1397 * -0.1));

  // One wheel notch forward on bar 0 (at its top) and a click on box 3.
  ClearReports();
  Input(TKind::Wheel, BarX(0), 80, 120);
  Click(kBoxLeft + 2 * kBarSpacing + 7, kBoxTop + 8);
  EXPECT_EQ(Reports(), 2);
  EXPECT_EQ(gui.Harm[0]->Position(), -1399);
  EXPECT_EQ(Module.GetParameterValue(0), -0.1f);
  EXPECT_EQ(Module.GetParameterValue(10), 1.0f);
}

TEST_F(EditorForm, DraggingToTheBottomTurnsTheHarmonicOff) {
  TVSTGUI& gui = Open();
  const int handle = HandleRow(0) + 8;
  Input(TKind::ButtonDown, BarX(0), handle);
  Input(TKind::PointerMove, BarX(0), handle + 400);
  Input(TKind::ButtonUp, BarX(0), handle + 400);
  EXPECT_EQ(gui.Harm[0]->Position(), 0);
  EXPECT_EQ(Module.GetParameterValue(0), -140.0f);
  EXPECT_EQ(TShapingPolynomial::LevelToGain(Module.GetParameterValue(0), 1.0), 0.0);
  Input(TKind::PointerMove, BarX(0), 100);
  EXPECT_EQ(Hint(), "Fundamental Gain: -140dB");
}

TEST_F(EditorForm, HintLineNamesTheControlUnderThePointer) {
  Module.SetParameterValue(3, -28.0f);
  Module.SetParameterValue(10, 1.0f);
  Open();
  struct TCase {
    int X, Y;
    const char* Hint;
  };
  const TCase cases[] = {
      {BarX(3), 100, "Harmonic 3 Gain: -28dB"},
      {BarX(0), 100, "Fundamental Gain: 0dB"},
      {kBoxLeft + 2 * kBarSpacing + 7, kBoxTop + 8, "Harmonic 2 Phase  inv."},
      {kBoxLeft + 7, kBoxTop + 8, "Fundamental Phase  norm."},
      // The chart keeps the text, the bare background clears it.
      {100, 250, "Fundamental Phase  norm."},
      {300, 100, ""},
  };
  for (const TCase& c : cases) {
    Input(TKind::PointerMove, c.X, c.Y);
    EXPECT_EQ(Hint(), c.Hint) << c.X << ", " << c.Y;
  }
}

TEST_F(EditorForm, PhaseBoxesDrawTheirState) {
  Module.SetParameterValue(10, 1.0f);
  TVSTGUI& gui = Open();
  // Inside box 3 (checked) some pixel differs from the same pixel of box 4.
  int differing = 0;
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 15; ++x)
      differing += gui.Pixels().Row(kBoxTop + y)[kBoxLeft + 2 * kBarSpacing + x] !=
                   gui.Pixels().Row(kBoxTop + y)[kBoxLeft + 3 * kBarSpacing + x];
  EXPECT_GT(differing, 8);
}

}  // namespace
