#include "frame/CPU.h"

#include <cstring>
#include <iterator>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {

constexpr std::uint32_t kVendorLeaf = 0;
constexpr std::uint32_t kFeatureLeaf = 1;
constexpr std::uint32_t kCacheDescriptorLeaf = 2;
constexpr std::uint32_t kExtendedRangeLeaf = 0x80000000;
constexpr std::uint32_t kExtendedFeatureLeaf = 0x80000001;
constexpr std::uint32_t kExtendedL1CacheLeaf = 0x80000005;
constexpr std::uint32_t kExtendedL2CacheLeaf = 0x80000006;

constexpr std::uint8_t kExtendedFamilyBase = 15;

struct TVendorString {
  TCPUVendor Vendor;
  char Text[13];
};

// Searched from the last entry to the first, as the first match wins.
constexpr TVendorString kVendorStrings[] = {
    {cvAMD, "AuthenticAMD"},   {cvCentaur, "CentaurHauls"},   {cvCyrix, "CyrixInstead"},
    {cvIntel, "GenuineIntel"}, {cvTransmeta, "GenuineTMx86"}, {cvNexGen, "NexGenDriven"},
    {cvRise, "RiseRiseRise"},  {cvUMC, "UMC UMC UMC "},       {cvNSC, "Geode by NSC"},
    {cvSiS, "SiS SiS SiS "},
};

struct TFeatureBit {
  TCPUInstruction Instruction;
  unsigned Bit;
};

constexpr TFeatureBit kStandardEdxFeatures[] = {
    {isFPU, 0},   {isTSC, 4},  {isCX8, 8},   {isCMOV, 15}, {isMMX, 23},
    {isFXSR, 24}, {isSSE, 25}, {isSSE2, 26}, {isSEP, 11},
};

constexpr unsigned kSSE3EcxBit = 0;
constexpr unsigned kMonitorEcxBit = 3;
constexpr unsigned kCX16EcxBit = 13;

constexpr TFeatureBit kExtendedEdxFeatures[] = {
    {isExMMX, 22},
    {isX64, 29},
    {isEx3DNow, 30},
    {is3DNow, 31},
};

// Early Pentium Pro steppings report SEP without supporting it.
constexpr std::uint32_t kIntelSepSignatureMask = 0x0FFF3FFF;
constexpr std::uint32_t kIntelFirstSepSignature = 0x633;

// Early Duron steppings report a wrong L2 size in leaf 80000006h.
constexpr std::uint32_t kAmdDuronSignatureMask = 0xFFF;
constexpr std::uint32_t kAmdFaultyL2Signature = 0x630;
constexpr std::uint16_t kAmdFaultyL2Size = 64;

// Centaur family 6 models 7 and 8 give the L2 size in the top byte only.
constexpr std::uint8_t kCentaurByteL2Family = 6;
constexpr std::uint8_t kCentaurByteL2Models[] = {7, 8};

enum TCacheTarget : std::uint8_t { ctCodeL1, ctDataL1, ctL2, ctL3 };

struct TCacheDescriptor {
  std::uint8_t Descriptor;
  TCacheTarget Target;
  std::uint16_t SizeKB;
};

// Leaf 2 descriptors that simply state a size. 40h, 70h and 80h depend on
// what was found before or on the vendor and are handled apart.
constexpr TCacheDescriptor kCacheDescriptors[] = {
    {0x06, ctCodeL1, 8},  {0x08, ctCodeL1, 16}, {0x0A, ctDataL1, 8},  {0x0C, ctDataL1, 16},
    {0x22, ctL3, 512},    {0x23, ctL3, 1024},   {0x25, ctL3, 2048},   {0x29, ctL3, 4096},
    {0x2C, ctDataL1, 32}, {0x30, ctCodeL1, 32}, {0x39, ctL2, 128},    {0x3B, ctL2, 128},
    {0x41, ctL2, 128},    {0x79, ctL2, 128},    {0x3C, ctL2, 256},    {0x42, ctL2, 256},
    {0x7A, ctL2, 256},    {0x82, ctL2, 256},    {0x43, ctL2, 512},    {0x7B, ctL2, 512},
    {0x7F, ctL2, 512},    {0x83, ctL2, 512},    {0x86, ctL2, 512},    {0x44, ctL2, 1024},
    {0x78, ctL2, 1024},   {0x7C, ctL2, 1024},   {0x84, ctL2, 1024},   {0x87, ctL2, 1024},
    {0x45, ctL2, 2048},   {0x7D, ctL2, 2048},   {0x85, ctL2, 2048},   {0x60, ctDataL1, 16},
    {0x67, ctDataL1, 16}, {0x66, ctDataL1, 8},  {0x68, ctDataL1, 32}, {0x71, ctCodeL1, 16},
    {0x72, ctCodeL1, 32},
};

constexpr std::uint8_t kNoL3Descriptor = 0x40;
constexpr std::uint8_t kTraceCacheDescriptor = 0x70;
constexpr std::uint16_t kTraceCacheSize = 12;
constexpr std::uint8_t kCyrixL1Descriptor = 0x80;
constexpr std::uint16_t kCyrixL1Size = 8;

