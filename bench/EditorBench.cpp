#include <benchmark/benchmark.h>

#include <memory>

#include "editor/OffscreenWindow.h"
#include "editor/QuillotronGUI.h"
#include "effect/QuillotronModule.h"

// The editor's costs on its own thread: repainting the whole 443 x 314 form
// (background, eight bars, eight boxes, the chart with its 512-point curve,
// the hint line) and regenerating the waveform after a parameter change.
namespace {

class TStillClock final : public TClock {
 public:
  std::int64_t NowMilliseconds() const override { return 0; }
};

// An effect module built in process with its editor open offscreen.
struct TOpenEditor {
  TOpenEditor() {
    Module.Construct(TQuillotronVSTModule::Class);
    Module.Dispatcher(effSetProgram, 0, 1, nullptr, 0.0f);
    Module.OnEditOpen = [this](TObject*, std::unique_ptr<TEditorForm>& gui) {
      auto form = std::make_unique<TVSTGUI>(Clock, &TOffscreenWindow::Create);
      form->Module = &Module;
      gui = std::move(form);
    };
    Module.Dispatcher(effEditOpen, 0, 0, &Parent, 0.0f);
    Gui = static_cast<TVSTGUI*>(Module.EditorForm());
  }
  ~TOpenEditor() {
    Module.Dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    Module.BeforeDestruction();
  }

  TStillClock Clock;
  TQuillotronVSTModule Module;
  int Parent = 1;
  TVSTGUI* Gui = nullptr;
};

void BM_FullRepaint(benchmark::State& state) {
  TOpenEditor editor;
  for (auto _ : state) {
    editor.Gui->Invalidate();
    benchmark::DoNotOptimize(editor.Gui->Repaint());
  }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

void BM_WaveformRegeneration(benchmark::State& state) {
  TOpenEditor editor;
  for (auto _ : state) {
    editor.Module.UpdateWaveform();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WaveformRegeneration)->Unit(benchmark::kMicrosecond);

}  // namespace
