#pragma once

#include "frame/DVSTEffect.h"

// Fills the record's six function slots. Each slot finds its module through
// the record and catches everything, so nothing thrown reaches the host.
void InstallRecordSlots(AEffect& effect);
