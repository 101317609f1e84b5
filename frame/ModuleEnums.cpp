#include "frame/ModuleEnums.h"

#include <stdexcept>
#include <string>

std::span<const TEnumName<TVstPluginCategory>> PluginCategoryNames() {
  static constexpr TEnumName<TVstPluginCategory> names[] = {
      {"cgUnknown", cgUnknown},
      {"cgEffect", cgEffect},
      {"cgSynth", cgSynth},
      {"cgAnalysis", cgAnalysis},
      {"cgMastering", cgMastering},
      {"cgSpacializer", cgSpacializer},
      {"cgRoomFx", cgRoomFx},
      {"cgSurroundFx", cgSurroundFx},
      {"cgRestoration", cgRestoration},
      {"cgOfflineProcess", cgOfflineProcess},
      {"cgShell", cgShell},
      {"cgGenerator", cgGenerator},
  };
  return names;
}

std::span<const TEnumName<TEffFlags>> EffFlagNames() {
  static constexpr TEnumName<TEffFlags> names[] = {
      {"effFlagsHasEditor", effFlagsHasEditor},
      {"effFlagsHasClip", effFlagsHasClip},
      {"effFlagsHasVu", effFlagsHasVu},
      {"effFlagsCanMono", effFlagsCanMono},
      {"effFlagsCanReplacing", effFlagsCanReplacing},
      {"effFlagsProgramChunks", effFlagsProgramChunks},
      {"effFlagsIsSynth", effFlagsIsSynth},
      {"effFlagsNoSoundInStop", effFlagsNoSoundInStop},
      {"effFlagsExtIsAsync", effFlagsExtIsAsync},
      {"effFlagsExtHasBuffer", effFlagsExtHasBuffer},
      {"effFlagsCanDoubleReplacing", effFlagsCanDoubleReplacing},
  };
  return names;
}

std::span<const TEnumName<TProcessingMode>> ProcessingModeNames() {
  static constexpr TEnumName<TProcessingMode> names[] = {
      {"pmNormal", pmNormal},
      {"pmBlockSave", pmBlockSave},
      {"pmCopy", pmCopy},
      {"pmMute", pmMute},
  };
  return names;
}

std::span<const TEnumName<TCurveType>> CurveTypeNames() {
  static constexpr TEnumName<TCurveType> names[] = {
      {"ctLinear", ctLinear},
      {"ctLogarithmic", ctLogarithmic},
      {"ctExponential", ctExponential},
      {"ctFrequencyScale", ctFrequencyScale},
  };
  return names;
}

std::span<const TEnumName<TParameterPropertiesFlags>> ParameterFlagNames() {
  static constexpr TEnumName<TParameterPropertiesFlags> names[] = {
      {"ppfIsSwitch", ppfIsSwitch},
      {"ppfUsesIntegerMinMax", ppfUsesIntegerMinMax},
      {"ppfUsesFloatStep", ppfUsesFloatStep},
      {"ppfUsesIntStep", ppfUsesIntStep},
      {"ppfSupportsDisplayIndex", ppfSupportsDisplayIndex},
      {"ppfSupportsDisplayCategory", ppfSupportsDisplayCategory},
      {"ppfCanRamp", ppfCanRamp},
  };
  return names;
}

TVstCanDo CanDoByName(const std::string& name) {
  for (const TCanDoText& entry : kCanDoTexts) {
    const std::string text = entry.Text;
    const bool startsWithDigit = text[0] >= '0' && text[0] <= '9';
    if (name == (startsWithDigit ? "_" + text : text)) return entry.CanDo;
  }
  throw std::runtime_error("Invalid enumeration value " + name);
}
