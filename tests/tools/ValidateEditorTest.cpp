#include <gtest/gtest.h>

#include <string>

#include "tests/platform/X11TestHost.h"
#include "tests/tools/CommandRun.h"

// The validator's editor check on the suite's X server: it passes on the
// effect's editor, fails on an editor that reports no size, and says why it
// skips a plug-in without an editor.

namespace {

TCommandRun RunEditorCheck(const char* plugin) {
  return RunCommand(std::string("'") + VALIDATE_TOOL_PATH + "' --level 8 --only editor '" + plugin +
                    "'");
}

TEST(ValidateEditor, VerdictsPerPlugin) {
  std::string why;
  ASSERT_TRUE(UseTestDisplay(&why)) << why;
  const struct {
    const char* Plugin;
    const char* Line;
    int ExitCode;
  } cases[] = {
#ifdef QUILLOTRON_PATH
      {QUILLOTRON_PATH, "editor: passed\n1 passed, 0 failed\n", 0},
#endif
      {FULL_TEST_PLUGIN,
       "editor: failed: effEditGetRect answered a rectangle of 0 x 0\n0 passed, 1 failed\n", 1},
      {FAULTY_NONE_PLUGIN, "editor: skipped: the plug-in has no editor\n0 passed, 0 failed\n", 0},
  };
  for (const auto& test : cases) {
    const TCommandRun run = RunEditorCheck(test.Plugin);
    EXPECT_NE(run.Output.find(test.Line), std::string::npos) << test.Plugin << "\n" << run.Output;
    EXPECT_EQ(run.ExitCode, test.ExitCode) << test.Plugin;
  }
}

}  // namespace
