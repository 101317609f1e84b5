#include "frame/ModuleEnums.h"

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

std::span<const TEnumName<TVstCanDo>> CanDoNames() {
  // The set elements carry the names of the capabilities; those that start
  // with a digit are written with a leading underscore.
  static constexpr TEnumName<TVstCanDo> names[] = {
      {"sendVstEvents", sendVstEvents},
      {"sendVstMidiEvent", sendVstMidiEvent},
      {"sendVstTimeInfo", sendVstTimeInfo},
      {"receiveVstEvents", receiveVstEvents},
      {"receiveVstMidiEvent", receiveVstMidiEvent},
      {"receiveVstTimeInfo", receiveVstTimeInfo},
      {"offline", offline},
      {"plugAsChannelInsert", plugAsChannelInsert},
      {"plugAsSend", plugAsSend},
      {"mixDryWet", mixDryWet},
      {"noRealTime", noRealTime},
      {"multipass", multipass},
      {"metapass", metapass},
      {"_1in1out", _1in1out},
      {"_1in2out", _1in2out},
      {"_2in1out", _2in1out},
      {"_2in2out", _2in2out},
      {"_2in4out", _2in4out},
      {"_4in2out", _4in2out},
      {"_4in4out", _4in4out},
      {"_4in8out", _4in8out},
      {"_8in4out", _8in4out},
      {"_8in8out", _8in8out},
      {"midiProgramNames", midiProgramNames},
      {"LiveWithoutToolbar", LiveWithoutToolbar},
      {"conformsToWindowRules", conformsToWindowRules},
      {"bypass", bypass},
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
