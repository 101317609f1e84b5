#include "fuzz/GuardedText.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz/FuzzCheck.h"

namespace {

struct TGuardedPage {
  char* Usable = nullptr;
  std::size_t Size = 0;
  bool InUse = false;
};

// One writable page followed by one that faults on any access, made once.
TGuardedPage& SharedPage() {
  static TGuardedPage page = [] {
    TGuardedPage made;
    made.Size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    void* pages =
        mmap(nullptr, 2 * made.Size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED ||
        mprotect(static_cast<char*>(pages) + made.Size, made.Size, PROT_NONE) != 0) {
      std::perror("guard page");
      std::abort();
    }
    made.Usable = static_cast<char*>(pages);
    return made;
  }();
  return page;
}

}  // namespace

TGuardedText::TGuardedText(std::size_t size) : BufferSize(size) {
  TGuardedPage& page = SharedPage();
  if (page.InUse || size == 0 || size > page.Size) std::abort();
  page.InUse = true;
  Buffer = page.Usable + page.Size - size;
  std::memset(Buffer, kFill, size);
}

TGuardedText::~TGuardedText() {
  SharedPage().InUse = false;
}

bool TGuardedText::Written() const {
  return std::any_of(Buffer, Buffer + BufferSize, [](char byte) { return byte != kFill; });
}

std::optional<std::string_view> TGuardedText::Text() const {
  const void* zero = std::memchr(Buffer, 0, BufferSize);
  if (zero == nullptr) return std::nullopt;
  return std::string_view(Buffer,
                          static_cast<std::size_t>(static_cast<const char*>(zero) - Buffer));
}

void TGuardedText::RequireText(const char* query, bool promised) const {
  if ((promised || Written()) && !Text())
    FuzzFailure("%s: no terminating zero within the %zu-byte buffer (%s)", query, BufferSize,
                Written() ? "text written" : "nothing written");
}
