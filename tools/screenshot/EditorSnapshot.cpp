#include "tools/screenshot/EditorSnapshot.h"

#include <memory>
#include <stdexcept>

#include "editor/OffscreenWindow.h"
#include "editor/QuillotronGUI.h"
#include "effect/QuillotronModule.h"

namespace {

// Frozen time: nothing animates in a snapshot.
class TStillClock final : public TClock {
 public:
  std::int64_t NowMilliseconds() const override { return 0; }
};

}  // namespace

TPixelBuffer RenderEditorSnapshot(int program) {
  static const TStillClock clock;
  TQuillotronVSTModule module;
  module.Construct(TQuillotronVSTModule::Class);
  if (program < 0 || program >= module.numPrograms()) throw std::runtime_error("No such program");
  module.Dispatcher(effSetProgram, 0, program, nullptr, 0.0f);
  module.OnEditOpen = [&module](TObject*, std::unique_ptr<TEditorForm>& gui) {
    auto form = std::make_unique<TVSTGUI>(clock, &TOffscreenWindow::Create);
    form->Module = &module;
    gui = std::move(form);
  };
  int parent = 0;
  if (module.Dispatcher(effEditOpen, 0, 0, &parent, 0.0f) != 1)
    throw std::runtime_error("The editor did not open");
  auto* gui = static_cast<TVSTGUI*>(module.EditorForm());
  gui->Idle();
  TPixelBuffer pixels = gui->Pixels();
  module.Dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
  module.BeforeDestruction();
  return pixels;
}
