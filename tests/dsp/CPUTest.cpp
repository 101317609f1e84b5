#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "frame/CPU.h"

namespace {

using TRegisters = TCPU::TRegisters;
using TCacheSizes = TCPU::TCacheSizes;

std::uint32_t Chars(const char* four) {
  std::uint32_t value = 0;
  std::memcpy(&value, four, 4);
  return value;
}

// Leaf 0 as a processor answers it: the text lies in EBX, EDX, ECX.
TRegisters VendorLeaf(std::uint32_t highestLeaf, const char* text) {
  return {highestLeaf, Chars(text), Chars(text + 8), Chars(text + 4)};
}

TCPUInstructions Set(std::initializer_list<TCPUInstruction> members) {
  TCPUInstructions set;
  for (TCPUInstruction member : members)
    set.Include(member);
  return set;
}

TEST(CPUDecoding, VendorStrings) {
  const std::pair<const char*, TCPUVendor> rows[] = {
      {"AuthenticAMD", cvAMD},   {"CentaurHauls", cvCentaur},   {"CyrixInstead", cvCyrix},
      {"GenuineIntel", cvIntel}, {"GenuineTMx86", cvTransmeta}, {"NexGenDriven", cvNexGen},
      {"RiseRiseRise", cvRise},  {"UMC UMC UMC ", cvUMC},       {"Geode by NSC", cvNSC},
      {"SiS SiS SiS ", cvSiS},   {"AuthenticAMx", cvUnknown},   {"HygonGenuine", cvUnknown},
  };
  for (const auto& [text, vendor] : rows)
    EXPECT_EQ(TCPU::DecodeVendor(VendorLeaf(1, text)), vendor) << text;
}

TEST(CPUDecoding, FamilyAndModelTakeExtendedFieldsOnlyForFamily15) {
  struct Row {
    std::uint32_t Signature;
    int Family;
    int Model;
  };
  const Row rows[] = {
      {0x00120F30, 16, 35},                       // extended family 1, extended model 2, model 3
      {0x00A10F11, 25, 17},                       // a current family 15 + 10 part
      {0x000106E5, 6, 14},                        // extended model ignored outside family 15
      {0x00000633, 6, 3},   {0x0FF00F00, 14, 0},  // 15 + 255 wraps in 8 bits
  };
  for (const Row& row : rows) {
    EXPECT_EQ(TCPU::DecodeEffFamily(row.Signature), row.Family) << std::hex << row.Signature;
    EXPECT_EQ(TCPU::DecodeEffModel(row.Signature), row.Model) << std::hex << row.Signature;
  }
}

TEST(CPUDecoding, EachStandardFeatureBit) {
  struct Row {
    std::uint32_t Ecx;
    std::uint32_t Edx;
    TCPUInstruction Member;
  };
  const Row rows[] = {
      {0, 1u << 0, isFPU},   {0, 1u << 4, isTSC},  {0, 1u << 8, isCX8},     {0, 1u << 11, isSEP},
      {0, 1u << 15, isCMOV}, {0, 1u << 23, isMMX}, {0, 1u << 24, isFXSR},   {0, 1u << 25, isSSE},
      {0, 1u << 26, isSSE2}, {1u << 0, 0, isSSE3}, {1u << 3, 0, isMONITOR}, {1u << 13, 0, isCX16},
  };
  for (const Row& row : rows) {
    const TRegisters leaf1{0x00000F29, 0, row.Ecx, row.Edx};
    EXPECT_EQ(TCPU::DecodeStandardFeatures(cvIntel, leaf1), Set({row.Member})) << +row.Member;
  }
  EXPECT_EQ(TCPU::DecodeStandardFeatures(cvIntel, {0x00000F29, 0, ~0u, 0}),
            Set({isSSE3, isMONITOR, isCX16}));
  EXPECT_EQ(TCPU::DecodeStandardFeatures(cvAMD, {0x00000F29, 0, ~0u, 0}), Set({isSSE3, isCX16}));
}

TEST(CPUDecoding, EarlyIntelSignaturesHaveNoSepAndExtendedBits) {
  const auto hasSep = [](TCPUVendor vendor, std::uint32_t signature) {
    return TCPU::DecodeStandardFeatures(vendor, {signature, 0, 0, 1u << 11}).Contains(isSEP);
  };
  EXPECT_FALSE(hasSep(cvIntel, 0x632));
  EXPECT_TRUE(hasSep(cvIntel, 0x633));
  EXPECT_TRUE(hasSep(cvIntel, 0x1632));   // the processor type bits count
  EXPECT_FALSE(hasSep(cvIntel, 0x4632));  // reserved bits 14 and 15 do not
  EXPECT_TRUE(hasSep(cvAMD, 0x632));

  EXPECT_EQ(TCPU::DecodeExtendedFeatures({0, 0, 0, 0xF0400000}),
            Set({isExMMX, isX64, isEx3DNow, is3DNow}));
  EXPECT_EQ(TCPU::DecodeExtendedFeatures({~0u, ~0u, ~0u, 1u << 28}), TCPUInstructions{});
}

TEST(CPUDecoding, CacheDescriptorTable) {
  struct Row {
    std::uint8_t Descriptor;
    TCacheSizes Expected;
  };
  const Row rows[] = {
      {0x06, {8, 0, 0, 0}},    {0x08, {16, 0, 0, 0}},   {0x0A, {0, 8, 0, 0}},
      {0x0C, {0, 16, 0, 0}},   {0x22, {0, 0, 0, 512}},  {0x23, {0, 0, 0, 1024}},
      {0x25, {0, 0, 0, 2048}}, {0x29, {0, 0, 0, 4096}}, {0x2C, {0, 32, 0, 0}},
      {0x30, {32, 0, 0, 0}},   {0x39, {0, 0, 128, 0}},  {0x3B, {0, 0, 128, 0}},
      {0x41, {0, 0, 128, 0}},  {0x79, {0, 0, 128, 0}},  {0x3C, {0, 0, 256, 0}},
      {0x42, {0, 0, 256, 0}},  {0x7A, {0, 0, 256, 0}},  {0x82, {0, 0, 256, 0}},
      {0x43, {0, 0, 512, 0}},  {0x7B, {0, 0, 512, 0}},  {0x7F, {0, 0, 512, 0}},
      {0x83, {0, 0, 512, 0}},  {0x86, {0, 0, 512, 0}},  {0x44, {0, 0, 1024, 0}},
      {0x78, {0, 0, 1024, 0}}, {0x7C, {0, 0, 1024, 0}}, {0x84, {0, 0, 1024, 0}},
      {0x87, {0, 0, 1024, 0}}, {0x45, {0, 0, 2048, 0}}, {0x7D, {0, 0, 2048, 0}},
      {0x85, {0, 0, 2048, 0}}, {0x60, {0, 16, 0, 0}},   {0x67, {0, 16, 0, 0}},
      {0x66, {0, 8, 0, 0}},    {0x68, {0, 32, 0, 0}},   {0x70, {12, 0, 0, 0}},
      {0x71, {16, 0, 0, 0}},   {0x72, {32, 0, 0, 0}},   {0x00, {0, 0, 0, 0}},
      {0x80, {0, 0, 0, 0}},    {0xFF, {0, 0, 0, 0}},    {0x49, {0, 0, 0, 0}},
  };
  for (const Row& row : rows) {
    TCacheSizes caches;
    TCPU::ApplyCacheDescriptor(caches, cvIntel, row.Descriptor);
    EXPECT_EQ(caches, row.Expected) << std::hex << +row.Descriptor;
  }
}

TEST(CPUDecoding, DescriptorsThatDependOnWhatCameBefore) {
  // 40h clears L3 only once an L2 size is known.
  TCacheSizes caches;
  TCPU::ApplyCacheDescriptor(caches, cvIntel, 0x22);
  TCPU::ApplyCacheDescriptor(caches, cvIntel, 0x40);
  EXPECT_EQ(caches.L3, 512);
  TCPU::ApplyCacheDescriptor(caches, cvIntel, 0x43);
  TCPU::ApplyCacheDescriptor(caches, cvIntel, 0x40);
  EXPECT_EQ(caches.L3, 0);
  EXPECT_EQ(caches.L2, 512);

  // 70h is a trace cache except on Cyrix and NSC; 80h a Cyrix/NSC L1.
  for (TCPUVendor vendor : {cvCyrix, cvNSC}) {
    TCacheSizes cyrix;
    TCPU::ApplyCacheDescriptor(cyrix, vendor, 0x70);
    EXPECT_EQ(cyrix.CodeL1, 0);
    TCPU::ApplyCacheDescriptor(cyrix, vendor, 0x80);
    EXPECT_EQ(cyrix, (TCacheSizes{8, 8, 0, 0}));
  }
}

TEST(CPUDecoding, DescriptorBytesInRegisterOrderSkippingThePassCount) {
  TCacheSizes caches;
  // Byte 0 of EAX (2Ch here) is the pass count; the data L1 from EAX byte 1
  // (0Ah) is overridden by EDX byte 3 (0Ch).
  TCPU::ApplyCacheDescriptors(caches, cvIntel, {0x00000A2C, 0x00000043, 0x00002200, 0x0C000000});
  EXPECT_EQ(caches, (TCacheSizes{0, 16, 512, 512}));
}

// A scripted CPUID: answers per leaf, repeated leaves answered in turn, and a
// log of the leaves asked. An unscripted leaf throws, like a failed read.
struct TScriptedCPUID {
  std::map<std::uint32_t, std::vector<TRegisters>> Answers;
  std::vector<std::uint32_t> Asked;

