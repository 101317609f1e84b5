#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "frame/KeyCodes.h"

namespace {

VstKeyCode Key(VstInt32 character, std::uint8_t virt, std::uint8_t modifier = 0) {
  VstKeyCode key{};
  key.character = character;
  key.virt = virt;
  key.modifier = modifier;
  return key;
}

TEST(KeyCodes, CharactersPassThroughAndShiftUpperCases) {
  EXPECT_EQ(TranslateKeyCode(Key('a', 0, kModifierShift)), 65u);
  EXPECT_EQ(TranslateKeyCode(Key('a', 0)), 97u);
  EXPECT_EQ(TranslateKeyCode(Key('a', 4, kModifierControl)), 97u);  // the character wins
}

TEST(KeyCodes, VirtualKeysMapOntoWindowsKeys) {
  const std::pair<std::uint8_t, std::uintptr_t> rows[] = {
      {0, 0},    {1, 8},   {4, 13},  {7, 32},   {8, 34},   {15, 38},  {16, 40},  {19, 13},
      {23, 47},  {24, 48}, {33, 57}, {34, 106}, {39, 111}, {40, 112}, {51, 123}, {52, 144},
      {53, 145}, {54, 16}, {55, 17}, {56, 18},  {57, 93},  {58, 0},   {255, 0},
  };
  for (const auto& [virt, expected] : rows)
    EXPECT_EQ(TranslateKeyCode(Key(0, virt)), expected) << int(virt);
}

}  // namespace
