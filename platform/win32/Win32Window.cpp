#include "platform/win32/Win32Window.h"

#include <windowsx.h>

#include <cstdio>

#include "widgets/Clock.h"

namespace {

// Ticks of the controls' timers: as often as the hosts that idle most.
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerMilliseconds = 40;

// The module this code lives in: the window class belongs to it.
HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

// The class name carries the module's address, so a copy of the DLL loaded
// elsewhere never finds a class whose procedure is another copy's; the class
// goes with the last window, before the DLL can be unloaded.
int gWindowCount = 0;

void ClassName(wchar_t (&name)[64]) {
  std::swprintf(name, 64, L"QuillotronEditor%p", static_cast<void*>(ThisModule()));
}

TShiftState ShiftFrom(WPARAM keys) {
  TShiftState shift = 0;
  if ((keys & MK_SHIFT) != 0) shift |= ssShift;
  if ((keys & MK_CONTROL) != 0) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  if ((keys & MK_LBUTTON) != 0) shift |= ssLeft;
  if ((keys & MK_RBUTTON) != 0) shift |= ssRight;
  if ((keys & MK_MBUTTON) != 0) shift |= ssMiddle;
  return shift;
}

// The button a button message is about.
TInputEvent::TButton ButtonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return TInputEvent::mbLeft;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return TInputEvent::mbMiddle;
    default:
      return TInputEvent::mbRight;
  }
}

class TWin32Clock final : public TClock {
 public:
  std::int64_t NowMilliseconds() const override {
    return static_cast<std::int64_t>(GetTickCount64());
  }
};

}  // namespace

std::unique_ptr<TNativeWindow> TNativeWindow::Create(void* parent, int width, int height,
                                                     TNativeWindowClient& client) {
  return TWin32Window::Create(static_cast<HWND>(parent), width, height, client);
}

const TClock& TNativeWindow::SystemClock() {
  static const TWin32Clock clock;
  return clock;
}

TWin32Window::TWin32Window(int width, int height, TNativeWindowClient& client)
    : FWidth(width), FHeight(height), FClient(client) {}

std::unique_ptr<TNativeWindow> TWin32Window::Create(HWND parent, int width, int height,
                                                    TNativeWindowClient& client) {
  // A host may hand in anything: only a real window can be a parent.
  if (parent == nullptr || !IsWindow(parent) || width <= 0 || height <= 0) return nullptr;
  wchar_t name[64];
  ClassName(name);
  if (gWindowCount == 0) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &TWin32Window::WindowProcedure;
    windowClass.hInstance = ThisModule();
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = name;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      return nullptr;
  }
  std::unique_ptr<TWin32Window> window(new TWin32Window(width, height, client));
  ++gWindowCount;
  window->FWindow = CreateWindowExW(0, name, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                                    width, height, parent, nullptr, ThisModule(), window.get());
  if (window->FWindow == nullptr) return nullptr;
  SetTimer(window->FWindow, kTimerId, kTimerMilliseconds, nullptr);
  return window;
}

TWin32Window::~TWin32Window() {
  // The host may have destroyed its window, and ours with it, already.
  if (FWindow != nullptr && IsWindow(FWindow)) {
    KillTimer(FWindow, kTimerId);
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
    DestroyWindow(FWindow);
  }
  if (--gWindowCount == 0) {
    wchar_t name[64];
    ClassName(name);
    UnregisterClassW(name, ThisModule());
  }
}

void TWin32Window::Present(const std::uint32_t* pixels, int stride, int, int, int, int) {
  FPixels = pixels;
  FStride = stride;
  if (FWindow == nullptr || !IsWindow(FWindow)) return;
  // The whole picture at once: one unambiguous top-down transfer.
  if (HDC context = GetDC(FWindow)) {
    Show(context);
    ReleaseDC(FWindow, context);
  }
}

void TWin32Window::Show(HDC context) {
  if (FPixels == nullptr) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = FStride;
  info.bmiHeader.biHeight = -FHeight;  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(context, 0, 0, static_cast<DWORD>(FWidth), static_cast<DWORD>(FHeight), 0, 0, 0,
                    static_cast<UINT>(FHeight), FPixels, &info, DIB_RGB_COLORS);
}

void TWin32Window::Deliver(const TInputEvent& event) {
  FClient.HandleInput(event);
}

LRESULT CALLBACK TWin32Window::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // The window learns its object on its first message, before
    // CreateWindowExW has returned the handle.
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* created = static_cast<TWin32Window*>(create->lpCreateParams);
    created->FWindow = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<TWin32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  // Nothing thrown may unwind into the host's message loop.
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT TWin32Window::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  using TKind = TInputEvent::TKind;
  TInputEvent event;
  event.X = GET_X_LPARAM(lParam);
  event.Y = GET_Y_LPARAM(lParam);
  event.Shift = ShiftFrom(wParam);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (HDC context = BeginPaint(FWindow, &paint)) {
        Show(context);
        EndPaint(FWindow, &paint);
        const RECT& r = paint.rcPaint;
        FClient.HandleExpose(r.left, r.top, r.right - r.left, r.bottom - r.top);
      }
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // every pixel is ours
    case WM_TIMER:
      if (wParam == kTimerId) FClient.HandleTimer();
      return 0;
    case WM_MOUSEMOVE:
      if (!FTrackingLeave) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, FWindow, 0};
        FTrackingLeave = TrackMouseEvent(&track) != 0;
      }
      event.Kind = TKind::PointerMove;
      Deliver(event);
      return 0;
    case WM_MOUSELEAVE:
      FTrackingLeave = false;
      event.Kind = TKind::Leave;
      Deliver(event);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
      SetCapture(FWindow);
      event.Kind = TKind::ButtonDown;
      event.Button = ButtonOf(message);
      Deliver(event);
      return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
      if ((wParam & (MK_LBUTTON | MK_MBUTTON | MK_RBUTTON)) == 0) ReleaseCapture();
      event.Kind = TKind::ButtonUp;
      event.Button = ButtonOf(message);
      Deliver(event);
      return 0;
    case WM_MOUSEWHEEL: {
      // Wheel positions come in screen coordinates.
      POINT point{event.X, event.Y};
      ScreenToClient(FWindow, &point);
      event.Kind = TKind::Wheel;
      event.X = point.x;
      event.Y = point.y;
      event.Shift = ShiftFrom(GET_KEYSTATE_WPARAM(wParam));
      event.WheelDelta = GET_WHEEL_DELTA_WPARAM(wParam);
      Deliver(event);
      return 0;
    }
    case WM_DESTROY:
      KillTimer(FWindow, kTimerId);
      return 0;
    default:
      return DefWindowProcW(FWindow, message, wParam, lParam);
  }
}
