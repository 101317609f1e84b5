#include "tools/validate/ProcessingMonitor.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUILLO_SANITIZER_OWNS_MALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
#define QUILLO_SANITIZER_OWNS_MALLOC 1
#endif
#endif

#ifndef QUILLO_SANITIZER_OWNS_MALLOC
#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#endif

namespace {

// Plain thread-local words: reading them from inside malloc must neither
// allocate nor lock.
thread_local bool tWatching = false;
thread_local int tPaused = 0;
thread_local std::uint64_t tAllocations = 0;
thread_local std::uint64_t tFrees = 0;
thread_local std::uint64_t tLocks = 0;

}  // namespace

#ifndef QUILLO_SANITIZER_OWNS_MALLOC

// glibc's own allocator under its internal names: the interposed functions
// count, then hand over.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* memory, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void* __libc_valloc(std::size_t size);
void* __libc_pvalloc(std::size_t size);
void __libc_free(void* memory);
}

namespace {

inline bool Counting() {
  return tWatching && tPaused == 0;
}

inline void CountAllocation() {
  if (Counting()) ++tAllocations;
}

using TMutexLock = int (*)(pthread_mutex_t*);
std::atomic<TMutexLock> gNextMutexLock{nullptr};
std::atomic<TMutexLock> gNextMutexTryLock{nullptr};

TMutexLock Next(std::atomic<TMutexLock>& slot, const char* name) {
  TMutexLock next = slot.load(std::memory_order_acquire);
  if (next == nullptr) {
    next = reinterpret_cast<TMutexLock>(dlsym(RTLD_NEXT, name));
    slot.store(next, std::memory_order_release);
  }
  return next;
}

}  // namespace

extern "C" {

void* malloc(std::size_t size) {
  CountAllocation();
  return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) {
  CountAllocation();
  return __libc_calloc(count, size);
}

void* realloc(void* memory, std::size_t size) {
  CountAllocation();
  return __libc_realloc(memory, size);
}

void* reallocarray(void* memory, std::size_t count, std::size_t size) {
  CountAllocation();
  std::size_t bytes = 0;
  if (__builtin_mul_overflow(count, size, &bytes)) {
    errno = ENOMEM;
    return nullptr;
  }
  return __libc_realloc(memory, bytes);
}

void* memalign(std::size_t alignment, std::size_t size) {
  CountAllocation();
  return __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) {
  CountAllocation();
  return __libc_memalign(alignment, size);
}

int posix_memalign(void** memory, std::size_t alignment, std::size_t size) {
  CountAllocation();
  // The alignment must be a power of two and a multiple of a pointer's size.
  if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) return EINVAL;
  void* aligned = __libc_memalign(alignment, size);
  if (aligned == nullptr) return ENOMEM;
  *memory = aligned;
  return 0;
}

void* valloc(std::size_t size) {
  CountAllocation();
  return __libc_valloc(size);
}

void* pvalloc(std::size_t size) {
  CountAllocation();
  return __libc_pvalloc(size);
}

void free(void* memory) {
  if (memory != nullptr && Counting()) ++tFrees;
  __libc_free(memory);
}

int pthread_mutex_lock(pthread_mutex_t* mutex) {
  if (Counting()) ++tLocks;
  return Next(gNextMutexLock, "pthread_mutex_lock")(mutex);
}

int pthread_mutex_trylock(pthread_mutex_t* mutex) {
  if (Counting()) ++tLocks;
  return Next(gNextMutexTryLock, "pthread_mutex_trylock")(mutex);
}

}  // extern "C"

#endif

namespace ProcessingMonitor {

bool Available() {
#ifdef QUILLO_SANITIZER_OWNS_MALLOC
  return false;
#else
  return true;
#endif
}

void Begin() {
  tAllocations = 0;
  tFrees = 0;
  tLocks = 0;
  tWatching = true;
}

TProcessingCounts End() {
  tWatching = false;
  return {tAllocations, tFrees, tLocks};
}

void Pause() {
  ++tPaused;
}

void Resume() {
  --tPaused;
}

}  // namespace ProcessingMonitor
