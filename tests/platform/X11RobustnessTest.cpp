#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/x11/X11ErrorTrap.h"
#include "tests/platform/X11WindowTestSupport.h"

#if defined(__SANITIZE_THREAD__)
// Xlib's way back from a lost connection unlocks the display's mutex once
// more than it locked it; harmless on one thread, but ThreadSanitizer
// reports it from inside libX11.
extern "C" const char* __tsan_default_suppressions() {
  return "mutex:libX11.so\n";
}
#endif

namespace {

using TVisual = TX11TestHost::TVisual;

// An id no client has: the server hands out ids far below it.
constexpr TX11TestHost::TWindowId kNoSuchWindow = 0x7fffffff;
constexpr int kWidth = 40;
constexpr int kHeight = 30;

// The handlers a host has installed; they count what reaches them.
std::vector<Display*> ErrorsSeen;
int ConnectionsLostSeen = 0;

int HostErrorHandler(Display* display, XErrorEvent*) {
  ErrorsSeen.push_back(display);
  return 0;
}

int HostConnectionHandler(Display*) {
  ++ConnectionsLostSeen;
  return 0;
}

// Installs the host's handlers for a test and checks, at its end, that they
// are still the ones installed.
class THostHandlers {
 public:
  THostHandlers()
      : FPreviousError(XSetErrorHandler(HostErrorHandler)),
        FPreviousConnection(XSetIOErrorHandler(HostConnectionHandler)) {
    ErrorsSeen.clear();
    ConnectionsLostSeen = 0;
  }
  ~THostHandlers() {
    EXPECT_EQ(XSetErrorHandler(FPreviousError), HostErrorHandler);
    EXPECT_EQ(XSetIOErrorHandler(FPreviousConnection), HostConnectionHandler);
  }

 private:
  XErrorHandler FPreviousError;
  XIOErrorHandler FPreviousConnection;
};

std::set<std::string> OpenSockets() {
  std::set<std::string> sockets;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
    if (!error && target.rfind("socket:", 0) == 0) sockets.insert(entry.path().filename());
  }
  return sockets;
}

struct TRefusal {
  const char* Name;
  std::function<void*(TX11TestHost& host)> Parent;
  int Width = kWidth;
  bool WithoutDisplay = false;
};

TEST_F(TX11WindowTest, RefusedParentsGiveNoWindowAndLeakNothing) {
  const std::vector<TRefusal> refusals = {
      {"no parent", [](auto&) { return nullptr; }},
      {"no such window", [](auto&) { return AsParent(kNoSuchWindow); }},
      {"direct colour parent",
       [](auto& host) {
         return AsParent(host.CreateParent(kWidth, kHeight, TVisual::DirectColor24));
       }},
      {"no width", [](auto& host) { return AsParent(host.CreateParent(kWidth, kHeight)); }, 0},
      {"no display", [](auto& host) { return AsParent(host.CreateParent(kWidth, kHeight)); },
       kWidth, true},
  };
  THostHandlers handlers;
  const std::string display = std::getenv("DISPLAY");
  for (const TRefusal& refusal : refusals) {
    void* parent = refusal.Parent(*Host);
    const int descriptors = OpenDescriptorCount();
    if (refusal.WithoutDisplay) unsetenv("DISPLAY");
    EXPECT_EQ(TNativeWindow::Create(parent, refusal.Width, kHeight, Client), nullptr)
        << refusal.Name;
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(OpenDescriptorCount(), descriptors) << refusal.Name;
  }
  EXPECT_TRUE(ErrorsSeen.empty());
}

TEST_F(TX11WindowTest, ParentDestroyedFirstIsQuietAndTheHostsHandlersStay) {
  THostHandlers handlers;
  const auto parent = Host->CreateParent(kWidth, kHeight);
  auto window = TNativeWindow::Create(AsParent(parent), kWidth, kHeight, Client);
  ASSERT_NE(window, nullptr);
  window->PumpEvents();

  Host->DestroyWindow(parent);
  const TPixelBuffer pixels(kWidth, kHeight);
  window->Present(pixels.Data(), kWidth, 0, 0, kWidth, kHeight);
  window->PumpEvents();
  window->Present(pixels.Data(), kWidth, 0, 0, kWidth, kHeight);
  window.reset();
  EXPECT_TRUE(ErrorsSeen.empty());
}

TEST_F(TX11WindowTest, TrapTakesOnlyItsOwnConnectionsErrors) {
  THostHandlers handlers;
  Display* own = XOpenDisplay(nullptr);
  ASSERT_NE(own, nullptr);
  Display* hosts = Host->Connection();
  {
    TX11ErrorTrap trap(own);
    XWindowAttributes attributes{};
    // The host's error passes the trap on to the host's handler...
    EXPECT_FALSE(XGetWindowAttributes(hosts, kNoSuchWindow, &attributes));
    EXPECT_EQ(ErrorsSeen, std::vector<Display*>{hosts});
    EXPECT_TRUE(trap.Sync());
    // ...ours stays in the trap.
    EXPECT_FALSE(XGetWindowAttributes(own, kNoSuchWindow, &attributes));
    EXPECT_FALSE(trap.Sync());
    EXPECT_EQ(trap.ErrorCode(), BadWindow);
    EXPECT_FALSE(trap.ConnectionLost());
  }
  EXPECT_EQ(ErrorsSeen.size(), 1u);
  XCloseDisplay(own);
}

TEST_F(TX11WindowTest, LostConnectionLeavesAWindowThatDoesNothing) {
  THostHandlers handlers;
  const auto parent = Host->CreateParent(kWidth, kHeight);
  const std::set<std::string> before = OpenSockets();
  auto window = TNativeWindow::Create(AsParent(parent), kWidth, kHeight, Client);
  ASSERT_NE(window, nullptr);
  std::vector<std::string> added;
  for (const std::string& socket : OpenSockets()) {
    if (!before.count(socket)) added.push_back(socket);
  }
  ASSERT_EQ(added.size(), 1u) << "the window's own connection";

  // As if the server went away: Xlib's default would end the process here.
  ASSERT_EQ(shutdown(std::stoi(added.front()), SHUT_RDWR), 0);
  const TPixelBuffer pixels(kWidth, kHeight);
  window->Present(pixels.Data(), kWidth, 0, 0, kWidth, kHeight);
  window->PumpEvents();
  window->Present(pixels.Data(), kWidth, 0, 0, kWidth, kHeight);
  window->PumpEvents();
  window.reset();
  EXPECT_EQ(ConnectionsLostSeen, 0);
  EXPECT_TRUE(ErrorsSeen.empty());
  EXPECT_EQ(OpenSockets(), before);
}

TEST_F(TX11WindowTest, RepeatedOpeningLeaksNoDescriptors) {
  constexpr int kCycles = 200;
  const auto parent = Host->CreateParent(kWidth, kHeight);
  const int descriptors = OpenDescriptorCount();
  const TPixelBuffer pixels(kWidth, kHeight);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kCycles; ++i) {
    auto window = TNativeWindow::Create(AsParent(parent), kWidth, kHeight, Client);
    ASSERT_NE(window, nullptr) << "cycle " << i;
    window->Present(pixels.Data(), kWidth, 0, 0, kWidth, kHeight);
    window->PumpEvents();
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(OpenDescriptorCount(), descriptors);
  EXPECT_TRUE(Host->ChildrenOf(parent).empty());
  RecordProperty(
      "MillisecondsPerCycle",
      std::to_string(std::chrono::duration<double, std::milli>(elapsed).count() / kCycles));
}

}  // namespace
