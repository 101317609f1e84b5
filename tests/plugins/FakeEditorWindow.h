#pragma once

#include <windows.h>

#include <memory>

#include "frame/EditorKeyEvent.h"
#include "tests/plugins/TraceLog.h"

// The fake form's real window on Windows, a child of the host's window: the
// form sends it each forwarded key as the window message a control would
// receive, and the window logs what arrives ("Form.Msg:message,wParam,lParam").
class TFakeEditorWindow {
 public:
  // nullptr when `parent` is no window.
  static std::unique_ptr<TFakeEditorWindow> Create(void* parent, TCustomVSTModule& module,
                                                   TTraceLog& log);
  ~TFakeEditorWindow();

  void Send(const TEditorKeyEvent& key);

 private:
  TFakeEditorWindow(TCustomVSTModule& module, TTraceLog& log) : Module(module), Log(log) {}
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  TCustomVSTModule& Module;
  TTraceLog& Log;
  HWND Window = nullptr;
};
