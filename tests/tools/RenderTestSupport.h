#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

// Running the render and demo programs as a user does, and the audio files
// their tests make and read back.

struct TProgramRun {
  // -1 when the program did not exit normally.
  int ExitCode = -1;
  std::string Output;
  std::string Errors;
};

// Runs program with arguments, no shell involved, and collects its standard
// output and error.
TProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments);

// As RunProgram, but with standard error on a terminal (a pseudo-terminal
// whose output is collected).
TProgramRun RunProgramOnTerminal(const std::string& program,
                                 const std::vector<std::string>& arguments);

// Starts program with arguments, its output discarded; answers its process id.
pid_t StartProgram(const std::string& program, const std::vector<std::string>& arguments);

// A fresh folder, removed with its contents on destruction.
class TTemporaryFolder {
 public:
  TTemporaryFolder();
  ~TTemporaryFolder();
  TTemporaryFolder(const TTemporaryFolder&) = delete;
  TTemporaryFolder& operator=(const TTemporaryFolder&) = delete;

  const std::filesystem::path& Path() const { return Folder; }
  std::string operator/(const std::string& name) const { return (Folder / name).string(); }
  // The names in the folder, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::filesystem::path Folder;
};

struct TAudio {
  int SampleRate = 0;
  // libsndfile's format word of a file read back.
  int Format = 0;
  // One array per channel.
  std::vector<std::vector<float>> Channels;

  std::size_t Frames() const { return Channels.empty() ? 0 : Channels.front().size(); }
};

// Writes audio as a 32-bit float WAV file.
void WriteWav(const std::string& path, const TAudio& audio);
// Reads any file libsndfile knows; fails the calling test when it cannot.
TAudio ReadAudio(const std::string& path);

// Writes text into a file.
void WriteText(const std::string& path, const std::string& text);
std::string ReadText(const std::string& path);
