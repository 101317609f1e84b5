#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "tools/artwork/PngFile.h"
#include "tools/screenshot/EditorSnapshot.h"

// The whole editor, as it opens on program 1, against the committed picture.
// A small tolerance leaves room for last-bit differences between compilers;
// a moved control, a changed colour or a missing glyph exceeds it. After a
// deliberate change of the look, rewrite the picture with
//   build/release/tools/editor-screenshot --program 1 tests/editor/golden/editor.png
namespace {

constexpr int kLargestChannelStep = 8;
// At most this many pixels may differ at all.
constexpr double kDifferingShare = 0.002;

int ChannelDifference(std::uint32_t a, std::uint32_t b) {
  int largest = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int d =
        std::abs(static_cast<int>((a >> shift) & 0xFFu) - static_cast<int>((b >> shift) & 0xFFu));
    largest = std::max(largest, d);
  }
  return largest;
}

TEST(EditorPicture, MatchesTheCommittedGolden) {
  const std::optional<TPixelBuffer> golden = ReadPng(QUILLO_GOLDEN_DIR "/editor.png");
  ASSERT_TRUE(golden.has_value()) << "missing " QUILLO_GOLDEN_DIR "/editor.png";
  const TPixelBuffer rendered = RenderEditorSnapshot(1);
  ASSERT_EQ(rendered.Width(), golden->Width());
  ASSERT_EQ(rendered.Height(), golden->Height());
  int differing = 0;
  int largest = 0;
  for (int y = 0; y < rendered.Height(); ++y) {
    for (int x = 0; x < rendered.Width(); ++x) {
      const int d = ChannelDifference(rendered.Row(y)[x], golden->Row(y)[x]);
      differing += d != 0;
      largest = std::max(largest, d);
    }
  }
  EXPECT_LE(largest, kLargestChannelStep);
  EXPECT_LE(differing, kDifferingShare * rendered.Width() * rendered.Height());
}

}  // namespace