  TCPU::TQuery Query() {
    return [this](std::uint32_t leaf) {
      Asked.push_back(leaf);
      auto found = Answers.find(leaf);
      if (found == Answers.end() || found->second.empty()) throw std::runtime_error("leaf");
      const TRegisters answer = found->second.front();
      if (found->second.size() > 1) found->second.erase(found->second.begin());
      return answer;
    };
  }
};

TEST(CPUDetection, IntelWithTwoDescriptorPasses) {
  TScriptedCPUID cpuid;
  cpuid.Answers[0] = {VendorLeaf(2, "GenuineIntel")};
  cpuid.Answers[1] = {{0x00000F29, 0, 0x00000009, 0x07808911}};
  cpuid.Answers[2] = {{0x002C7002, 0, 0, 0}, {0x00004300, 0, 0, 0}};
  cpuid.Answers[0x80000000] = {{0x80000004, 0, 0, 0}};
  cpuid.Answers[0x80000001] = {{0, 0, 0, 1u << 29}};
  const TCPU cpu(cpuid.Query());

  EXPECT_EQ(cpu.Vendor(), cvIntel);
  EXPECT_EQ(cpu.Signature(), 0x00000F29u);
  EXPECT_EQ(cpu.EffFamily(), 15);
  EXPECT_EQ(cpu.EffModel(), 2);
  EXPECT_EQ(cpu.CodeL1CacheSize(), 12);
  EXPECT_EQ(cpu.DataL1CacheSize(), 32);
  EXPECT_EQ(cpu.L2CacheSize(), 512);
  EXPECT_EQ(cpu.L3CacheSize(), 0);
  EXPECT_EQ(cpu.Instructions(), Set({isFPU, isTSC, isCX8, isSEP, isCMOV, isMMX, isFXSR, isSSE,
                                     isSSE2, isSSE3, isMONITOR, isX64}));
  const std::vector<std::uint32_t> asked = {0, 1, 2, 2, 0x80000000, 0x80000001};
  EXPECT_EQ(cpuid.Asked, asked);
}

TEST(CPUDetection, ExtendedCacheLeavesByVendor) {
  struct Row {
    const char* Vendor;
    std::uint32_t Signature;
    TCacheSizes Expected;
  };
  const TRegisters l1Leaf{0, 0, 64u << 24, 32u << 24};
  const TRegisters l2Leaf{0, 0, 0x02004000, 0};
  const Row rows[] = {
      {"AuthenticAMD", 0x00A10F11, {32, 64, 512, 0}},
      {"AuthenticAMD", 0x00000630, {32, 64, 64, 0}},  // faulty early L2 report
      {"CentaurHauls", 0x00000670, {32, 64, 2, 0}},   // family 6 model 7: top byte
      {"CentaurHauls", 0x00000690, {32, 64, 512, 0}},
      {"CyrixInstead", 0x00000540, {0, 0, 512, 0}},  // L1 leaf reserved
      {"GenuineIntel", 0x000006F6, {0, 0, 512, 0}},
  };
  for (const Row& row : rows) {
    TScriptedCPUID cpuid;
    cpuid.Answers[0] = {VendorLeaf(1, row.Vendor)};
    cpuid.Answers[1] = {{row.Signature, 0, 0, 0}};
    cpuid.Answers[0x80000000] = {{0x80000006, 0, 0, 0}};
    cpuid.Answers[0x80000001] = {{}};
    cpuid.Answers[0x80000005] = {l1Leaf};
    cpuid.Answers[0x80000006] = {l2Leaf};
    const TCPU cpu(cpuid.Query());
    const TCacheSizes found{cpu.CodeL1CacheSize(), cpu.DataL1CacheSize(), cpu.L2CacheSize(),
                            cpu.L3CacheSize()};
    EXPECT_EQ(found, row.Expected) << row.Vendor << " " << std::hex << row.Signature;
  }
}

TEST(CPUDetection, StopsAtTheHighestLeafAndKeepsWhatItFoundOnFailure) {
  TScriptedCPUID vendorOnly;
  vendorOnly.Answers[0] = {VendorLeaf(0, "RiseRiseRise")};
  vendorOnly.Answers[0x80000000] = {{0x00000001, 0, 0, 0}};
  const TCPU rise(vendorOnly.Query());
  EXPECT_EQ(rise.Vendor(), cvRise);
  EXPECT_EQ(rise.Signature(), 0u);
  EXPECT_EQ(rise.Instructions(), TCPUInstructions{});
  EXPECT_EQ(vendorOnly.Asked, (std::vector<std::uint32_t>{0, 0x80000000}));

  TScriptedCPUID failing;  // no extended range leaf scripted: the read fails
  failing.Answers[0] = {VendorLeaf(1, "AuthenticAMD")};
  failing.Answers[1] = {{0x00000F48, 0, 0, 1u << 25}};
  const TCPU partial(failing.Query());
  EXPECT_EQ(partial.Vendor(), cvAMD);
  EXPECT_EQ(partial.EffFamily(), 15);
  EXPECT_EQ(partial.EffModel(), 4);
  EXPECT_EQ(partial.Instructions(), Set({isSSE}));
}

#if defined(__linux__) && (defined(__i386__) || defined(__x86_64__))

// What the kernel reports for the first processor, as name -> value.
std::map<std::string, std::string> FirstProcessorInfo() {
  std::map<std::string, std::string> fields;
  std::ifstream file("/proc/cpuinfo");
  std::string line;
  while (std::getline(file, line) && !line.empty()) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    auto trim = [](std::string text) {
      const auto first = text.find_first_not_of(" \t");
      const auto last = text.find_last_not_of(" \t");
      return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    };
    fields[trim(line.substr(0, colon))] = trim(line.substr(colon + 1));
  }
  return fields;
}

