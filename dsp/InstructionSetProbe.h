#pragma once

// What the processor and the operating system let the block routines use.
// A probe of its own, apart from the processor information the frame exposes:
// CPUID leaves 1 and 7 for the instructions, OSXSAVE and XGETBV for whether
// the system saves the 256-bit registers across context switches.
struct TInstructionSets {
  bool Sse2 = false;
  // AVX instructions present and the YMM state enabled by the system.
  bool Avx = false;
  bool Avx2 = false;
};

class TInstructionSetProbe {
 public:
  TInstructionSetProbe() = delete;

  // Asks the processor; on other architectures every member is false.
  static TInstructionSets Probe();
};
