#include "dsp/InstructionSetProbe.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {

#if defined(__i386__) || defined(__x86_64__)
constexpr unsigned kLeafFeatures = 1;
constexpr unsigned kLeafExtendedFeatures = 7;
constexpr unsigned kEdxSse2 = 1u << 26;
constexpr unsigned kEcxOsxsave = 1u << 27;
constexpr unsigned kEcxAvx = 1u << 28;
constexpr unsigned kEbxAvx2 = 1u << 5;
// XCR0 bits 1 and 2: the system saves the XMM and the upper YMM halves.
constexpr unsigned kXcr0SseAndAvxState = 0x6;

// XGETBV with ECX = 0, written out so that the file needs no XSAVE flag.
unsigned ReadXcr0() {
  unsigned low = 0;
  unsigned high = 0;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return low;
}
#endif

}  // namespace

TInstructionSets TInstructionSetProbe::Probe() {
  TInstructionSets sets;
#if defined(__i386__) || defined(__x86_64__)
  unsigned eax = 0;
  unsigned ebx = 0;
  unsigned ecx = 0;
  unsigned edx = 0;
  if (__get_cpuid(kLeafFeatures, &eax, &ebx, &ecx, &edx) == 0) return sets;
  sets.Sse2 = (edx & kEdxSse2) != 0;
  const bool osSavesYmm =
      (ecx & kEcxOsxsave) != 0 && (ReadXcr0() & kXcr0SseAndAvxState) == kXcr0SseAndAvxState;
  sets.Avx = osSavesYmm && (ecx & kEcxAvx) != 0;
  if (sets.Avx && __get_cpuid_count(kLeafExtendedFeatures, 0, &eax, &ebx, &ecx, &edx) != 0)
    sets.Avx2 = (ebx & kEbxAvx2) != 0;
#endif
  return sets;
}
