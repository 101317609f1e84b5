#pragma once

#include <string>

#include "widgets/Control.h"

// One line of text on a transparent label: only the text is drawn, aligned
// within the label's width, its line box starting at the label's top. Text
// wider than the label is clipped at the label's edges (on both sides when
// centred), never wrapped; the label never resizes itself.
class TLabel : public TControl {
 public:
  enum class TAlignment { Left, Center, Right };

  TColor FontColor = ColorFromRGB(0xDAE6F4);
  TFontHeight FontHeight = TFontHeight::fh11;
  TAlignment Alignment = TAlignment::Center;

  const std::string& Text() const { return FText; }
  // Repaints only when the text really changes.
  void SetText(const std::string& text);

  void Paint(TCanvas& canvas) override;

 private:
  std::string FText;
};
