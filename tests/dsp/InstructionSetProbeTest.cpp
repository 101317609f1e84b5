#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "dsp/InstructionSetProbe.h"

namespace {

// The flags Linux reports for the first processor, which it takes from the
// same CPUID leaves and clears where the system does not save the state.
std::set<std::string> KernelFlags() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("flags", 0) != 0) continue;
    std::istringstream words(line.substr(line.find(':') + 1));
    std::set<std::string> flags;
    for (std::string word; words >> word;)
      flags.insert(word);
    return flags;
  }
  return {};
}

TEST(InstructionSetProbe, AgreesWithTheKernel) {
#if !(defined(__i386__) || defined(__x86_64__))
  const TInstructionSets sets = TInstructionSetProbe::Probe();
  EXPECT_FALSE(sets.Sse2 || sets.Avx || sets.Avx2);
#else
  const std::set<std::string> flags = KernelFlags();
  if (flags.empty()) GTEST_SKIP() << "no /proc/cpuinfo";
  const TInstructionSets sets = TInstructionSetProbe::Probe();
  EXPECT_EQ(sets.Sse2, flags.count("sse2") == 1);
  EXPECT_EQ(sets.Avx, flags.count("avx") == 1);
  EXPECT_EQ(sets.Avx2, flags.count("avx2") == 1);
#endif
}

}  // namespace