bool BitSet(std::uint32_t value, unsigned bit) {
  return ((value >> bit) & 1u) != 0;
}

std::uint32_t Bits(std::uint32_t value, unsigned first, unsigned count) {
  return (value >> first) & ((1u << count) - 1u);
}

bool CyrixOrNSC(TCPUVendor vendor) {
  return vendor == cvCyrix || vendor == cvNSC;
}

#if defined(__i386__) || defined(__x86_64__)

TCPU::TRegisters NativeCPUID(std::uint32_t leaf) {
  TCPU::TRegisters r;
  __cpuid_count(leaf, 0, r.Eax, r.Ebx, r.Ecx, r.Edx);
  return r;
}

#endif

#if defined(__i386__)

// CPUID exists only where bit 21 of EFLAGS can be toggled, which
// __get_cpuid_max tests. On x86_64 it is always there.
bool NativeCPUIDAvailable() {
  return __get_cpuid_max(kVendorLeaf, nullptr) != 0;
}

// Without CPUID, an FPU is present when a freshly initialised one reads back
// a clear status word and the default control word. The caller's FPU state is
// saved and restored around the probe.
bool NativeFPUPresent() {
  alignas(16) unsigned char saved[108];
  std::uint16_t status = 0xFFFF;
  std::uint16_t control = 0;
  __asm__ __volatile__(
      "fnsave %0\n\t"
      "fninit\n\t"
      "fnstsw %1\n\t"
      "fnstcw %2\n\t"
      "frstor %0"
      : "+m"(saved), "=m"(status), "=m"(control));
  constexpr std::uint16_t kControlMask = 0x103F;
  constexpr std::uint16_t kInitialControl = 0x003F;
  return status == 0 && (control & kControlMask) == kInitialControl;
}

#endif

}  // namespace

TCPU::TCPU() {
  // The processor does not change while the library is loaded, and CPUID is
  // slow where a hypervisor traps it (tens of microseconds for the whole
  // query), so the process detects once and every module copies the result.
  static const TCPU detected(TNativeDetection{});
  *this = detected;
}

TCPU::TCPU(TNativeDetection) {
#if defined(__i386__)
  if (!NativeCPUIDAvailable()) {
    if (NativeFPUPresent()) FInstructions.Include(isFPU);
    return;
  }
#endif
#if defined(__i386__) || defined(__x86_64__)
  Detect(&NativeCPUID);
#endif
}

TCPU::TCPU(const TQuery& cpuid) {
  Detect(cpuid);
}

void TCPU::Detect(const TQuery& cpuid) {
  try {
    const TRegisters leaf0 = cpuid(kVendorLeaf);
    const std::uint32_t highestLeaf = leaf0.Eax;
    FVendor = DecodeVendor(leaf0);

    if (highestLeaf >= kFeatureLeaf) {
      const TRegisters leaf1 = cpuid(kFeatureLeaf);
      FSignature = leaf1.Eax;
      FEffFamily = DecodeEffFamily(FSignature);
      FEffModel = DecodeEffModel(FSignature);
      FInstructions.Include(DecodeStandardFeatures(FVendor, leaf1));
    }

    if (highestLeaf >= kCacheDescriptorLeaf) {
      // The low byte of the first answer says how often to ask.
      TRegisters leaf2 = cpuid(kCacheDescriptorLeaf);
      const std::uint32_t passes = leaf2.Eax & 0xFF;
      for (std::uint32_t pass = 0; pass < passes; ++pass) {
        if (pass > 0) leaf2 = cpuid(kCacheDescriptorLeaf);
        ApplyCacheDescriptors(FCaches, FVendor, leaf2);
      }
    }

    const std::uint32_t highestExtendedLeaf = cpuid(kExtendedRangeLeaf).Eax;
    if (highestExtendedLeaf >= kExtendedFeatureLeaf)
      FInstructions.Include(DecodeExtendedFeatures(cpuid(kExtendedFeatureLeaf)));

    // SSE needs no execution probe: every build for x86 is compiled for SSE2,
    // so the plug-in could not have got here on a system without it.

    if (highestExtendedLeaf >= kExtendedL2CacheLeaf) {
      const TRegisters leaf80000005 = cpuid(kExtendedL1CacheLeaf);
      const TRegisters leaf80000006 = cpuid(kExtendedL2CacheLeaf);
      ApplyExtendedCaches(FCaches, FVendor, FSignature, FEffFamily, FEffModel, leaf80000005,
                          leaf80000006);
    }
  } catch (...) {
    // Processor information is a courtesy; keep what was found.
  }
}

TCPUVendor TCPU::DecodeVendor(const TRegisters& leaf0) {
  char text[12];
  std::memcpy(text, &leaf0.Ebx, 4);
  std::memcpy(text + 4, &leaf0.Edx, 4);
  std::memcpy(text + 8, &leaf0.Ecx, 4);
  for (auto entry = std::rbegin(kVendorStrings); entry != std::rend(kVendorStrings); ++entry) {
    if (std::memcmp(text, entry->Text, sizeof text) == 0) return entry->Vendor;
  }
  return cvUnknown;
}

