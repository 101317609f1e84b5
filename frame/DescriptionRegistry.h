#pragma once

#include <string_view>

#include "frame/StoredDescription.h"

// Stored descriptions are found by the name of the class they describe. Each
// description lives in its own source file and registers itself there:
//
//   const TStoredDescription& MyModuleDescription() { static const ... ; }
//   static const TDescriptionRegistration kRegistration{"TMyModule", &MyModuleDescription};
using TDescriptionSource = const TStoredDescription& (*)();

class TDescriptionRegistration {
 public:
  TDescriptionRegistration(std::string_view className, TDescriptionSource source);
};

// The description registered for className, or nullptr.
const TStoredDescription* FindStoredDescription(std::string_view className);
