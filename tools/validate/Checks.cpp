#include "tools/validate/Checks.h"

const std::vector<TCheck>& AllChecks() {
  static const std::vector<TCheck> checks{
      {"scan", 1, &CheckScan},
      {"scan-before-resume", 1, &CheckScanBeforeResume},
      {"instances", 1, &CheckInstances},
      {"texts", 2, &CheckTexts},
      {"parameter-values", 2, &CheckParameterValues},
      {"processing", 3, &CheckProcessing},
      {"allocation", 3, &CheckAllocation},
      {"block-invariance", 5, &CheckBlockInvariance},
      {"state", 6, &CheckState},
      {"instance-threads", 7, &CheckInstanceThreads},
      {"automation", 7, &CheckAutomation},
      {"editor", 8, &CheckEditor},
  };
  return checks;
}
