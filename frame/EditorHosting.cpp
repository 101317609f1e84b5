#include <algorithm>

#include "frame/CustomVSTModule.h"

VstIntPtr TCustomVSTModule::EditorGetRect(ERect** rect) {
  *rect = &FEditorRect;
  FEditorRect.top = 0;
  FEditorRect.left = 0;
  if (!FEditorForm) return 0;
  FEditorRect.bottom = static_cast<VstInt16>(FEditorForm->ClientHeight());
  FEditorRect.right = static_cast<VstInt16>(FEditorForm->ClientWidth());
  return 1;
}

VstIntPtr TCustomVSTModule::EditorOpen(void* parent) {
  std::unique_ptr<TEditorForm> gui;
  if (OnEditOpen) OnEditOpen(this, gui);
  if (!gui) return 0;
  // A host that opens twice without closing gets the new form; the old one
  // is released rather than leaked.
  FEditorForm = std::move(gui);
  try {
    FEditorForm->SetParentWindow(parent);
    FEditorForm->Show();
    FEditorForm->SetBorderless();
    FEditorForm->SetBounds(0, 0, FEditorForm->Width(), FEditorForm->Height());
    FEditorForm->Invalidate();
  } catch (...) {
    // A form that could not be embedded is not reported as open.
    FEditorForm.reset();
    return 0;
  }
  // The editor learns the current values through the change events.
  try {
    const VstInt32 count = std::min(numParams(), FParameterProperties->Count());
    if (OnParameterChange && !IsProgramChunkMode()) {
      for (VstInt32 i = 0; i < count; ++i) {
        TAtomicFloatArray* values = CurrentValues();
        if (values == nullptr || static_cast<std::size_t>(i) >= values->Count()) break;
        float value = values->Get(static_cast<std::size_t>(i));
        OnParameterChange(this, i, value);
        values->Set(static_cast<std::size_t>(i), value);
      }
    }
  } catch (...) {
  }
  return 1;
}

void TCustomVSTModule::EditorClose() {
  if (OnEditClose) OnEditClose(this);
  FEditorForm.reset();
}

void TCustomVSTModule::EditorIdle() {
  // Taken in one step, so a change made while the editor refreshes is kept
  // for the next idle call.
  if (!FEditorForm || !FEditorNeedsUpdate.exchange(false)) return;
  if (OnEditIdle) OnEditIdle(this);
  FEditorForm->Invalidate();
}