TEST(CPUDetection, LiveDetectionAgreesWithTheKernel) {
  const auto info = FirstProcessorInfo();
  if (!info.contains("vendor_id") || !info.contains("flags")) GTEST_SKIP() << "no /proc/cpuinfo";
  const TCPU cpu;

  const std::pair<const char*, TCPUVendor> vendors[] = {
      {"AuthenticAMD", cvAMD}, {"GenuineIntel", cvIntel}, {"CentaurHauls", cvCentaur}};
  for (const auto& [text, vendor] : vendors) {
    if (info.at("vendor_id") == text) {
      EXPECT_EQ(cpu.Vendor(), vendor);
    }
  }
  EXPECT_EQ(std::to_string(cpu.EffFamily()), info.at("cpu family"));
  // The kernel also adds the extended model for family 6; compare only where
  // both rules agree.
  const std::uint32_t extendedModel = (cpu.Signature() >> 16) & 0xF;
  if (((cpu.Signature() >> 8) & 0xF) == 15 || extendedModel == 0) {
    EXPECT_EQ(std::to_string(cpu.EffModel()), info.at("model"));
  }

  std::set<std::string> flags;
  std::istringstream words(info.at("flags"));
  for (std::string word; words >> word;)
    flags.insert(word);
  const std::pair<const char*, TCPUInstruction> named[] = {
      {"fpu", isFPU},   {"tsc", isTSC}, {"cx8", isCX8},   {"cmov", isCMOV}, {"mmx", isMMX},
      {"fxsr", isFXSR}, {"sse", isSSE}, {"sse2", isSSE2}, {"cx16", isCX16}, {"pni", isSSE3},
  };
  for (const auto& [flag, member] : named)
    EXPECT_EQ(cpu.Instructions().Contains(member), flags.contains(flag)) << flag;
}

#endif

}  // namespace
