#pragma once

#include <vector>

#include "tools/validate/CheckContext.h"

// The battery: every check with the lowest level that runs it. A check
// passes by returning and fails or skips by throwing (CheckOutcome.h); it
// runs in a process of its own.
struct TCheck {
  const char* Name;
  int Level;
  void (*Run)(const TCheckContext& context);
};

const std::vector<TCheck>& AllChecks();

// Scanning as hosts do it, repeated; opcodes and processing before the
// first resume; many instances one after another.
void CheckScan(const TCheckContext& context);
void CheckScanBeforeResume(const TCheckContext& context);
void CheckInstances(const TCheckContext& context);
// Instances opened, run and closed from several threads at once.
void CheckInstanceThreads(const TCheckContext& context);
// Every text and record the plug-in writes for the host, at its published
// size, guarded.
void CheckTexts(const TCheckContext& context);
// setParameter with values outside 0..1, NaN and infinities.
void CheckParameterValues(const TCheckContext& context);
// Rates, block sizes, precisions and in-place buffers on test signals.
void CheckProcessing(const TCheckContext& context);
// The same input in different block sizes gives the same output.
void CheckBlockInvariance(const TCheckContext& context);
// Parameters and program carried to a fresh instance; programs keep their
// values and names.
void CheckState(const TCheckContext& context);
// Automation from one thread while another processes.
void CheckAutomation(const TCheckContext& context);
// No allocation and no lock in processing.
void CheckAllocation(const TCheckContext& context);
// The editor opened, idled and closed in a window of ours.
void CheckEditor(const TCheckContext& context);
