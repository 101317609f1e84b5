#include "widgets/TimeDomain.h"

#include <algorithm>

TTimeDomainChannel& TTimeDomain::AddChannel() {
  TTimeDomainChannel& channel = FChannels.emplace_back();
  channel.Samples.assign(FMaximumTime, 0.0f);
  Changed();
  return channel;
}

void TTimeDomain::SetMaximumTime(int samples) {
  samples = std::max(0, samples);
  if (samples == FMaximumTime) return;
  FMaximumTime = samples;
  for (TTimeDomainChannel& channel : FChannels)
    channel.Samples.assign(samples, 0.0f);
  Changed();
}
