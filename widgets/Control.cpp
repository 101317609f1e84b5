#include "widgets/Control.h"

void TControl::HandleInput(const TInputEvent& event) {
  if (event.Kind == TInputEvent::TKind::PointerMove && OnMouseMove)
    OnMouseMove(this, event.Shift, event.X, event.Y);
}
