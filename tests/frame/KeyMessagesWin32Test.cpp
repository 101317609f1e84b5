#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/Win32HostWindow.h"
#include "tests/frame/PluginFixture.h"

// A key the host forwards reaches a Win32 editor's window as the message a
// control would receive from the keyboard.
namespace {

std::vector<std::string> WindowMessages(const std::vector<std::string>& events) {
  std::vector<std::string> messages;
  for (const std::string& event : events)
    if (event.rfind("Form.Msg:", 0) == 0) messages.push_back(event.substr(9));
  return messages;
}

TEST(KeyMessagesWin32, ForwardedKeysArriveAsKeyboardMessages) {
  struct TCase {
    VstInt32 Opcode;
    VstInt32 Character;
    VstIntPtr Virt;
    float Modifier;
    std::vector<std::string> Expected;
  };
  const std::string keyDown = std::to_string(WM_KEYDOWN), keyUp = std::to_string(WM_KEYUP);
  const std::string sysDown = std::to_string(WM_SYSKEYDOWN), sysUp = std::to_string(WM_SYSKEYUP);
  const std::string character = std::to_string(WM_CHAR);
  const TCase cases[] = {
      // 'a' with shift and without the alternate bit: a system key, then
      // its character.
      {effEditKeyDown, 'a', 0, 1.0f, {sysDown + ",65,8192", character + ",65,0"}},
      // Page up with the alternate bit: a plain key.
      {effEditKeyDown, 0, 15, 2.0f, {keyDown + ",38,256", character + ",38,256"}},
      {effEditKeyUp, 0, 15, 2.0f, {keyUp + ",38,256"}},
      {effEditKeyUp, 'a', 0, 0.0f, {sysUp + ",97,8192"}},
  };
  HWND host = CreateTestHostWindow(300, 200);
  ASSERT_NE(host, nullptr);
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  ASSERT_EQ(effect->Dispatch(effEditOpen, 0, 0, host), 1);
  for (const TCase& c : cases) {
    plugin.ClearEvents(*effect);
    effect->Dispatch(c.Opcode, c.Character, c.Virt, nullptr, c.Modifier);
    EXPECT_EQ(WindowMessages(plugin.Events(*effect)), c.Expected) << c.Character << "," << c.Virt;
  }
  // The host closes its window first: the editor's close is quiet.
  DestroyWindow(host);
  effect->Dispatch(effEditClose);
  EXPECT_THAT(plugin.Events(*effect), ::testing::Contains("Form.Destroy"));
}

}  // namespace
