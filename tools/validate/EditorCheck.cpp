#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "tools/validate/AudioRun.h"
#include "tools/validate/CheckOutcome.h"
#include "tools/validate/CheckProcess.h"
#include "tools/validate/Checks.h"
#include "tools/validate/EditorHostDisplay.h"
#include "tools/validate/ProcessingLoop.h"
#include "tools/validate/TestedPlugin.h"

// The editor in a window of ours, as a host shows it: its size asked first,
// opened, idled as hosts do about 30 times a second, closed; again and
// again, while another thread processes. Then as careless hosts do: the
// parent destroyed before effEditClose, effEditOpen twice. Last, the
// instance is closed with its editor still open, as a host does when a
// project closes.

namespace {

constexpr int kOpenings = 3;
constexpr int kIdleCalls = 10;
constexpr auto kIdleInterval = std::chrono::milliseconds(30);
constexpr int kFallbackWidth = 400;
constexpr int kFallbackHeight = 300;
constexpr int kLargestSide = 8192;
constexpr double kRate = 44100.0;
constexpr VstInt32 kBlock = 512;

struct TSize {
  int Width = kFallbackWidth;
  int Height = kFallbackHeight;
};

TSize EditorSize(TTestedInstance& instance) {
  ERect* rect = nullptr;
  instance.Dispatch(effEditGetRect, 0, 0, &rect);
  TSize size;
  if (rect == nullptr) return size;
  const int width = rect->right - rect->left;
  const int height = rect->bottom - rect->top;
  Require(width > 0 && height > 0 && width <= kLargestSide && height <= kLargestSide,
          "effEditGetRect answered a rectangle of " + std::to_string(width) + " x " +
              std::to_string(height));
  size.Width = width;
  size.Height = height;
  return size;
}

void Idle(TTestedInstance& instance) {
  for (int call = 0; call < kIdleCalls; ++call) {
    instance.Dispatch(effEditIdle);
    std::this_thread::sleep_for(kIdleInterval);
  }
}

// The editor in a fresh parent window; answers the window, which the caller
// destroys after closing the editor.
TEditorHostDisplay::TWindowId OpenEditor(TTestedInstance& instance, TEditorHostDisplay& display) {
  const TSize size = EditorSize(instance);
  const auto window = display.CreateParent(size.Width, size.Height);
  instance.Dispatch(effEditOpen, 0, 0, TEditorHostDisplay::Handle(window));
  Require(display.WaitForChildren(window, [](std::size_t children) { return children > 0; }),
          "effEditOpen put no window into the host's window");
  return window;
}

}  // namespace

void CheckEditor(const TCheckContext& context) {
  TTestedPlugin plugin(context.PluginPath);
  auto instance = plugin.Open();
  if (!instance->HasEditor()) throw TCheckSkipped("the plug-in has no editor");
  const auto display = TEditorHostDisplay::Open();
  if (!display) throw TCheckSkipped("no display (DISPLAY unset or unreachable)");
  instance->Resume(kRate, kBlock);
  const TAudio block =
      Noise(std::max<std::size_t>(instance->Inputs(), 1), kBlock, 0.5, context.Seed);

  std::atomic<bool> stop{false};
  std::string processingFailure;
  std::thread processing([&] {
    try {
      TProcessingLoop<float> loop(*instance, block);
      while (!stop.load(std::memory_order_acquire)) {
        loop.Call();
        const std::string abnormal = loop.Abnormal();
        if (!abnormal.empty()) {
          processingFailure = abnormal + " while the editor was open";
          return;
        }
      }
    } catch (const std::exception& error) {
      processingFailure = error.what();
    }
  });
  // The processing thread must stop before the check fails or ends.
  struct TStopper {
    std::atomic<bool>& Stop;
    std::thread& Thread;
    ~TStopper() {
      Stop.store(true, std::memory_order_release);
      if (Thread.joinable()) Thread.join();
    }
  } stopper{stop, processing};

  for (int opening = 0; opening < kOpenings * context.Repeats; ++opening) {
    SetCheckStep("opening the editor, time " + std::to_string(opening + 1));
    const auto window = OpenEditor(*instance, *display);
    SetCheckStep("idling the editor, time " + std::to_string(opening + 1));
    Idle(*instance);
    SetCheckStep("closing the editor, time " + std::to_string(opening + 1));
    instance->Dispatch(effEditClose);
    Require(display->WaitForChildren(window, [](std::size_t children) { return children == 0; }),
            "effEditClose left the editor's window in the host's window");
    display->DestroyWindow(window);
  }
  stop.store(true, std::memory_order_release);
  processing.join();
  Require(processingFailure.empty(), processingFailure);

  // Hosts that destroy their window first, and hosts that open twice.
  SetCheckStep("closing the editor after its parent window is gone");
  {
    const auto window = OpenEditor(*instance, *display);
    Idle(*instance);
    display->DestroyWindow(window);
    instance->Dispatch(effEditClose);
  }
  SetCheckStep("opening the editor twice without closing it");
  {
    const auto first = OpenEditor(*instance, *display);
    const auto second = OpenEditor(*instance, *display);
    Idle(*instance);
    instance->Dispatch(effEditClose);
    display->DestroyWindow(second);
    display->DestroyWindow(first);
  }

  SetCheckStep("closing the instance with its editor open");
  const auto window = OpenEditor(*instance, *display);
  Idle(*instance);
  instance->Close();
  display->DestroyWindow(window);
}
