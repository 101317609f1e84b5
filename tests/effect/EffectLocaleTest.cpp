#include <gtest/gtest.h>

#include <unistd.h>
#include <clocale>
#include <cstdlib>

#include <filesystem>
#include <string>

#include "tests/effect/EffectFixture.h"

// Hosts switch the C locale, often to one with a decimal comma; the plug-in's
// parameter texts must not follow it.
namespace {

// Builds a German locale into a folder of the test's own and selects it.
// Answers false where the locale tools or sources are missing.
bool SelectCommaLocale(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  const std::string command =
      "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return false;
  setenv("LOCPATH", folder.c_str(), 1);
  return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr &&
         std::string(std::localeconv()->decimal_point) == ",";
}

TEST(EffectLocale, TextsKeepTheDecimalPointUnderACommaLocale) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("quillotron-locale-" + std::to_string(::getpid()));
  if (!SelectCommaLocale(folder)) {
    std::setlocale(LC_ALL, "C");
    std::filesystem::remove_all(folder);
    GTEST_SKIP() << "no locale with a decimal comma could be made";
  }
  TEffectFixture fx;
  fx.Effect->SetParameter(3, 0.5f);  // -69.5 dB
  const std::string display = fx.Effect->ParameterDisplay(3).Text;
  const VstIntPtr accepted =
      fx.Effect->Dispatch(effString2Parameter, 4, 0, const_cast<char*>("-12.5"));
  const std::string entered = fx.Effect->ParameterDisplay(4).Text;
  std::setlocale(LC_ALL, "C");
  std::filesystem::remove_all(folder);
  EXPECT_EQ(display, "-69.5");
  EXPECT_EQ(accepted, 1);
  EXPECT_EQ(entered, "-12.5");
}

}  // namespace
