#pragma once

#include <optional>
#include <string>
#include <thread>

#include "frame/DVSTEffect.h"

// One call a plug-in made to the host callback, as the test host saw it.
struct THostCall {
  AEffect* Effect = nullptr;
  VstInt32 Opcode = 0;
  VstInt32 Index = 0;
  VstIntPtr Value = 0;
  void* Ptr = nullptr;
  float Opt = 0.0f;
  // For opcodes whose ptr is a text for the host (audioMasterCanDo): the text,
  // read with the published bound. Empty when ptr was null.
  std::optional<std::string> Text;
  // The text ended with a zero byte within the bound.
  bool TextTerminated = false;
  // What the host answered.
  VstIntPtr Answer = 0;
  std::thread::id Thread;
};
