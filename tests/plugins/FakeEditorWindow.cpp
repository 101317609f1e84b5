#include "tests/plugins/FakeEditorWindow.h"

#include <cstdio>

#include "platform/win32/Win32KeyMessage.h"

namespace {

constexpr const wchar_t* kClassName = L"QuillotronFakeEditor";

}  // namespace

std::unique_ptr<TFakeEditorWindow> TFakeEditorWindow::Create(void* parent, TCustomVSTModule& module,
                                                             TTraceLog& log) {
  HWND parentWindow = static_cast<HWND>(parent);
  if (parent == nullptr || !IsWindow(parentWindow)) return nullptr;
  HINSTANCE instance = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&TFakeEditorWindow::WindowProcedure), &instance);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  RegisterClassW(&windowClass);  // fails harmlessly when already registered
  std::unique_ptr<TFakeEditorWindow> window(new TFakeEditorWindow(module, log));
  window->Window = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100,
                                   parentWindow, nullptr, instance, window.get());
  if (window->Window == nullptr) return nullptr;
  return window;
}

TFakeEditorWindow::~TFakeEditorWindow() {
  if (IsWindow(Window)) DestroyWindow(Window);
}

void TFakeEditorWindow::Send(const TEditorKeyEvent& key) {
  const TWin32KeyMessage message = ToWin32KeyMessage(key);
  SendMessageW(Window, message.Message, message.WParam, message.LParam);
}

LRESULT CALLBACK TFakeEditorWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                    LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TFakeEditorWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      if (self != nullptr) {
        char entry[96];
        std::snprintf(entry, sizeof entry, "Form.Msg:%u,%llu,%lld", message,
                      static_cast<unsigned long long>(wParam), static_cast<long long>(lParam));
        self->Log.Add(self->Module, entry);
      }
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
