#include "tools/validate/CheckProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <sstream>

#include "tools/validate/CallWatchdog.h"

namespace {

// The child's pipe end; -1 outside a child.
int gReportFd = -1;

enum : int { kExitReported = 0, kExitUnexpected = 4 };

void WriteAll(int fd, const std::string& text) {
  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    const ssize_t written = write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return;
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
}

// One line per message: newlines inside a text would split it.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

void Report(const char* kind, const std::string& text) {
  WriteAll(gReportFd, std::string(kind) + " " + OneLine(text) + "\n");
}

[[noreturn]] void RunChild(const std::function<void()>& body, const TCheckLimits& limits,
                           int reportFd) {
  gReportFd = reportFd;
  // What the plug-in prints must not mix with the battery's lines.
  dup2(STDERR_FILENO, STDOUT_FILENO);
  StartCallWatchdog(limits.Call, reportFd);
  try {
    body();
    Report("pass", "");
  } catch (const TCheckFailure& failure) {
    Report("fail", failure.what());
  } catch (const TCheckSkipped& skipped) {
    Report("skip", skipped.what());
  } catch (const std::exception& error) {
    Report("fail", error.what());
  } catch (...) {
    Report("fail", "an unknown exception");
  }
  // Plug-ins' static destructors and threads are not the check's business.
  _exit(kExitReported);
}

std::string SignalName(int signal) {
  const char* abbreviation = sigabbrev_np(signal);
  return abbreviation != nullptr ? std::string("SIG") + abbreviation
                                 : "signal " + std::to_string(signal);
}

struct TChildReport {
  std::string Kind;
  std::string Text;
  std::string Step;
};

// Reads the child's lines until it closes the pipe or time runs out; false
// when time ran out.
bool ReadReport(int fd, std::chrono::steady_clock::time_point deadline, TChildReport& report) {
  std::string pending;
  char chunk[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd watched{fd, POLLIN, 0};
    const int ready = poll(&watched, 1, static_cast<int>(left.count()));
    if (ready < 0) {
      if (errno == EINTR) continue;
      return true;
    }
    if (ready == 0) return false;
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return true;
    pending.append(chunk, static_cast<std::size_t>(got));
    std::size_t end = 0;
    while ((end = pending.find('\n')) != std::string::npos) {
      const std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      const std::size_t space = line.find(' ');
      const std::string kind = line.substr(0, space);
      const std::string text = space == std::string::npos ? "" : line.substr(space + 1);
      if (kind == "step") {
        report.Step = text;
      } else {
        report.Kind = kind;
        report.Text = text;
      }
    }
  }
}

std::string SecondsText(std::chrono::milliseconds time) {
  char text[32];
  std::snprintf(text, sizeof text, "%g s", static_cast<double>(time.count()) / 1000.0);
  return text;
}

std::string Where(const TChildReport& report) {
  return report.Step.empty() ? "" : " while " + report.Step;
}

}  // namespace

void SetCheckStep(const std::string& step) {
  if (gReportFd >= 0) Report("step", step);
}

TCheckOutcome RunInChildProcess(const std::function<void()>& body, const TCheckLimits& limits) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return {TCheckStatus::Failed, "cannot make a pipe"};
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t child = fork();
  if (child < 0) {
    close(fds[0]);
    close(fds[1]);
    return {TCheckStatus::Failed, "cannot start a child process"};
  }
  if (child == 0) {
    close(fds[0]);
    RunChild(body, limits, fds[1]);
  }
  close(fds[1]);
  TChildReport report;
  const bool finished = ReadReport(fds[0], std::chrono::steady_clock::now() + limits.Check, report);
  close(fds[0]);
  if (!finished) kill(child, SIGKILL);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!finished) {
    return {TCheckStatus::Failed,
            "the check did not finish within " + SecondsText(limits.Check) + Where(report)};
  }
  if (report.Kind == "pass") return {TCheckStatus::Passed, ""};
  if (report.Kind == "skip") return {TCheckStatus::Skipped, report.Text};
  if (report.Kind == "fail") return {TCheckStatus::Failed, report.Text};
  if (report.Kind == "hang") return {TCheckStatus::Failed, report.Text + Where(report)};
  if (WIFSIGNALED(status)) {
    return {TCheckStatus::Failed, "crashed (" + SignalName(WTERMSIG(status)) + ")" + Where(report)};
  }
  return {TCheckStatus::Failed, "the process exited with status " +
                                    std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) +
                                    Where(report)};
}
