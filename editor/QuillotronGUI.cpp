#include "editor/QuillotronGUI.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "editor/QuillotronGUIBuilder.h"
#include "effect/Harmonics.h"
#include "effect/QuillotronModule.h"
#include "widgets/AudioChart.h"
#include "widgets/FlatCheckBox.h"
#include "widgets/GaugeBar.h"
#include "widgets/Image32.h"
#include "widgets/Label.h"
#include "widgets/TimeDomain.h"

namespace {

// One bar step is a tenth of a decibel; the top of a bar (its minimum) is
// 0 dB and its bottom (its maximum) -140 dB.
constexpr int kBarTop = -1400;
constexpr int kBarBottom = 0;
constexpr double kStepsPerDecibel = -10.0;
constexpr double kDecibelsPerStep = -0.1;
constexpr float kPhaseInverted = 1.0f;
constexpr float kPhaseNormal = 0.0f;
constexpr std::uint32_t kAllParameters = (1u << (2 * kHarmonicCount)) - 1;

// The bar position that shows a level: the level in tenths of a decibel
// below the top, rounded half to even and clamped in double, so that a
// level far beyond the range still lands on an end (and NaN, which is no
// level at all, at the bottom).
int BarPosition(float level) {
  const double position = std::nearbyint(static_cast<double>(level) * kStepsPerDecibel + kBarTop);
  if (std::isnan(position)) return kBarBottom;
  return static_cast<int>(std::clamp(position, double{kBarTop}, double{kBarBottom}));
}

// A phase switch shows as checked when its value rounds to anything but 0.
bool PhaseChecked(float phase) {
  return std::nearbyint(static_cast<double>(phase)) != 0.0;
}

// A level as the hint line shows it: rounded half to even, no fraction, a
// minus sign only before a number below zero.
std::string WholeDecibels(float level) {
  char text[64];
  std::snprintf(text, sizeof text, "%.0f", std::nearbyint(static_cast<double>(level)) + 0.0);
  return text;
}

std::string HarmonicWord(int tag) {
  return tag == 0 ? "Fundamental" : "Harmonic " + std::to_string(tag);
}

}  // namespace

TVSTGUI::TVSTGUI(const TClock& clock, TWindowFactory windowFactory)
    : FClock(clock),
      FWindowFactory(std::move(windowFactory)),
      FPixels(TVSTGUIBuilder::ClientWidth(), TVSTGUIBuilder::ClientHeight()),
      FCanvas(FPixels) {
  TVSTGUIBuilder::Build(*this);
  for (auto& control : FControls)
    control->SetClock(&FClock);
  Focus(FActiveControl);
  Invalidate();
}

// The window goes first, so nothing it delivers can reach a control being
// destroyed. Nothing here calls into the module.
TVSTGUI::~TVSTGUI() {
  FWindow.reset();
}

void TVSTGUI::DeclaredClientSize(int& width, int& height) {
  width = TVSTGUIBuilder::ClientWidth();
  height = TVSTGUIBuilder::ClientHeight();
}

void TVSTGUI::FormShow(TObject*) {
  if (Module != nullptr) Module->UpdateWaveform();
}

void TVSTGUI::HarmChange(TControl* Sender) {
  if (FApplyingParameters || Module == nullptr) return;
  auto* bar = static_cast<TGaugeBar*>(Sender);
  const int steps = bar->Position() - kBarTop;
  const float level = static_cast<float>(steps * kDecibelsPerStep);
  Module->SetParameterValueAutomated(bar->Tag, level);
}

void TVSTGUI::CBPhaseClick(TControl* Sender) {
  if (FApplyingParameters || Module == nullptr) return;
  auto* box = static_cast<TFlatCheckBox*>(Sender);
  Module->SetParameterValueAutomated(kFirstPhaseParameter + box->Tag,
                                     box->Checked() ? kPhaseInverted : kPhaseNormal);
}

void TVSTGUI::HarmMouseMove(TControl* Sender, TShiftState, int, int) {
  if (Module == nullptr) return;
  const int tag = Sender->Tag;
  const std::string gain = WholeDecibels(Module->GetParameterValue(tag));
  LbGeneral->SetText(HarmonicWord(tag) + " Gain: " + gain + "dB");
}

void TVSTGUI::CBPhaseMouseMove(TControl* Sender, TShiftState, int, int) {
  auto* box = static_cast<TFlatCheckBox*>(Sender);
  // The two words are joined with a space each side: two spaces before the
  // state.
  LbGeneral->SetText(HarmonicWord(box->Tag) + " Phase " + (box->Checked() ? " inv." : " norm."));
}

