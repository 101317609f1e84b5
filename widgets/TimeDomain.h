#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "widgets/graphics/Geometry.h"

// One curve of a time-domain data set: its samples and how a chart shows it.
struct TTimeDomainChannel {
  std::string DisplayName;
  TColor Color = kOpaque;
  std::uint8_t Alpha = 255;
  bool Visible = true;
  // MaximumTime samples, written by the editor, read by the charts.
  std::vector<float> Samples;

  float* Data() { return Samples.data(); }
  const float* Data() const { return Samples.data(); }
  int Count() const { return static_cast<int>(Samples.size()); }
};

// Time-domain data shown by an audio chart: channels of MaximumTime float
// samples each. Editor thread only. Whoever writes samples calls Changed()
// so that the charts bound to the data repaint on their next tick.
class TTimeDomain {
 public:
  bool IsImpulseResponse = false;

  // A new channel, already sized to MaximumTime samples of silence; the
  // reference lasts until the next AddChannel.
  TTimeDomainChannel& AddChannel();
  int ChannelCount() const { return static_cast<int>(FChannels.size()); }
  TTimeDomainChannel& Channel(int index) { return FChannels.at(index); }
  const TTimeDomainChannel& Channel(int index) const { return FChannels.at(index); }

  int MaximumTime() const { return FMaximumTime; }
  // Resizes every channel's buffer; allocates only when the value changes.
  void SetMaximumTime(int samples);

  void Changed() { ++FVersion; }
  // Counts the changes, for the charts to notice one.
  std::uint64_t Version() const { return FVersion; }

 private:
  std::vector<TTimeDomainChannel> FChannels;
  int FMaximumTime = 0;
  std::uint64_t FVersion = 0;
};
