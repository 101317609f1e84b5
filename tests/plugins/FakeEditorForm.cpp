#include "tests/plugins/FakeEditorForm.h"

#include <string>

#ifdef _WIN32
#include "tests/plugins/FakeEditorWindow.h"
#else
// No window of its own elsewhere: only the log.
class TFakeEditorWindow {};
#endif

TFakeEditorForm::TFakeEditorForm(TCustomVSTModule& module, TTraceLog& log, bool canEmbed)
    : Module(module), Log(log), CanEmbed(canEmbed) {}

TFakeEditorForm::~TFakeEditorForm() {
  Log.Add(Module, "Form.Destroy");
}

bool TFakeEditorForm::SetParentWindow(void* parent) {
  Log.Add(Module, "Form.Parent:" + std::to_string(reinterpret_cast<std::uintptr_t>(parent)));
#ifdef _WIN32
  if (CanEmbed) Window = TFakeEditorWindow::Create(parent, Module, Log);
#endif
  return CanEmbed;
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

void TFakeEditorForm::Idle() {
  Log.Add(Module, "Form.Idle");
}

void TFakeEditorForm::HandleKey(const TEditorKeyEvent& key) {
  static constexpr const char* kKindNames[] = {"Down", "Char", "Up"};
  Log.Add(Module, std::string("Form.Key:") + kKindNames[static_cast<int>(key.Kind)] +
                      (key.System ? ",sys," : ",") + std::to_string(key.Code) + "," +
                      std::to_string(key.LParam));
#ifdef _WIN32
  if (Window) Window->Send(key);
#endif
}
