#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "frame/PublishedMethods.h"
#include "frame/StoredDescription.h"

// The published properties of a class, by the names its stored description
// uses. Each entry applies one stored value through the class's setter.
template <class TTarget>
struct TPropertySetter {
  std::string_view Name;
  void (*Apply)(TTarget& target, const TModuleClass& moduleClass, const TProperty& property);
};

template <class TTarget>
void ApplyProperty(TTarget& target, std::span<const TPropertySetter<TTarget>> setters,
                   const TModuleClass& moduleClass, const TProperty& property) {
  for (const auto& setter : setters) {
    if (setter.Name == property.Name) {
      setter.Apply(target, moduleClass, property);
      return;
    }
  }
  throw std::runtime_error("Property " + property.Name + " does not exist");
}

template <class TTarget>
void ApplyProperties(TTarget& target, std::span<const TPropertySetter<TTarget>> setters,
                     const TModuleClass& moduleClass, const TPropertyList& properties) {
  for (const TProperty& property : properties)
    ApplyProperty(target, setters, moduleClass, property);
}

// Names of enumeration values as stored descriptions spell them.
template <class T>
struct TEnumName {
  std::string_view Name;
  T Value;
};

template <class T>
T EnumByName(std::span<const TEnumName<T>> names, const std::string& name) {
  for (const auto& entry : names)
    if (entry.Name == name) return entry.Value;
  throw std::runtime_error("Invalid enumeration value " + name);
}

template <class T>
std::string_view NameOfEnum(std::span<const TEnumName<T>> names, T value) {
  for (const auto& entry : names)
    if (entry.Value == value) return entry.Name;
  return {};
}
