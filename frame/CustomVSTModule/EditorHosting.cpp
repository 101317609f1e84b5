#include <algorithm>
#include <limits>

#include "frame/CustomVSTModule.h"
#include "frame/KeyCodes.h"

void TCustomVSTModule::SetEditorSize(int width, int height) {
  // The rectangle holds 16-bit fields.
  constexpr int kLargest = std::numeric_limits<VstInt16>::max();
  FEditorWidth = std::clamp(width, 0, kLargest);
  FEditorHeight = std::clamp(height, 0, kLargest);
}

VstIntPtr TCustomVSTModule::EditorGetRect(ERect** rect) {
  *rect = &FEditorRect;
  FEditorRect.top = 0;
  FEditorRect.left = 0;
  int width = 0;
  int height = 0;
  if (FEditorForm) {
    width = FEditorForm->ClientWidth();
    height = FEditorForm->ClientHeight();
  }
  // Hosts size their window from this rectangle whatever the answer, and
  // many ask before they open: a module that knows its editor's size never
  // shows them an empty one.
  if (HasEditorSize() && (width <= 0 || height <= 0)) {
    width = FEditorWidth;
    height = FEditorHeight;
  } else if (!FEditorForm) {
    return 0;
  }
  FEditorRect.bottom = static_cast<VstInt16>(height);
  FEditorRect.right = static_cast<VstInt16>(width);
  return 1;
}

VstIntPtr TCustomVSTModule::EditorOpen(void* parent) {
  // Some hosts open twice without closing: the old window goes exactly as on
  // effEditClose before the new one is made, so only one form ever exists.
  if (FEditorForm) EditorClose();
  std::unique_ptr<TEditorForm> gui;
  if (OnEditOpen) OnEditOpen(this, gui);
  if (!gui) return 0;
  FEditorForm = std::move(gui);
  try {
    if (!FEditorForm->SetParentWindow(parent)) {
      FEditorForm.reset();
      return 0;
    }
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
  if (!FEditorForm) return;
  // Taken in one step, so a change made while the editor refreshes is kept
  // for the next idle call.
  if (FEditorNeedsUpdate.exchange(false)) {
    if (OnEditIdle) OnEditIdle(this);
    FEditorForm->Invalidate();
  }
  // Last, so that what was invalidated above is painted in this same call.
  FEditorForm->Idle();
}

void TCustomVSTModule::EditorKeyDown(VstKeyCode& keyCode) {
  if (FEditorForm) ForwardKeyToEditor(keyCode, true);
  if (OnEditorKeyDown) OnEditorKeyDown(this, keyCode);
}

void TCustomVSTModule::EditorKeyUp(VstKeyCode& keyCode) {
  if (FEditorForm) ForwardKeyToEditor(keyCode, false);
  if (OnEditorKeyUp) OnEditorKeyUp(this, keyCode);
}

void TCustomVSTModule::ForwardKeyToEditor(const VstKeyCode& keyCode, bool down) {
  using TKind = TEditorKeyEvent::TKind;
  const std::uintptr_t code = TranslateKeyCode(keyCode);
  const std::intptr_t lParam = keyCode.virt != 0 ? kKeyRepeatFlag : 0;
  // With the alternate modifier the key goes as a plain key, without it as
  // a system key; the character that follows a key-down is always plain.
  const bool plain = (keyCode.modifier & kModifierAlternate) != 0;
  const TKind kind = down ? TKind::Down : TKind::Up;
  FEditorForm->HandleKey({kind, !plain, code, plain ? lParam : kSysKeyLParam});
  if (down) FEditorForm->HandleKey({TKind::Char, false, code, lParam});
}
