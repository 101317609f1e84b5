#pragma once

#include <functional>
#include <span>
#include <string_view>
#include <typeinfo>
#include <utility>

class TCustomVSTModule;

// Events are method references: a routine bound to its object. An unassigned
// event is empty and is skipped by whoever fires it.
template <class Signature>
using TEvent = std::function<Signature>;

// A method a module class publishes so that its stored description can bind
// it to an event by name. Binding checks that the method's signature is the
// event's.
struct TPublishedMethod {
  std::string_view Name;
  const std::type_info* EventType;
  void (*Bind)(TCustomVSTModule& module, void* event);
};

// Name, parent and published methods of a module class; the chain of parents
// ends below TCustomVSTModule.
struct TModuleClass {
  std::string_view Name;
  const TModuleClass* Parent;
  std::span<const TPublishedMethod> Methods;
};

namespace published_detail {

template <class Method>
struct MethodTraits;

template <class C, class R, class... A>
struct MethodTraits<R (C::*)(A...)> {
  using Class = C;
  using Event = TEvent<R(A...)>;
  template <auto Method>
  static void Bind(TCustomVSTModule& module, void* event) {
    C& object = static_cast<C&>(module);
    *static_cast<Event*>(event) = [&object](A... args) -> R {
      return (object.*Method)(std::forward<A>(args)...);
    };
  }
};

}  // namespace published_detail

// Publishes a method under the name the stored description uses for it:
//   Published<&TMyModule::VSTModuleCreate>("VSTModuleCreate")
template <auto Method>
constexpr TPublishedMethod Published(std::string_view name) {
  using Traits = published_detail::MethodTraits<decltype(Method)>;
  return {name, &typeid(typename Traits::Event), &Traits::template Bind<Method>};
}

// Finds the method called name in the class or its parents and binds it to
// event, raising an error when there is none or its signature differs.
void BindPublishedMethod(TCustomVSTModule& module, const TModuleClass& moduleClass,
                         std::string_view name, const std::type_info& eventType, void* event);

template <class Signature>
void BindEvent(TCustomVSTModule& module, const TModuleClass& moduleClass, std::string_view name,
               TEvent<Signature>& event) {
  BindPublishedMethod(module, moduleClass, name, typeid(TEvent<Signature>), &event);
}
