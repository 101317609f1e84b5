#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "frame/EditorForm.h"
#include "platform/NativeWindow.h"
#include "widgets/Control.h"
#include "widgets/graphics/Canvas.h"
#include "widgets/graphics/PixelBuffer.h"

class TAudioChart;
class TFlatCheckBox;
class TGaugeBar;
class TImage32;
class TLabel;
class TQuillotronVSTModule;
class TTimeDomain;

// The effect's editor: eight bars for the harmonic levels, a phase box under
// each, a chart of the waveform the settings make from a sine and a hint
// line, on the background picture. Built from its stored description.
//
// Everything here runs on the editor's thread. The parameter handlers run on
// any thread and never touch the form: they mark what changed in the module,
// and Idle applies the marks here. Controls moved from the parameters move
// silently; only the user's own gestures set parameters and report them to
// the host.
class TVSTGUI final : public TEditorForm, public TNativeWindowClient {
 public:
  using TWindowFactory = std::function<std::unique_ptr<TNativeWindow>(
      void* parent, int width, int height, TNativeWindowClient& client)>;
  static constexpr int kLevelCount = 8;

  // The window comes from `windowFactory` when the frame embeds the form;
  // the controls' timers read `clock`. Tests pass their own of both.
  explicit TVSTGUI(const TClock& clock = TNativeWindow::SystemClock(),
                   TWindowFactory windowFactory = &TNativeWindow::Create);
  ~TVSTGUI() override;

  // The client size the stored description gives, without building a form.
  static void DeclaredClientSize(int& width, int& height);

  // The published fields, in the order the description declares them.
  TTimeDomain* TimeDomain = nullptr;
  TImage32* Background = nullptr;
  TAudioChart* AC = nullptr;
  std::array<TGaugeBar*, kLevelCount> Harm{};
  TLabel* LbGeneral = nullptr;
  std::array<TFlatCheckBox*, kLevelCount> CBPhase{};
  // The module that opened the editor; not owned.
  TQuillotronVSTModule* Module = nullptr;

  // Handlers the stored description binds by name.
  void FormShow(TObject* Sender);
  void HarmChange(TControl* Sender);
  void CBPhaseClick(TControl* Sender);
  void HarmMouseMove(TControl* Sender, TShiftState Shift, int X, int Y);
  void CBPhaseMouseMove(TControl* Sender, TShiftState Shift, int X, int Y);
  void BackgroundMouseMove(TControl* Sender, TShiftState Shift, int X, int Y, int Layer);

  // TEditorForm.
  bool SetParentWindow(void* parent) override;
  void Show() override;
  void SetBorderless() override {}
  void SetBounds(int left, int top, int width, int height) override;
  int Width() const override { return FClientWidth; }
  int Height() const override { return FClientHeight; }
  int ClientWidth() const override { return FClientWidth; }
  int ClientHeight() const override { return FClientHeight; }
  void Invalidate() override;
  void Idle() override;
  // The controls take no keys.
  void HandleKey(const TEditorKeyEvent&) override {}

  // TNativeWindowClient: pointer input in client coordinates.
  void HandleInput(const TInputEvent& event) override;
  void HandleExpose(int left, int top, int width, int height) override;
  // Windows whose messages arrive without the host's idle call tick here.
  void HandleTimer() override { Idle(); }

  // Sets the controls from the stored parameter values that changed since
  // the last call (all of them the first time), silently, and regenerates
  // the waveform when anything changed.
  void ApplyParameterChanges();
  // Advances the controls' timers and paints what needs it into Pixels();
  // answers the rectangle painted (empty when nothing was).
  TRect Repaint();
  const TPixelBuffer& Pixels() const { return FPixels; }

 private:
  friend class TVSTGUIBuilder;
  TControl* ControlAt(int x, int y) const;
  // Makes `control` the active control.
  void Focus(TControl* control);
  void Deliver(TControl* control, TInputEvent event);

  const TClock& FClock;
  TWindowFactory FWindowFactory;
  std::unique_ptr<TNativeWindow> FWindow;
  int FClientWidth = 0;
  int FClientHeight = 0;
  // Bottom to top: the background first.
  std::vector<std::unique_ptr<TControl>> FControls;
  std::unique_ptr<TTimeDomain> FTimeDomain;
  std::function<void(TObject*)> FOnShow;
  TControl* FActiveControl = nullptr;
  TControl* FHover = nullptr;
  TControl* FCapture = nullptr;
  TPixelBuffer FPixels;
  TCanvas FCanvas;
  TRect FInvalid;
  TRect FExposed;
  // True while the controls follow the parameters: their change events
  // then set nothing and report nothing.
  bool FApplyingParameters = false;
  bool FAllParametersPending = true;
};
