#pragma once

#include <cstdint>
#include <functional>

// Information about the processor the plug-in runs on, for effect modules and
// editors. Nothing in the frame or the DSP depends on it.

enum TCPUVendor : std::uint8_t {
  cvUnknown,
  cvAMD,
  cvCentaur,
  cvCyrix,
  cvIntel,
  cvTransmeta,
  cvNexGen,
  cvRise,
  cvUMC,
  cvNSC,
  cvSiS,
};

// Bit n of TCPUInstructions stands for the member with ordinal n.
enum TCPUInstruction : std::uint8_t {
  isFPU,
  isTSC,
  isCX8,
  isSEP,
  isCMOV,
  isMMX,
  isFXSR,
  isSSE,
  isSSE2,
  isSSE3,
  isMONITOR,
  isCX16,
  isX64,
  isExMMX,
  isEx3DNow,
  is3DNow,
};

struct TCPUInstructions {
  std::uint16_t Bits = 0;

  constexpr bool Contains(TCPUInstruction instruction) const {
    return (Bits & Mask(instruction)) != 0;
  }
  constexpr void Include(TCPUInstruction instruction) {
    Bits = static_cast<std::uint16_t>(Bits | Mask(instruction));
  }
  constexpr void Include(TCPUInstructions instructions) {
    Bits = static_cast<std::uint16_t>(Bits | instructions.Bits);
  }
  constexpr bool operator==(const TCPUInstructions&) const = default;

  static constexpr std::uint16_t Mask(TCPUInstruction instruction) {
    return static_cast<std::uint16_t>(1u << instruction);
  }
};

// Detection runs once, in the constructor, through the CPUID instruction. On a
// processor other than x86 every field stays 0.
class TCPU {
 public:
  // The four registers one CPUID leaf answers with.
  struct TRegisters {
    std::uint32_t Eax = 0;
    std::uint32_t Ebx = 0;
    std::uint32_t Ecx = 0;
    std::uint32_t Edx = 0;
    bool operator==(const TRegisters&) const = default;
  };

  // Cache sizes in KB. A code L1 size of 12 stands for a 12K-uop trace cache.
  struct TCacheSizes {
    std::uint16_t CodeL1 = 0;
    std::uint16_t DataL1 = 0;
    std::uint16_t L2 = 0;
    std::uint16_t L3 = 0;
    bool operator==(const TCacheSizes&) const = default;
  };

  // Answers one CPUID leaf (with ECX = 0).
  using TQuery = std::function<TRegisters(std::uint32_t leaf)>;

  // Detects the processor the code runs on.
  TCPU();
  // Detects from the answers of the given query, as on a processor that has
  // CPUID. An exception from the query ends detection, keeping what was found.
  explicit TCPU(const TQuery& cpuid);

  TCPUVendor Vendor() const { return FVendor; }
  std::uint32_t Signature() const { return FSignature; }
  std::uint8_t EffFamily() const { return FEffFamily; }
  std::uint8_t EffModel() const { return FEffModel; }
  std::uint16_t CodeL1CacheSize() const { return FCaches.CodeL1; }
  std::uint16_t DataL1CacheSize() const { return FCaches.DataL1; }
  std::uint16_t L2CacheSize() const { return FCaches.L2; }
  std::uint16_t L3CacheSize() const { return FCaches.L3; }
  TCPUInstructions Instructions() const { return FInstructions; }

  // Decoding of register values, free of the instruction itself.
  static TCPUVendor DecodeVendor(const TRegisters& leaf0);
  static std::uint8_t DecodeEffFamily(std::uint32_t signature);
  static std::uint8_t DecodeEffModel(std::uint32_t signature);
  static TCPUInstructions DecodeStandardFeatures(TCPUVendor vendor, const TRegisters& leaf1);
  static TCPUInstructions DecodeExtendedFeatures(const TRegisters& leaf80000001);
  // Applies one descriptor byte of leaf 2 to the sizes found so far.
  static void ApplyCacheDescriptor(TCacheSizes& caches, TCPUVendor vendor, std::uint8_t descriptor);
  // Applies descriptor bytes 1 to 15 of one leaf 2 answer, in register order.
  static void ApplyCacheDescriptors(TCacheSizes& caches, TCPUVendor vendor,
                                    const TRegisters& leaf2);
  // Applies the extended cache leaves 80000005h and 80000006h.
  static void ApplyExtendedCaches(TCacheSizes& caches, TCPUVendor vendor, std::uint32_t signature,
                                  std::uint8_t effFamily, std::uint8_t effModel,
                                  const TRegisters& leaf80000005, const TRegisters& leaf80000006);

 private:
  struct TNativeDetection {};
  explicit TCPU(TNativeDetection);
  void Detect(const TQuery& cpuid);

  TCPUVendor FVendor = cvUnknown;
  std::uint32_t FSignature = 0;
  std::uint8_t FEffFamily = 0;
  std::uint8_t FEffModel = 0;
  TCacheSizes FCaches;
  TCPUInstructions FInstructions;
};
