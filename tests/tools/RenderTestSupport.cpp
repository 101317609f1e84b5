#include "tests/tools/RenderTestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sndfile.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::vector<char*> ArgumentVector(const std::string& program,
                                  const std::vector<std::string>& arguments,
                                  std::vector<std::string>& storage) {
  storage.clear();
  storage.push_back(program);
  storage.insert(storage.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : storage)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  return argv;
}

pid_t Spawn(const std::string& program, const std::vector<std::string>& arguments,
            const std::string& outputPath, const std::string& errorPath) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> storage;
  std::vector<char*> argv = ArgumentVector(program, arguments, storage);
  pid_t pid = -1;
  const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::runtime_error("Cannot start " + program);
  return pid;
}

}  // namespace

TProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
  // The captures live in a folder of their own, so that the folders the
  // tests watch see no files but the program's.
  const TTemporaryFolder captures;
  const std::string outputPath = captures / "stdout";
  const std::string errorPath = captures / "stderr";
  const pid_t pid = Spawn(program, arguments, outputPath, errorPath);
  int status = 0;
  TProgramRun run;
  if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.ExitCode = WEXITSTATUS(status);
  run.Output = ReadText(outputPath);
  run.Errors = ReadText(errorPath);
  return run;
}

TProgramRun RunProgramOnTerminal(const std::string& program,
                                 const std::vector<std::string>& arguments) {
  const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
  if (terminal < 0 || grantpt(terminal) != 0 || unlockpt(terminal) != 0) {
    throw std::runtime_error("Cannot open a pseudo-terminal");
  }
  const std::string side = ptsname(terminal);
  const TTemporaryFolder captures;
  const std::string outputPath = captures / "stdout";
  const pid_t pid = Spawn(program, arguments, outputPath, side);
  // The terminal holds a few kilobytes: it is read while the program runs.
  std::string errors;
  char chunk[256];
  int status = 0;
  bool ended = false;
  while (true) {
    pollfd ready{terminal, POLLIN, 0};
    constexpr int kPollMilliseconds = 10;
    if (poll(&ready, 1, kPollMilliseconds) > 0) {
      const ssize_t got = read(terminal, chunk, sizeof chunk);
      // Once the program has closed its side, reading fails with EIO.
      if (got <= 0) break;
      errors.append(chunk, static_cast<std::size_t>(got));
    } else if (ended) {
      break;
    }
    if (!ended) ended = waitpid(pid, &status, WNOHANG) == pid;
  }
  if (!ended) waitpid(pid, &status, 0);
  close(terminal);
  TProgramRun run;
  if (WIFEXITED(status)) run.ExitCode = WEXITSTATUS(status);
  run.Output = ReadText(outputPath);
  run.Errors = errors;
  return run;
}

pid_t StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  return Spawn(program, arguments, "/dev/null", "/dev/null");
}

TTemporaryFolder::TTemporaryFolder() {
  std::string pattern = (fs::temp_directory_path() / "quillo-render-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("Cannot make a folder");
  Folder = pattern;
}

TTemporaryFolder::~TTemporaryFolder() {
  std::error_code ignored;
  fs::remove_all(Folder, ignored);
}

std::vector<std::string> TTemporaryFolder::Entries() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(Folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void WriteWav(const std::string& path, const TAudio& audio) {
  SF_INFO info{};
  info.samplerate = audio.SampleRate;
  info.channels = static_cast<int>(audio.Channels.size());
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr)
    throw std::runtime_error("Cannot write " + path + ": " + sf_strerror(nullptr));
  std::vector<float> interleaved;
  for (std::size_t frame = 0; frame < audio.Frames(); ++frame) {
    for (const auto& channel : audio.Channels)
      interleaved.push_back(channel[frame]);
  }
  sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(audio.Frames()));
  sf_close(file);
}

TAudio ReadAudio(const std::string& path) {
  TAudio audio;
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  EXPECT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
  if (file == nullptr) return audio;
  audio.SampleRate = info.samplerate;
  audio.Format = info.format;
  std::vector<float> interleaved(static_cast<std::size_t>(info.frames * info.channels));
  const sf_count_t read = sf_readf_float(file, interleaved.data(), info.frames);
  sf_close(file);
  EXPECT_EQ(read, info.frames) << path;
  audio.Channels.assign(static_cast<std::size_t>(info.channels),
                        std::vector<float>(static_cast<std::size_t>(read)));
  for (std::size_t frame = 0; frame < static_cast<std::size_t>(read); ++frame) {
    for (std::size_t channel = 0; channel < audio.Channels.size(); ++channel) {
      audio.Channels[channel][frame] = interleaved[frame * audio.Channels.size() + channel];
    }
  }
  return audio;
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
