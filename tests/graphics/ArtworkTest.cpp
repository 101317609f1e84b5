// The committed glyph atlas and background picture are what the generator
// makes from the fonts: it runs into a temporary folder here, and every
// byte must match.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(ArtworkTest, TheCommittedSourcesAreWhatTheGeneratorWrites) {
  // A folder of this process's own, so that test runs side by side never
  // share one.
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("quillo-artwork-" + std::to_string(getpid()));
  std::filesystem::remove_all(folder);
  const std::string command =
      std::string("\"") + QUILLO_ARTWORK_TOOL + "\" \"" + folder.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  for (const char* source : {"widgets/graphics/GlyphAtlas.cpp", "editor/BackgroundPicture.cpp"}) {
    const std::string generated = ReadAll(folder / source);
    const std::string committed = ReadAll(std::filesystem::path(QUILLO_SOURCE_DIR) / source);
    ASSERT_FALSE(generated.empty()) << source;
    // Not EXPECT_EQ on the strings: a difference would print megabytes.
    EXPECT_TRUE(generated == committed)
        << source << " differs from the generator's output; rebuild it with "
        << "cmake --build --preset release --target regenerate-artwork";
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
