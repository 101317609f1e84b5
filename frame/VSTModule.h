#pragma once

#include <span>

#include "frame/CustomVSTModule.h"
#include "frame/PropertyTable.h"

// The module class plug-ins derive from: it publishes the frame's properties
// and events to stored descriptions and builds itself from them.
//
// A derived class declares its place in the class chain and the methods its
// description may bind:
//
//   class TMyModule : public TVSTModule {
//    public:
//     static const TModuleClass Class;   // {"TMyModule", &TVSTModule::Class, methods}
//     void VSTModuleCreate(TObject* Sender);
//   };
class TVSTModule : public TCustomVSTModule {
 public:
  static const TModuleClass Class;

  // Builds the module after the C++ constructors ran: the stored description
  // of every class level from TVSTModule down to moduleClass, each program's
  // OnInitialize, program 0, OnInitialize and OnCreate. Raises
  // "Resource <class> not found" when no level has a description.
  void Construct(const TModuleClass& moduleClass);

  static std::span<const TPropertySetter<TCustomVSTModule>> PublishedProperties();
};
