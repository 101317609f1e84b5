#pragma once

#include <memory>

#include "frame/EditorForm.h"
#include "tests/plugins/TraceLog.h"

class TFakeEditorWindow;

// An editor form that logs what the frame asks of it. It draws nothing; on
// Windows, given a real parent window, it makes a child window that receives
// the keys the frame forwards as window messages.
class TFakeEditorForm : public TEditorForm {
 public:
  static constexpr int kWidth = 443;
  static constexpr int kHeight = 314;

  // `canEmbed` false: the form finds no window to embed in.
  TFakeEditorForm(TCustomVSTModule& module, TTraceLog& log, bool canEmbed = true);
  ~TFakeEditorForm() override;

  bool SetParentWindow(void* parent) override;
  void Show() override;
  void SetBorderless() override;
  void SetBounds(int left, int top, int width, int height) override;
  int Width() const override { return kWidth; }
  int Height() const override { return kHeight; }
  int ClientWidth() const override { return kWidth; }
  int ClientHeight() const override { return kHeight; }
  void Invalidate() override;
  void Idle() override;
  void HandleKey(const TEditorKeyEvent& key) override;

 private:
  TCustomVSTModule& Module;
  TTraceLog& Log;
  bool CanEmbed;
  std::unique_ptr<TFakeEditorWindow> Window;
};
