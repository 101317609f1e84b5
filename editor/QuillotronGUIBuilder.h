#pragma once

class TVSTGUI;

// Builds an editor form from its stored description: creates each listed
// component by class name, applies its properties in stored order and binds
// its events to the form's handlers by name. An unknown class, property,
// value or handler raises an error naming it.
class TVSTGUIBuilder {
 public:
  TVSTGUIBuilder() = delete;
  static void Build(TVSTGUI& form);
  // The client size the description gives.
  static int ClientWidth();
  static int ClientHeight();
};
