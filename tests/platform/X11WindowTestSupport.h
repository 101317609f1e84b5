#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/NativeWindow.h"
#include "tests/platform/X11TestHost.h"

struct TExposure {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

// Keeps everything a native window delivers.
class TRecordingWindowClient : public TNativeWindowClient {
 public:
  void HandleInput(const TInputEvent& event) override { Inputs.push_back(event); }
  void HandleExpose(int left, int top, int width, int height) override {
    Exposures.push_back({left, top, width, height});
  }

  std::vector<TInputEvent> Inputs;
  std::vector<TExposure> Exposures;
};

// A test against the shared Xvfb server, with a host connection to it.
class TX11WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(UseTestDisplay(&why)) << why;
    Host = std::make_unique<TX11TestHost>();
  }

  static void* AsParent(TX11TestHost::TWindowId window) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
  }

  std::unique_ptr<TX11TestHost> Host;
  TRecordingWindowClient Client;
};

// The process's open file descriptors.
inline int OpenDescriptorCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    ++count;
  }
  return count;
}
