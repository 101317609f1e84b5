#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

#include "tests/Win32HostWindow.h"
#include "tests/effect/EffectFixture.h"
#include "tools/screenshot/EditorSnapshot.h"

// The plug-in DLL's editor in a host's Win32 window: opened as a child of
// the host's window, showing the offscreen picture, and setting a parameter
// when the user clicks a box.
namespace {

constexpr int kEditorWidth = 443;
constexpr int kEditorHeight = 314;
constexpr int kProgram = 1;
constexpr std::uint32_t kColour = 0x00FFFFFF;
// The centre of the third phase box, which switches parameter 10.
constexpr int kBoxX = 17 + 2 * 32 + 7;
constexpr int kBoxY = 175 + 8;
constexpr VstInt32 kBoxParameter = 10;
constexpr std::uintptr_t kNoWindow = 0x7777;

// Lets the windows of this thread handle what is queued for them.
void PumpMessages(TEffect& effect) {
  for (int round = 0; round < 5; ++round) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    effect.Dispatch(effEditIdle);
    Sleep(20);
  }
}

// The colours a window shows, read back from the screen.
std::vector<std::uint32_t> WindowColours(HWND window, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  std::vector<std::uint32_t> colours(static_cast<const std::uint32_t*>(bits),
                                     static_cast<const std::uint32_t*>(bits) + width * height);
  for (std::uint32_t& colour : colours)
    colour &= kColour;
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return colours;
}

TEST(EditorWin32, OpensInTheHostsWindowAndSetsParametersFromClicks) {
  TEffectFixture fx;
  fx.SelectProgram(kProgram);
  HWND host = CreateTestHostWindow(600, 450, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_NE(host, nullptr);
  // A handle that is no window gets no editor.
  EXPECT_EQ(fx.Effect->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(kNoWindow)), 0);
  ASSERT_EQ(fx.Effect->Dispatch(effEditOpen, 0, 0, host), 1);
  HWND editor = GetWindow(host, GW_CHILD);
  ASSERT_NE(editor, nullptr);
  RECT client{};
  GetClientRect(editor, &client);
  EXPECT_EQ(client.right, kEditorWidth);
  EXPECT_EQ(client.bottom, kEditorHeight);
  PumpMessages(*fx.Effect);

  const TPixelBuffer expected = RenderEditorSnapshot(kProgram);
  std::vector<std::uint32_t> colours;
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < expected.Width(); ++x)
      colours.push_back(expected.Row(y)[x] & kColour);
  EXPECT_TRUE(WindowColours(editor, kEditorWidth, kEditorHeight) == colours);

  fx.Host.ClearCalls();
  PostMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kBoxX, kBoxY));
  PostMessageW(editor, WM_LBUTTONUP, 0, MAKELPARAM(kBoxX, kBoxY));
  PumpMessages(*fx.Effect);
  EXPECT_EQ(fx.Effect->GetParameter(kBoxParameter), 1.0f);
  EXPECT_EQ(fx.Host.CallsWithOpcode(audioMasterAutomate).size(), 1u);

  // The host's window goes first; the editor then closes quietly.
  DestroyWindow(host);
  fx.Effect->Dispatch(effEditClose);
}

}  // namespace
