#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A stored description: the ordered tree of property values a component is
// built from. Values are applied through the component's setters in the order
// they are listed; properties not listed keep their constructed defaults.

struct TIdent {  // an enumeration value or a reference to the owning module
  std::string Name;
};
struct TIdentSet {  // a set of enumeration values
  std::vector<std::string> Names;
};
struct THandler {  // the name of a published method bound to an event
  std::string Name;
};
struct TBytes {
  std::vector<std::uint8_t> Data;
};

struct TProperty;
using TPropertyList = std::vector<TProperty>;

struct TCollectionValue {  // the items of a collection, each with its own properties
  std::vector<TPropertyList> Items;
};

using TValue = std::variant<bool, std::int64_t, double, std::string, TIdent, TIdentSet, THandler,
                            TCollectionValue, TBytes>;

struct TProperty {
  std::string Name;
  TValue Value;
};

struct TStoredDescription {
  std::string ClassName;
  std::string ComponentName;
  TPropertyList Properties;
};

// Typed reads of a value; a value of another kind raises an error naming the
// property.
bool AsBoolean(const TProperty& property);
std::int32_t AsInteger(const TProperty& property);
double AsFloat(const TProperty& property);  // integers are accepted too
const std::string& AsText(const TProperty& property);
const std::string& AsIdent(const TProperty& property);
const std::vector<std::string>& AsIdentSet(const TProperty& property);
const std::string& AsHandler(const TProperty& property);
const TCollectionValue& AsCollection(const TProperty& property);
const std::vector<std::uint8_t>& AsBytes(const TProperty& property);
