#include "tests/plugins/FakeEditorForm.h"

#include <string>

TFakeEditorForm::~TFakeEditorForm() {
  Log.Add(Module, "Form.Destroy");
}

void TFakeEditorForm::SetParentWindow(void* parent) {
  Log.Add(Module, "Form.Parent:" + std::to_string(reinterpret_cast<std::uintptr_t>(parent)));
}

void TFakeEditorForm::Show() {
  Log.Add(Module, "Form.Show");
}

void TFakeEditorForm::SetBorderless() {
  Log.Add(Module, "Form.Borderless");
}

void TFakeEditorForm::SetBounds(int left, int top, int width, int height) {
  Log.Add(Module, "Form.Bounds:" + std::to_string(left) + "," + std::to_string(top) + "," +
                      std::to_string(width) + "," + std::to_string(height));
}

void TFakeEditorForm::Invalidate() {
  Log.Add(Module, "Form.Invalidate");
}

void TFakeEditorForm::SendKeyMessage(std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  Log.Add(Module, "Form.Key:" + std::to_string(message) + "," + std::to_string(wParam) + "," +
                      std::to_string(lParam));
}
