#include "frame/KeyCodes.h"

#include <array>

namespace {

constexpr int kShiftCaseOffset = 32;

// Windows virtual-key codes for the host's virtual keys 1..57; index 0 is
// "no key". Page up and down map onto the arrow keys and the keypad digits
// onto the main-keyboard digits, which is what the editor's controls expect.
constexpr std::array<std::uint8_t, 58> kVirtualKeys = {
    0,                                                           // none
    8,   9,   12,  13,  19,  27,  32,  34,  35,                  // back .. end
    36,  37,  38,  39,  40,  38,  40,  41,  42,                  // home .. print
    13,  44,  45,  46,  47,                                      // enter .. help
    48,  49,  50,  51,  52,  53,  54,  55,  56,  57,             // numpad 0..9
    106, 107, 108, 109, 110, 111,                                // multiply .. divide
    112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123,  // F1..F12
    144, 145, 16,  17,  18,  93,                                 // numlock .. equals
};

}  // namespace

std::uintptr_t TranslateKeyCode(const VstKeyCode& keyCode) {
  if (keyCode.character != 0) {
    const bool shifted = (keyCode.modifier & kModifierShift) != 0;
    return static_cast<std::uintptr_t>(keyCode.character - (shifted ? kShiftCaseOffset : 0));
  }
  if (keyCode.virt >= kVirtualKeys.size()) return 0;
  return kVirtualKeys[keyCode.virt];
}
