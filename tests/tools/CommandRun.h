#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

// A tool run as a user runs it, from a shell command line: its exit status
// (-1 when it did not exit normally) and what it printed on standard output.
struct TCommandRun {
  int ExitCode = -1;
  std::string Output;
};

inline TCommandRun RunCommand(const std::string& command) {
  TCommandRun run;
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
