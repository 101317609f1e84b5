#pragma once

#include <memory>
#include <vector>

class TCustomVSTModule;

// A collection of items owned by the module; items are addressed by position
// and destroyed with the collection. Derived collections hear about items
// being added and removed.
template <class TItem>
class TOwnedCollection {
 public:
  explicit TOwnedCollection(TCustomVSTModule& owner) : Owner(&owner) {}
  virtual ~TOwnedCollection() = default;
  TOwnedCollection(const TOwnedCollection&) = delete;
  TOwnedCollection& operator=(const TOwnedCollection&) = delete;

  int Count() const { return static_cast<int>(Items.size()); }
  TItem& operator[](int index) const { return *Items[static_cast<std::size_t>(index)]; }
  bool Contains(int index) const { return index >= 0 && index < Count(); }
  TCustomVSTModule& VSTModule() const { return *Owner; }

  TItem& Add() {
    Items.push_back(std::make_unique<TItem>(*Owner));
    TItem& item = *Items.back();
    item.SetIndex(Count() - 1);
    Added(item);
    return item;
  }

  void Delete(int index) {
    Items.erase(Items.begin() + index);
    for (int i = index; i < Count(); ++i)
      (*this)[i].SetIndex(i);
    Removed();
  }

  void Clear() {
    while (Count() > 0)
      Delete(Count() - 1);
  }

 protected:
  virtual void Added(TItem&) {}
  virtual void Removed() {}

 private:
  TCustomVSTModule* Owner;
  std::vector<std::unique_ptr<TItem>> Items;
};
