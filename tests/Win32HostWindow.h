#pragma once

#include <windows.h>

// A host's window for the Win32 editor tests: a plain top-level window of a
// class of the test program's own.
inline HWND CreateTestHostWindow(int width, int height, DWORD style = WS_OVERLAPPEDWINDOW) {
  static const wchar_t* const kClass = L"QuillotronTestHost";
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClass;
  RegisterClassW(&windowClass);  // fails harmlessly when already registered
  return CreateWindowExW(0, kClass, L"Host", style, 0, 0, width, height, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}
