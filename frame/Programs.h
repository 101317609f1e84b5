#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "frame/AtomicFloatArray.h"
#include "frame/CollectionItem.h"
#include "frame/FrameTypes.h"
#include "frame/OwnedCollection.h"
#include "frame/PropertyTable.h"

// A program (the host's preset): a name and either a set of parameter values
// or, in program-chunk mode, an opaque chunk the effect module fills.
class TCustomVstProgram : public TCollectionItem {
 public:
  static constexpr std::size_t kMaxNameChars = 50;

  explicit TCustomVstProgram(TCustomVSTModule& module);

  const std::string& DisplayName() const { return FDisplayName; }
  void SetDisplayName(const std::string& name);

  // Writes a value without firing anything; ignored in program-chunk mode and
  // for an index outside the parameters.
  void SetValue(VstInt32 index, float value);
  // The value, or 0 for an index outside the parameters.
  float GetValue(VstInt32 index) const;
  bool HasValues() const { return FHasValues; }
  TAtomicFloatArray& ParameterValues() { return FParameterValues; }
  const TAtomicFloatArray& ParameterValues() const { return FParameterValues; }
  // The chunk (program-chunk mode only).
  std::vector<std::uint8_t>& ChunkData() { return FChunkData; }

  // Copies the values (when the source has any) and the name.
  void Assign(const TCustomVstProgram& source);

  TNotifyEvent OnInitialize;
  TChunkEvent OnLoadChunk;
  TChunkEvent OnStoreChunk;

  static std::span<const TPropertySetter<TCustomVstProgram>> Setters();

 private:
  std::string FDisplayName = "Init";
  bool FHasValues;
  TAtomicFloatArray FParameterValues;
  std::vector<std::uint8_t> FChunkData;
};

class TCustomVstPrograms : public TOwnedCollection<TCustomVstProgram> {
 public:
  using TOwnedCollection::TOwnedCollection;

  // Replaces the items with copies of another collection's.
  void Assign(const TCustomVstPrograms& source);

 protected:
  void Added(TCustomVstProgram& item) override;
  void Removed() override;
};
