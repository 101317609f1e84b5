#pragma once

#include <span>
#include <string>

#include "frame/CollectionItem.h"
#include "frame/FrameTypes.h"
#include "frame/OwnedCollection.h"
#include "frame/PropertyTable.h"

// A sub-plug-in a shell module offers: its name, identity, channel and
// parameter counts (below 0 keeps the module's own) and category.
class TCustomVstShellPlugin : public TCollectionItem {
 public:
  static constexpr std::size_t kMaxNameChars = 50;

  explicit TCustomVstShellPlugin(TCustomVSTModule& module);

  const std::string& DisplayName() const { return FDisplayName; }
  void SetDisplayName(const std::string& name);
  VstInt32 numInputs = -1;
  VstInt32 numOutputs = -1;
  VstInt32 numParams = -1;
  VstInt32 numPrograms = -1;
  TVstPluginCategory PlugCategory = cgUnknown;
  // The ID as four characters, first character in the most significant byte.
  std::string UniqueID() const;
  void SetUniqueID(const std::string& id);
  VstInt32 UniqueIDValue() const { return FUniqueID; }

  // Copies what an entry copy carries: the name.
  void Assign(const TCustomVstShellPlugin& source) { SetDisplayName(source.DisplayName()); }

  TUIDInstantiateEvent OnInstanciate;

  static std::span<const TPropertySetter<TCustomVstShellPlugin>> Setters();

 private:
  std::string FDisplayName = "Init";
  VstInt32 FUniqueID = 0;
};

class TCustomVstShellPlugins : public TOwnedCollection<TCustomVstShellPlugin> {
 public:
  using TOwnedCollection::TOwnedCollection;

  // Replaces the items with copies of another collection's.
  void Assign(const TCustomVstShellPlugins& source) {
    Clear();
    for (int i = 0; i < source.Count(); ++i)
      Add().Assign(source[i]);
  }
};
