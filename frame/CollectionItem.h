#pragma once

#include "frame/Object.h"

class TCustomVSTModule;

// An item of one of the module's collections. It knows its module and its
// position in the collection.
class TCollectionItem : public TObject {
 public:
  explicit TCollectionItem(TCustomVSTModule& module) : Module(&module) {}

  TCustomVSTModule& VSTModule() const { return *Module; }
  int Index() const { return FIndex; }
  void SetIndex(int index) { FIndex = index; }

 private:
  TCustomVSTModule* Module;
  int FIndex = -1;
};
