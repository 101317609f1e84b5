#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/platform/X11TestHost.h"

// The validator's editor check on the suite's X server: it passes on the
// effect's editor, fails on an editor that reports no size, and says why it
// skips a plug-in without an editor.

namespace {

struct TRun {
  int ExitCode = -1;
  std::string Output;
};

TRun RunEditorCheck(const char* plugin) {
  const std::string command =
      std::string("'") + VALIDATE_TOOL_PATH + "' --level 8 --only editor '" + plugin + "'";
  TRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char chunk[4096];
  std::size_t read = 0;
  while ((read = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
    run.Output.append(chunk, read);
  const int status = pclose(pipe);
  if (WIFEXITED(status)) run.ExitCode = WEXITSTATUS(status);
  return run;
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
    const TRun run = RunEditorCheck(test.Plugin);
    EXPECT_NE(run.Output.find(test.Line), std::string::npos) << test.Plugin << "\n" << run.Output;
    EXPECT_EQ(run.ExitCode, test.ExitCode) << test.Plugin;
  }
}

}  // namespace
