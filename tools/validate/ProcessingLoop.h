#pragma once

#include <string>
#include <vector>

#include "tools/validate/AudioRun.h"
#include "tools/validate/TestedPlugin.h"

// What a host's audio thread does: the same buffers handed to the plug-in
// call after call, with no host work in between. Made before the loop, so
// that the calls themselves allocate nothing on the host's side.
template <class Sample>
class TProcessingLoop {
 public:
  // input holds one block, at least one channel; it is copied into the
  // input buffers once.
  TProcessingLoop(TTestedInstance& instance, const TAudio& input);

  void Call();
  // The first NaN, infinity or subnormal in the last call's outputs, as a
  // reason; empty when there is none.
  std::string Abnormal() const;

 private:
  TTestedInstance& Instance;
  VstInt32 Frames;
  std::vector<std::vector<Sample>> Inputs, Outputs;
  std::vector<Sample*> InPointers, OutPointers;
};

extern template class TProcessingLoop<float>;
extern template class TProcessingLoop<double>;
