// Generates the editor's artwork as C++ sources: the glyph atlas the canvas
// draws text from (widgets/graphics/GlyphAtlas.cpp) and the background
// picture (editor/BackgroundPicture.cpp), both from the DejaVu fonts.
//
//   artwork OUTPUT_ROOT [--fonts DIR] [--preview PICTURE.png]
//
// writes both files under OUTPUT_ROOT (the source tree for the
// regenerate-artwork target); --preview also writes the picture as a PNG.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/artwork/BackgroundDesign.h"
#include "tools/artwork/GlyphAtlasSource.h"
#include "tools/artwork/PngFile.h"
#include "tools/artwork/TrueTypeFont.h"

namespace {

bool WriteText(const std::filesystem::path& path, const std::string& text) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) {
    std::fprintf(stderr, "artwork: cannot write %s\n", path.string().c_str());
    return false;
  }
  return true;
}

bool LoadFont(TTrueTypeFont& font, const std::filesystem::path& path) {
  if (font.Load(path.string())) return true;
  std::fprintf(stderr, "artwork: cannot read the font %s\n", path.string().c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path root;
  std::filesystem::path fonts = "/usr/share/fonts/truetype/dejavu";
  std::string preview;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--fonts" && i + 1 < argc) {
      fonts = argv[++i];
    } else if (argument == "--preview" && i + 1 < argc) {
      preview = argv[++i];
    } else if (root.empty() && !argument.starts_with("--")) {
      root = argument;
    } else {
      root.clear();
      break;
    }
  }
  if (root.empty()) {
    std::fprintf(stderr, "usage: artwork OUTPUT_ROOT [--fonts DIR] [--preview PICTURE.png]\n");
    return 2;
  }

  TTrueTypeFont regular;
  TTrueTypeFont bold;
  if (!LoadFont(regular, fonts / "DejaVuSans.ttf") ||
      !LoadFont(bold, fonts / "DejaVuSans-Bold.ttf")) {
    return 1;
  }

  const std::string atlas =
      GlyphAtlasSource(BuildAtlasFace(regular, 7), BuildAtlasFace(regular, 11), "DejaVu Sans");
  const TPixelBuffer picture = PaintBackground(bold, regular);
  const std::string background =
      BackgroundPictureSource(picture, "DejaVu Sans and DejaVu Sans Bold");
  if (!WriteText(root / "widgets" / "graphics" / "GlyphAtlas.cpp", atlas) ||
      !WriteText(root / "editor" / "BackgroundPicture.cpp", background)) {
    return 1;
  }
  if (!preview.empty() && !WritePng(preview, picture)) {
    std::fprintf(stderr, "artwork: cannot write %s\n", preview.c_str());
    return 1;
  }
  return 0;
}
