#pragma once

#include <memory>
#include <string>

#include "tools/host/Host.h"
#include "tools/host/PluginLibrary.h"

// The built effect plug-in, loaded and resumed as a host would.
class TEffectFixture {
 public:
  TEffectFixture() : Library(QUILLO_EFFECT_PLUGIN), Effect(Host.Instantiate(Library)) {
    Effect->Dispatch(effOpen);
    Effect->Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Effect->Dispatch(effSetBlockSize, 0, 512);
    Effect->Dispatch(effMainsChanged, 0, 1);
  }

  void SelectProgram(int program) { Effect->Dispatch(effSetProgram, 0, program); }

  // Sets a level in dB through the host's text entry.
  void SetLevel(int harmonic, float decibels) {
    std::string text = std::to_string(decibels);
    Effect->Dispatch(effString2Parameter, harmonic, 0, text.data());
  }

  TRecordingHost Host;
  TPluginLibrary Library;
  std::unique_ptr<TEffect> Effect;
};
