#include "frame/StoredDescription.h"

#include <limits>
#include <stdexcept>

namespace {

[[noreturn]] void InvalidValue(const TProperty& property) {
  throw std::runtime_error("Invalid property value for " + property.Name);
}

template <class T>
const T& Get(const TProperty& property) {
  if (const T* value = std::get_if<T>(&property.Value)) return *value;
  InvalidValue(property);
}

}  // namespace

bool AsBoolean(const TProperty& property) {
  return Get<bool>(property);
}

std::int32_t AsInteger(const TProperty& property) {
  const std::int64_t value = Get<std::int64_t>(property);
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    InvalidValue(property);
  return static_cast<std::int32_t>(value);
}

double AsFloat(const TProperty& property) {
  if (const auto* integer = std::get_if<std::int64_t>(&property.Value))
    return static_cast<double>(*integer);
  return Get<double>(property);
}

const std::string& AsText(const TProperty& property) {
  return Get<std::string>(property);
}
const std::string& AsIdent(const TProperty& property) {
  return Get<TIdent>(property).Name;
}
const std::vector<std::string>& AsIdentSet(const TProperty& property) {
  return Get<TIdentSet>(property).Names;
}
const std::string& AsHandler(const TProperty& property) {
  return Get<THandler>(property).Name;
}
const TCollectionValue& AsCollection(const TProperty& property) {
  return Get<TCollectionValue>(property);
}
const std::vector<std::uint8_t>& AsBytes(const TProperty& property) {
  return Get<TBytes>(property).Data;
}
