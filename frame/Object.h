#pragma once

// Root of everything that can be the Sender of an event: the module, its
// collection items and editor forms.
class TObject {
 public:
  virtual ~TObject() = default;
};
