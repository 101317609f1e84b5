#include "editor/OffscreenWindow.h"

std::unique_ptr<TNativeWindow> TOffscreenWindow::Create(void* parent, int, int,
                                                        TNativeWindowClient&) {
  if (parent == nullptr) return nullptr;
  return std::make_unique<TOffscreenWindow>();
}
