#pragma once

#include "frame/VSTModule.h"

// Test modules with little or no behaviour of their own; each is built into
// its own plug-in binary.

// No editor flag, no handlers, texts longer than the host's buffers.
class TBareTestModule : public TVSTModule {
 public:
  static const TModuleClass Class;
};

// A class for which no stored description exists.
class TNoDescriptionModule : public TVSTModule {
 public:
  static const TModuleClass Class;
};

// A description that names a method the class does not publish.
class TBadHandlerModule : public TVSTModule {
 public:
  static const TModuleClass Class;
  void VSTModuleOpen(TObject* Sender);
};

// A shell offering two sub-plug-ins.
class TShellTestModule : public TVSTModule {
 public:
  static const TModuleClass Class;
  void ShellInstanciate(TObject* Sender, const std::string& UID);
  std::string Chosen;
};

// A module whose OnCreate fails; OldCreateOrder comes from its description.
class TCreateFailModule : public TVSTModule {
 public:
  static const TModuleClass Class;
  void VSTModuleCreate(TObject* Sender);
};
