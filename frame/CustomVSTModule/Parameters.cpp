#include <cmath>

#include "frame/CustomVSTModule.h"
#include "frame/HostText.h"
#include "frame/NumberText.h"
#include "frame/ThreadFlags.h"

namespace {

constexpr const char* kUndefined = "undefined";
constexpr std::size_t kMaxHostNumberText = 256;

float Clamp01(float value) {
  if (!(value >= 0.0f)) return 0.0f;  // also NaN
  return value > 1.0f ? 1.0f : value;
}

// The logarithmic and exponential curves are defined for every finite
// factor above -1 except 0.
bool UsableCurveFactor(float factor) {
  return std::isfinite(factor) && factor > -1.0f && factor != 0.0f;
}

}  // namespace

bool TCustomVSTModule::InHostSetParameter() const {
  return IsThreadFlagSet(this, TThreadFlag::InHostSetParameter);
}

bool TCustomVSTModule::InParameterChange() const {
  return IsThreadFlagSet(this, TThreadFlag::InParameterChange);
}

bool TCustomVSTModule::IsParameterIndex(VstInt32 index) const {
  return index >= 0 && index < numParams() && index < FParameterProperties->Count();
}

TAtomicFloatArray* TCustomVSTModule::CurrentValues() {
  if (IsProgramChunkMode()) return nullptr;
  if (FPrograms->Count() > 0) {
    const VstInt32 current = FCurrentProgram.load();
    if (FPrograms->Contains(current)) return &(*FPrograms)[current].ParameterValues();
  }
  return &FParameterValues;
}

void TCustomVSTModule::ParameterDescriptionsChanged() {
  RefreshNumParams();
  if (IsProgramChunkMode()) return;
  const auto count = static_cast<std::size_t>(FParameterProperties->Count());
  if (FPrograms->Count() > 0) {
    for (int i = 0; i < FPrograms->Count(); ++i) {
      TCustomVstProgram& program = (*FPrograms)[i];
      if (program.HasValues()) program.ParameterValues().Resize(count);
    }
  } else {
    FParameterValues.Resize(count);
  }
}

void TCustomVSTModule::SetParameterValue(VstInt32 index, float value) {
  const TThreadFlagGuard guard(this, TThreadFlag::InParameterChange);
  if (!guard.Acquired()) return;
  if (!IsParameterIndex(index)) throw std::out_of_range("Index out of bounds");
  TCustomVstParameterProperty& description = (*FParameterProperties)[index];
  // Handlers get a reference to a local copy, which is stored back once they
  // ran: a handler that changes it changes the stored value, and the stored
  // value is always written whole.
  TAtomicFloatArray* values = CurrentValues();
  const auto slot = static_cast<std::size_t>(index);
  if (values != nullptr && slot < values->Count()) values->Set(slot, value);
  if (description.OnParameterChange) description.OnParameterChange(this, index, value);
  if (OnParameterChange) OnParameterChange(this, index, value);
  if (values != nullptr && slot < values->Count()) values->Set(slot, value);
  SetEditorNeedsUpdate();
}

float TCustomVSTModule::GetParameterValue(VstInt32 index) {
  // Checked first: the effect module's chunk handler is only asked about
  // parameters that exist.
  if (!IsParameterIndex(index)) return 0.0f;
  if (IsProgramChunkMode()) return OnGetChunkParameter ? OnGetChunkParameter(this, index) : 0.0f;
  const TAtomicFloatArray* values = CurrentValues();
  const auto slot = static_cast<std::size_t>(index);
  return values != nullptr && slot < values->Count() ? values->Get(slot) : 0.0f;
}

void TCustomVSTModule::SetParameterValueAutomated(VstInt32 index, float value) {
  if (!IsParameterIndex(index)) return;
  SetParameterValue(index, value);
  // A change that came from the host is not echoed back to it.
  if ((*FParameterProperties)[index].CanBeAutomated && FHostCallback != nullptr &&
      !InHostSetParameter())
    HostAutomate(index, ParameterToNormalized(index, value));
}

float TCustomVSTModule::ParameterToNormalized(VstInt32 index, float value) const {
  if (!IsParameterIndex(index)) return 0.0f;
  const TCustomVstParameterProperty& p = (*FParameterProperties)[index];
  const float range = p.Max - p.Min;
  if (range == 0.0f || !std::isfinite(range)) return 0.0f;
  float f = (value - p.Min) / range;
  const float cf = p.CurveFactor;
  switch (p.Curve) {
    case ctLinear:
      break;
    case ctLogarithmic:
      if (UsableCurveFactor(cf)) f = std::log(cf * f + 1.0f) / std::log(cf + 1.0f);
      break;
    case ctExponential:
      if (UsableCurveFactor(cf)) f = (std::pow(cf + 1.0f, f) - 1.0f) / cf;
      break;
    case ctFrequencyScale: {
      // Without a usable logarithm of the range the mapping stays linear.
      const float ratio = p.Min != 0.0f ? p.Max / p.Min : p.Max;
      const float logRatio = ratio > 0.0f ? std::log(ratio) : 0.0f;
      if (logRatio == 0.0f || !std::isfinite(logRatio)) break;
      const float scaled = p.Min != 0.0f ? (f * p.Max) / p.Min : f * p.Max;
      f = std::log(scaled + 1.0f) / logRatio;
      break;
    }
  }
  return Clamp01(f);
}

