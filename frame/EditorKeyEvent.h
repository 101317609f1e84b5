#pragma once

#include <cstdint>

// A host key forwarded to the editor form, independent of any windowing
// system: each platform's form turns it into what its controls understand.
struct TEditorKeyEvent {
  enum class TKind { Down, Char, Up };

  TKind Kind = TKind::Down;
  // A system key: the frame sends a key pressed without the host's
  // alternate modifier as one.
  bool System = false;
  // The translated key code (TranslateKeyCode).
  std::uintptr_t Code = 0;
  // The message detail word that goes with the key.
  std::intptr_t LParam = 0;
};
