#pragma once

#include <cstdint>

#include "frame/DVSTEffect.h"

// Modifier bits of a host key code.
inline constexpr std::uint8_t kModifierShift = 1;
inline constexpr std::uint8_t kModifierAlternate = 2;
inline constexpr std::uint8_t kModifierCommand = 4;
inline constexpr std::uint8_t kModifierControl = 8;

// lParam of a forwarded key message: 256 marks a virtual key, 0x2000 the
// context bit of a system key message.
inline constexpr std::intptr_t kKeyRepeatFlag = 256;
inline constexpr std::intptr_t kSysKeyLParam = 0x2000;

// The Windows key code an editor control receives for a host key code: the
// character (upper-cased by shift), or the virtual key's counterpart.
std::uintptr_t TranslateKeyCode(const VstKeyCode& keyCode);
