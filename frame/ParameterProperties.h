#pragma once

#include <atomic>
#include <span>
#include <string>

#include "frame/CollectionItem.h"
#include "frame/FrameTypes.h"
#include "frame/OwnedCollection.h"
#include "frame/PropertyTable.h"

enum TCurveType : VstInt32 { ctLinear, ctLogarithmic, ctExponential, ctFrequencyScale };

// Parameter hints for the host, as a set whose bits are the VST 2 flag bits.
using TParameterPropertiesFlags = VstInt32;
inline constexpr TParameterPropertiesFlags ppfIsSwitch = kVstParameterIsSwitch;
inline constexpr TParameterPropertiesFlags ppfUsesIntegerMinMax = kVstParameterUsesIntegerMinMax;
inline constexpr TParameterPropertiesFlags ppfUsesFloatStep = kVstParameterUsesFloatStep;
inline constexpr TParameterPropertiesFlags ppfUsesIntStep = kVstParameterUsesIntStep;
inline constexpr TParameterPropertiesFlags ppfSupportsDisplayIndex =
    kVstParameterSupportsDisplayIndex;
inline constexpr TParameterPropertiesFlags ppfSupportsDisplayCategory =
    kVstParameterSupportsDisplayCategory;
inline constexpr TParameterPropertiesFlags ppfCanRamp = kVstParameterCanRamp;

// One parameter the plug-in shows to the host: its real-unit range, the curve
// that maps it onto the host's 0..1, its texts, hints and events.
class TCustomVstParameterProperty : public TCollectionItem {
 public:
  static constexpr std::size_t kMaxNameChars = 30;
  static constexpr std::size_t kMaxUnitsChars = 8;
  static constexpr std::size_t kMaxShortLabelChars = 7;

  explicit TCustomVstParameterProperty(TCustomVSTModule& module);

  float Min = 0.0f;
  float Max = 1.0f;
  TCurveType Curve = ctLinear;
  float CurveFactor = 1.0f;
  float SmoothingFactor = 1.0f;
  bool CanBeAutomated = true;
  bool ReportVST2Properties = false;
  float StepFloat = 0.0f;
  float SmallStepFloat = 0.0f;
  float LargeStepFloat = 0.0f;
  TParameterPropertiesFlags Flags = 0;
  VstInt32 MinInteger = 0;
  VstInt32 MaxInteger = 0;
  VstInt32 StepInteger = 0;
  VstInt32 LargeStepInteger = 0;

  const std::string& DisplayName() const { return FDisplayName; }
  void SetDisplayName(const std::string& name);
  const std::string& Units() const { return FUnits; }
  void SetUnits(const std::string& units);
  const std::string& ShortLabel() const { return FShortLabel; }
  void SetShortLabel(const std::string& label);

  // Two-stage smoothing of the values the host sets; factor 1 passes them
  // through unchanged.
  float SmoothValue(float value);

  // Copies what a description copy carries: the name.
  void Assign(const TCustomVstParameterProperty& source) { SetDisplayName(source.DisplayName()); }

  TParameterChangeEvent OnParameterChange;
  TCustomParameterTextEvent OnCustomParameterLabel;
  TCustomParameterTextEvent OnCustomParameterDisplay;

  static std::span<const TPropertySetter<TCustomVstParameterProperty>> Setters();

 private:
  std::string FDisplayName;
  std::string FUnits;
  std::string FShortLabel;
  std::atomic<float> SmoothState1{0.0f};
  std::atomic<float> SmoothState2{0.0f};
};

class TCustomVstParameterProperties : public TOwnedCollection<TCustomVstParameterProperty> {
 public:
  using TOwnedCollection::TOwnedCollection;

  // Replaces the items with copies of another collection's.
  void Assign(const TCustomVstParameterProperties& source);

 protected:
  void Added(TCustomVstParameterProperty& item) override;
  void Removed() override;
};
