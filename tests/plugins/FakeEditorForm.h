#pragma once

#include "frame/EditorForm.h"
#include "tests/plugins/TraceLog.h"

// An editor form without a window: it logs what the frame asks of it.
class TFakeEditorForm : public TEditorForm {
 public:
  static constexpr int kWidth = 443;
  static constexpr int kHeight = 314;

  TFakeEditorForm(TCustomVSTModule& module, TTraceLog& log) : Module(module), Log(log) {}
  ~TFakeEditorForm() override;

  void SetParentWindow(void* parent) override;
  void Show() override;
  void SetBorderless() override;
  void SetBounds(int left, int top, int width, int height) override;
  int Width() const override { return kWidth; }
  int Height() const override { return kHeight; }
  int ClientWidth() const override { return kWidth; }
  int ClientHeight() const override { return kHeight; }
  void Invalidate() override;
  void SendKeyMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

 private:
  TCustomVSTModule& Module;
  TTraceLog& Log;
};
