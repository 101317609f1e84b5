#pragma once

#include "frame/DVSTEffect.h"

class THost;

// Which test host answers a call to the shared host callback. An effect
// record, once its entry point returned, is mapped to its host; during the
// entry point, when the record is unknown or not even passed (the version
// query), the host instantiating on the calling thread answers. Instances may
// live in several threads, so the map is shared under a lock.

void RegisterEffect(AEffect* effect, THost* host);
// Removes the mapping only while it still names this host: the record's
// address may already belong to a newer instance of another host.
void UnregisterEffect(AEffect* effect, const THost* host);
void UnregisterHost(const THost* host);
// The registered host of effect, else the host instantiating on this thread,
// else null.
THost* FindHost(AEffect* effect);

// Marks host as instantiating on this thread for the scope's life; nested
// scopes restore the outer host.
class TInstantiatingScope {
 public:
  explicit TInstantiatingScope(THost* host);
  ~TInstantiatingScope();
  TInstantiatingScope(const TInstantiatingScope&) = delete;
  TInstantiatingScope& operator=(const TInstantiatingScope&) = delete;

 private:
  THost* Outer;
};