float TCustomVSTModule::NormalizedToParameter(VstInt32 index, float value) {
  if (!IsParameterIndex(index)) return 0.0f;
  TCustomVstParameterProperty& p = (*FParameterProperties)[index];
  const float cf = p.CurveFactor;
  float n = value;
  if (p.Curve == ctLogarithmic && UsableCurveFactor(cf))
    n = (std::pow(cf + 1.0f, value) - 1.0f) / cf;
  else if (p.Curve == ctExponential && UsableCurveFactor(cf))
    n = std::log(cf * value + 1.0f) / std::log(cf + 1.0f);
  // Formed in double and rounded once: a product rounded to float before the
  // sum would move automated values off the ones the host sent.
  const double min = p.Min;
  const double range = static_cast<double>(p.Max) - min;
  const float real = range == 0.0 ? p.Min : static_cast<float>(range * n + min);
  return p.SmoothValue(real);
}

void TCustomVSTModule::HostSetParameter(VstInt32 index, float value) {
  // A host value that is not a number would be stored as one.
  if (!std::isfinite(value)) return;
  const TThreadFlagGuard guard(this, TThreadFlag::InHostSetParameter);
  if (!guard.Acquired()) return;
  if (IsParameterIndex(index))
    SetParameterValue(index, NormalizedToParameter(index, value));
  else if (OnParameterSizeFailed)
    OnParameterSizeFailed(this);
}

float TCustomVSTModule::HostGetParameter(VstInt32 index) {
  if (!IsParameterIndex(index)) return 0.0f;
  return ParameterToNormalized(index, GetParameterValue(index));
}

void TCustomVSTModule::GetParameterName(VstInt32 index, char* text) {
  if (!IsParameterIndex(index)) return WriteHostText(text, kVstMaxParamNameLen, kUndefined);
  WriteHostText(text, kVstMaxParamNameLen, (*FParameterProperties)[index].DisplayName());
}

void TCustomVSTModule::GetParameterLabel(VstInt32 index, char* text) {
  if (!IsParameterIndex(index)) return WriteHostText(text, kVstMaxParamLabelLen, kUndefined);
  TCustomVstParameterProperty& description = (*FParameterProperties)[index];
  std::string label = description.Units();
  if (description.OnCustomParameterLabel) description.OnCustomParameterLabel(this, index, label);
  WriteHostText(text, kVstMaxParamLabelLen, label);
}

void TCustomVSTModule::GetParameterDisplay(VstInt32 index, char* text) {
  if (!IsParameterIndex(index)) return WriteHostText(text, kVstMaxParamDisplayLen, kUndefined);
  TCustomVstParameterProperty& description = (*FParameterProperties)[index];
  std::string display = FormatParameterValue(GetParameterValue(index));
  if (description.OnCustomParameterDisplay)
    description.OnCustomParameterDisplay(this, index, display);
  WriteHostText(text, kVstMaxParamDisplayLen, display);
}

std::string TCustomVSTModule::FormatParameterValue(float value) const {
  // The most digits that fit the host's display buffer: numbers are never cut.
  return FormatGeneralNumber(value, kVstMaxParamDisplayLen - 1, DecimalSeparator());
}

bool TCustomVSTModule::CanParameterBeAutomated(VstInt32 index) {
  if (!IsParameterIndex(index)) return true;
  return (*FParameterProperties)[index].CanBeAutomated;
}

bool TCustomVSTModule::StringToParameter(VstInt32 index, const char* text) {
  if (text == nullptr || !IsParameterIndex(index)) return false;
  const auto number = ParseRealNumber(ReadHostText(text, kMaxHostNumberText), DecimalSeparator());
  if (!number) return false;
  SetParameterValueAutomated(index, *number);
  return true;
}

bool TCustomVSTModule::GetParameterProperties(VstInt32 index, VstParameterProperties* properties) {
  if (!IsParameterIndex(index)) return false;
  const TCustomVstParameterProperty& p = (*FParameterProperties)[index];
  if (!p.ReportVST2Properties) return false;
  properties->stepFloat = p.StepFloat;
  properties->smallStepFloat = p.SmallStepFloat;
  properties->largeStepFloat = p.LargeStepFloat;
  WriteHostText(properties->label, sizeof(properties->label), p.DisplayName());
  WriteHostText(properties->shortLabel, sizeof(properties->shortLabel), p.ShortLabel());
  properties->minInteger = p.MinInteger;
  properties->maxInteger = p.MaxInteger;
  properties->stepInteger = p.StepInteger;
  properties->largeStepInteger = p.LargeStepInteger;
  properties->displayIndex = 0;
  properties->flags = p.Flags;
  return true;
}
