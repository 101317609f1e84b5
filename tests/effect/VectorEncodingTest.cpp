#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <regex>
#include <string>

// The 256-bit routine's instructions must stay in that routine's own
// functions: a VEX-encoded instruction anywhere else in the plug-in could be
// reached on a processor without AVX. Scans the built binary's disassembly.
namespace {

// One disassembled line, "  50730:\tc5 fd 28 c1   \tvmovapd %ymm1,%ymm0":
// the first byte of the encoding and the mnemonic.
const std::regex kInstruction(R"(^\s*[0-9a-f]+:\t([0-9a-f]{2})[^\t]*\t(\S+))");
const std::regex kFunction(R"(^[0-9a-f]+ <(.*)>:$)");

// The VEX prefixes (and the EVEX one), which in 64-bit code are never anything else.
bool VectorEncoded(const std::string& firstByte, const std::string& mnemonic) {
  return (firstByte == "c4" || firstByte == "c5" || firstByte == "62") && mnemonic[0] == 'v';
}

TEST(VectorEncoding, OnlyThe256BitRoutineUsesVexInstructions) {
#if !defined(__x86_64__)
  GTEST_SKIP() << "the 256-bit routine exists on x86-64 only";
#else
  FILE* pipe = popen("objdump -d -C '" QUILLO_EFFECT_PLUGIN "'", "r");
  ASSERT_NE(pipe, nullptr);
  std::map<std::string, int> vexByFunction;
  std::string function;
  int lines = 0;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
    std::string line(buffer);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    ++lines;
    std::smatch match;
    if (std::regex_match(line, match, kFunction)) {
      function = match[1];
    } else if (std::regex_search(line, match, kInstruction) && VectorEncoded(match[1], match[2])) {
      ++vexByFunction[function];
    }
  }
  ASSERT_EQ(pclose(pipe), 0);
  ASSERT_GT(lines, 1000) << "no disassembly";
  int inRoutine = 0;
  for (const auto& [name, count] : vexByFunction) {
    if (name.find("Avx256") != std::string::npos)
      inRoutine += count;
    else
      ADD_FAILURE() << count << " VEX-encoded instructions in " << name;
  }
  // The scan sees the routine's own instructions, so it would see others too.
  EXPECT_GT(inRoutine, 100);
#endif
}

}  // namespace
