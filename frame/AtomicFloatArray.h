#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

// Parameter values shared between the threads a host calls from: each value
// is read and written whole, without a lock. The array is resized only while
// a module is being built, never while other threads use it.
class TAtomicFloatArray {
 public:
  TAtomicFloatArray() = default;
  explicit TAtomicFloatArray(std::size_t count) { Resize(count); }
  TAtomicFloatArray(const TAtomicFloatArray&) = delete;
  TAtomicFloatArray& operator=(const TAtomicFloatArray&) = delete;

  std::size_t Count() const { return FCount; }
  std::atomic<float>& operator[](std::size_t index) { return Values[index]; }
  const std::atomic<float>& operator[](std::size_t index) const { return Values[index]; }
  float Get(std::size_t index) const { return Values[index].load(std::memory_order_relaxed); }
  void Set(std::size_t index, float value) {
    Values[index].store(value, std::memory_order_relaxed);
  }

  // Keeps the values that fit; new values are 0.
  void Resize(std::size_t count) {
    auto resized = std::make_unique<std::atomic<float>[]>(count);
    for (std::size_t i = 0; i < count; ++i)
      resized[i].store(i < FCount ? Get(i) : 0.0f);
    Values = std::move(resized);
    FCount = count;
  }

 private:
  std::unique_ptr<std::atomic<float>[]> Values;
  std::size_t FCount = 0;
};
static_assert(std::atomic<float>::is_always_lock_free);
