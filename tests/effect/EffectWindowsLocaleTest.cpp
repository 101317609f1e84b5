#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/effect/EffectFixture.h"

// Windows users see numbers with the decimal separator of their regional
// settings, and may type either it or a point. The test command runs this
// program once more under a German user locale.
namespace {

char UserDecimalSeparator() {
  wchar_t separator[8] = {};
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  return static_cast<char>(separator[0]);
}

TEST(EffectWindowsLocale, TextsUseTheUsersDecimalSeparator) {
  const char separator = UserDecimalSeparator();
  if (separator != ',' && separator != '.') GTEST_SKIP() << "an unusual separator";
  TEffectFixture fx;
  fx.Effect->SetParameter(3, 0.5f);  // -69.5 dB
  EXPECT_EQ(fx.Effect->ParameterDisplay(3).Text, std::string("-69") + separator + "5");
  for (const char* typed : {"-12.5", "-12,5"}) {
    const bool understood = typed[3] == '.' || typed[3] == separator;
    EXPECT_EQ(fx.Effect->Dispatch(effString2Parameter, 4, 0, const_cast<char*>(typed)),
              understood ? 1 : 0)
        << typed;
    if (understood) {
      EXPECT_EQ(fx.Effect->ParameterDisplay(4).Text, std::string("-12") + separator + "5") << typed;
    }
  }
}

}  // namespace