std::uint8_t TCPU::DecodeEffFamily(std::uint32_t signature) {
  const auto family = static_cast<std::uint8_t>(Bits(signature, 8, 4));
  if (family != kExtendedFamilyBase) return family;
  return static_cast<std::uint8_t>(family + Bits(signature, 20, 8));
}

std::uint8_t TCPU::DecodeEffModel(std::uint32_t signature) {
  const auto model = static_cast<std::uint8_t>(Bits(signature, 4, 4));
  if (Bits(signature, 8, 4) != kExtendedFamilyBase) return model;
  return static_cast<std::uint8_t>(model + 16 * Bits(signature, 16, 4));
}

TCPUInstructions TCPU::DecodeStandardFeatures(TCPUVendor vendor, const TRegisters& leaf1) {
  TCPUInstructions result;
  for (const TFeatureBit& feature : kStandardEdxFeatures) {
    if (BitSet(leaf1.Edx, feature.Bit)) result.Include(feature.Instruction);
  }
  if (vendor == cvIntel && (leaf1.Eax & kIntelSepSignatureMask) < kIntelFirstSepSignature)
    result.Bits = static_cast<std::uint16_t>(result.Bits & ~TCPUInstructions::Mask(isSEP));
  if (BitSet(leaf1.Ecx, kSSE3EcxBit)) result.Include(isSSE3);
  if (vendor == cvIntel && BitSet(leaf1.Ecx, kMonitorEcxBit)) result.Include(isMONITOR);
  if (BitSet(leaf1.Ecx, kCX16EcxBit)) result.Include(isCX16);
  return result;
}

TCPUInstructions TCPU::DecodeExtendedFeatures(const TRegisters& leaf80000001) {
  TCPUInstructions result;
  for (const TFeatureBit& feature : kExtendedEdxFeatures) {
    if (BitSet(leaf80000001.Edx, feature.Bit)) result.Include(feature.Instruction);
  }
  return result;
}

void TCPU::ApplyCacheDescriptor(TCacheSizes& caches, TCPUVendor vendor, std::uint8_t descriptor) {
  switch (descriptor) {
    case kNoL3Descriptor:
      if (caches.L2 != 0) caches.L3 = 0;
      return;
    case kTraceCacheDescriptor:
      if (!CyrixOrNSC(vendor)) caches.CodeL1 = kTraceCacheSize;
      return;
    case kCyrixL1Descriptor:
      if (CyrixOrNSC(vendor)) {
        caches.CodeL1 = kCyrixL1Size;
        caches.DataL1 = kCyrixL1Size;
      }
      return;
    default:
      break;
  }
  for (const TCacheDescriptor& entry : kCacheDescriptors) {
    if (entry.Descriptor != descriptor) continue;
    switch (entry.Target) {
      case ctCodeL1:
        caches.CodeL1 = entry.SizeKB;
        break;
      case ctDataL1:
        caches.DataL1 = entry.SizeKB;
        break;
      case ctL2:
        caches.L2 = entry.SizeKB;
        break;
      case ctL3:
        caches.L3 = entry.SizeKB;
        break;
    }
    return;
  }
}

void TCPU::ApplyCacheDescriptors(TCacheSizes& caches, TCPUVendor vendor, const TRegisters& leaf2) {
  const std::uint32_t registers[] = {leaf2.Eax, leaf2.Ebx, leaf2.Ecx, leaf2.Edx};
  // Byte 0 of EAX is the pass count, not a descriptor.
  for (unsigned byte = 1; byte < 16; ++byte) {
    const std::uint32_t value = registers[byte / 4];
    ApplyCacheDescriptor(caches, vendor, static_cast<std::uint8_t>(Bits(value, 8 * (byte % 4), 8)));
  }
}

void TCPU::ApplyExtendedCaches(TCacheSizes& caches, TCPUVendor vendor, std::uint32_t signature,
                               std::uint8_t effFamily, std::uint8_t effModel,
                               const TRegisters& leaf80000005, const TRegisters& leaf80000006) {
  // Cyrix and Intel leave leaf 80000005h reserved.
  if (vendor != cvCyrix && vendor != cvIntel) {
    caches.CodeL1 = static_cast<std::uint16_t>(Bits(leaf80000005.Edx, 24, 8));
    caches.DataL1 = static_cast<std::uint16_t>(Bits(leaf80000005.Ecx, 24, 8));
  }
  const bool centaurByteL2 =
      vendor == cvCentaur && effFamily == kCentaurByteL2Family &&
      (effModel == kCentaurByteL2Models[0] || effModel == kCentaurByteL2Models[1]);
  if (vendor == cvAMD && (signature & kAmdDuronSignatureMask) == kAmdFaultyL2Signature)
    caches.L2 = kAmdFaultyL2Size;
  else if (centaurByteL2)
    caches.L2 = static_cast<std::uint16_t>(Bits(leaf80000006.Ecx, 24, 8));
  else
    caches.L2 = static_cast<std::uint16_t>(Bits(leaf80000006.Ecx, 16, 16));
}
