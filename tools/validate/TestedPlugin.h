#pragma once

#include <memory>
#include <string>

#include "frame/DVSTEffect.h"
#include "tools/host/Effect.h"
#include "tools/host/Host.h"
#include "tools/host/PluginLibrary.h"

// One instance of the plug-in as a host drives it. Every call into the
// plug-in is watched for its time limit and named for the report.
class TTestedInstance {
 public:
  explicit TTestedInstance(std::unique_ptr<TEffect> effect);
  ~TTestedInstance();
  TTestedInstance(const TTestedInstance&) = delete;
  TTestedInstance& operator=(const TTestedInstance&) = delete;

  TEffect& Effect() { return *FEffect; }
  const AEffect& Record() const { return *FRecord; }
  VstInt32 Inputs() const;
  VstInt32 Outputs() const;
  VstInt32 Parameters() const;
  VstInt32 Programs() const;
  bool HasDouble() const;
  bool HasEditor() const;

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  TTextReply Text(VstInt32 opcode, std::size_t bufferSize, VstInt32 index = 0, VstIntPtr value = 0);
  float GetParameter(VstInt32 index);
  void SetParameter(VstInt32 index, float value);
  VstInt32 Program();
  void SetProgram(VstInt32 program);

  // Sample rate and maximum block size, then effMainsChanged on and
  // effStartProcess, as hosts do before processing.
  void Resume(double sampleRate, VstInt32 blockSize);
  void Suspend();

  // The single-precision slot: processReplacing, or the accumulating process
  // on zeroed outputs where the plug-in has only that.
  void ProcessFloat(float** inputs, float** outputs, VstInt32 frames);
  void ProcessDouble(double** inputs, double** outputs, VstInt32 frames);

  void Close();

 private:
  std::unique_ptr<TEffect> FEffect;
  const AEffect* FRecord;
  bool Resumed = false;
};

// The plug-in binary, loaded once per check, and its host.
class TTestedPlugin {
 public:
  explicit TTestedPlugin(const std::string& path);
  ~TTestedPlugin();

  THost& Host() { return FHost; }
  // A fresh instance after the entry point and effOpen.
  std::unique_ptr<TTestedInstance> Open();
  // The entry point alone; the caller sends effOpen.
  std::unique_ptr<TTestedInstance> Instantiate();

 private:
  TPluginLibrary Library;
  THost FHost;
};

// A name for a dispatcher opcode in reports.
const char* OpcodeName(VstInt32 opcode);