void TVSTGUI::BackgroundMouseMove(TControl*, TShiftState, int, int, int) {
  LbGeneral->SetText("");
}

bool TVSTGUI::SetParentWindow(void* parent) {
  FWindow.reset();
  FWindow = FWindowFactory(parent, FClientWidth, FClientHeight, *this);
  if (!FWindow) return false;
  Invalidate();
  return true;
}

void TVSTGUI::Show() {
  ApplyParameterChanges();
  if (FOnShow) FOnShow(this);
}

void TVSTGUI::SetBounds(int, int, int, int) {
  // The editor has one size; the child window is made at it.
}

void TVSTGUI::Invalidate() {
  FInvalid = {0, 0, FClientWidth, FClientHeight};
}

void TVSTGUI::Idle() {
  if (FWindow) FWindow->PumpEvents();
  ApplyParameterChanges();
  const TRect painted = Repaint().Union(FExposed);
  FExposed = {};
  if (FWindow && !painted.Empty())
    FWindow->Present(FPixels.Data(), FPixels.Width(), painted.Left, painted.Top, painted.Width,
                     painted.Height);
}

void TVSTGUI::ApplyParameterChanges() {
  if (Module == nullptr) return;
  std::uint32_t changed = Module->TakeEditorChanges();
  if (FAllParametersPending) changed = kAllParameters;
  FAllParametersPending = false;
  if (changed == 0) return;
  FApplyingParameters = true;
  for (int k = 0; k < kHarmonicCount; ++k) {
    if ((changed & (1u << k)) != 0) Harm[k]->SetPosition(BarPosition(Module->GetParameterValue(k)));
    const int phase = kFirstPhaseParameter + k;
    if ((changed & (1u << phase)) != 0)
      CBPhase[k]->SetChecked(PhaseChecked(Module->GetParameterValue(phase)));
  }
  FApplyingParameters = false;
  Module->UpdateWaveform();
}

TRect TVSTGUI::Repaint() {
  for (auto& control : FControls)
    control->Tick();
  TRect dirty = FInvalid;
  FInvalid = {};
  for (auto& control : FControls)
    if (control->TakeInvalid()) dirty = dirty.Union(control->Bounds);
  dirty = dirty.Intersect({0, 0, FClientWidth, FClientHeight});
  if (dirty.Empty()) return {};
  for (auto& control : FControls) {
    if (!control->Visible) continue;
    const TRect area = dirty.Intersect(control->Bounds);
    if (area.Empty()) continue;
    FCanvas.SetClip(area);
    control->Paint(FCanvas);
  }
  return dirty;
}

void TVSTGUI::HandleExpose(int left, int top, int width, int height) {
  FExposed = FExposed.Union({left, top, width, height});
}

void TVSTGUI::Focus(TControl* control) {
  // The focused box shows its focus colour.
  if (auto* box = dynamic_cast<TFlatCheckBox*>(FActiveControl)) box->SetFocused(false);
  FActiveControl = control;
  if (auto* box = dynamic_cast<TFlatCheckBox*>(FActiveControl)) box->SetFocused(true);
}

TControl* TVSTGUI::ControlAt(int x, int y) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if ((*it)->Visible && (*it)->Bounds.Contains(x, y)) return it->get();
  return nullptr;
}

void TVSTGUI::Deliver(TControl* control, TInputEvent event) {
  if (control == nullptr) return;
  event.X -= control->Bounds.Left;
  event.Y -= control->Bounds.Top;
  control->HandleInput(event);
}

void TVSTGUI::HandleInput(const TInputEvent& event) {
  using TKind = TInputEvent::TKind;
  switch (event.Kind) {
    case TKind::PointerMove:
    case TKind::Wheel: {
      TControl* under = FCapture != nullptr ? FCapture : ControlAt(event.X, event.Y);
      if (FCapture == nullptr && under != FHover) {
        if (FHover != nullptr) Deliver(FHover, {TKind::Leave, event.X, event.Y});
        FHover = under;
      }
      Deliver(under, event);
      break;
    }
    case TKind::ButtonDown:
      if (FCapture == nullptr) {
        FCapture = ControlAt(event.X, event.Y);
        // A click on a box gives it the focus, as a press on a control
        // that takes keys would.
        if (dynamic_cast<TFlatCheckBox*>(FCapture) != nullptr) Focus(FCapture);
      }
      Deliver(FCapture, event);
      break;
    case TKind::ButtonUp: {
      TControl* captured = FCapture;
      FCapture = nullptr;
      Deliver(captured, event);
      break;
    }
    case TKind::Leave:
      if (FCapture == nullptr && FHover != nullptr) {
        Deliver(FHover, event);
        FHover = nullptr;
      }
      break;
  }
}
