// Renders the effect's editor as a user sees it, with our own renderer and
// no windowing system, and writes it as a PNG:
//
//   editor-screenshot [--program N] OUTPUT.png
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/artwork/PngFile.h"
#include "tools/screenshot/EditorSnapshot.h"

int main(int argc, char** argv) {
  int program = 0;
  const char* output = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--program") == 0 && i + 1 < argc) {
      program = std::atoi(argv[++i]);
    } else if (argv[i][0] != '-' && output == nullptr) {
      output = argv[i];
    } else {
      output = nullptr;
      break;
    }
  }
  if (output == nullptr) {
    std::fprintf(stderr, "usage: editor-screenshot [--program N] OUTPUT.png\n");
    return 2;
  }
  try {
    const TPixelBuffer pixels = RenderEditorSnapshot(program);
    if (!WritePng(output, pixels)) {
      std::fprintf(stderr, "editor-screenshot: cannot write %s\n", output);
      return 1;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "editor-screenshot: %s\n", error.what());
    return 1;
  }
  return 0;
}
