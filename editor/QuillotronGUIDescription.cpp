#include "editor/QuillotronGUIDescription.h"

#include <cstdint>
#include <string>

#include "editor/BackgroundPicture.h"

// The editor form as stored: a borderless 443 x 314 form whose background
// picture carries every other control, eight level bars with a phase box
// under each, the waveform chart and the hint line. Colours are Windows
// colour values (0x00BBGGRR).
namespace {

constexpr std::int64_t kPale = 16049882;         // #DAE6F4
constexpr std::int64_t kPaleFocused = 16379880;  // #E8EFF9
constexpr std::int64_t kPaleDown = 15719113;     // #C9DAEF
constexpr std::int64_t kFrameGrey = 11051938;    // #A2A3A8
constexpr std::int64_t kChartGrey = 7104358;     // #66676C
constexpr std::int64_t kCurveGrey = 7959153;     // #717279
constexpr int kLevels = 8;
constexpr int kBarSpacing = 32;

// The picture as stored: width and height, then the rows from the top, all
// 32-bit little-endian words.
TBytes PictureBytes() {
  TBytes bytes;
  auto put = [&bytes](std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8)
      bytes.Data.push_back(static_cast<std::uint8_t>(word >> shift));
  };
  bytes.Data.reserve(8 + 4 * static_cast<std::size_t>(kBackgroundWidth) * kBackgroundHeight);
  put(kBackgroundWidth);
  put(kBackgroundHeight);
  for (int i = 0; i < kBackgroundWidth * kBackgroundHeight; ++i)
    put(kBackgroundPicture[i]);
  return bytes;
}

TPropertyList Component(const char* className, std::string name, TPropertyList properties) {
  TPropertyList component = {{"ClassName", className}, {"Name", std::move(name)}};
  component.insert(component.end(), properties.begin(), properties.end());
  return component;
}

TPropertyList Bar(int k) {
  return Component("TGaugeBar", "Harm" + std::to_string(k),
                   {
                       {"Tag", std::int64_t{k}},
                       {"Left", std::int64_t{15 + kBarSpacing * k}},
                       {"Top", std::int64_t{10}},
                       {"Width", std::int64_t{17}},
                       {"Height", std::int64_t{164}},
                       {"Color", kPale},
                       {"Backgnd", TIdent{"bgPattern"}},
                       {"BorderStyle", TIdent{"bsNone"}},
                       {"HandleColor", kPale},
                       {"ButtonColor", kPale},
                       {"HighLightColor", kPale},
                       {"ShadowColor", kPale},
                       {"BorderColor", kFrameGrey},
                       {"Kind", TIdent{"sbVertical"}},
                       {"Max", std::int64_t{0}},
                       {"Min", std::int64_t{-1400}},
                       {"ShowHandleGrip", true},
                       {"Style", TIdent{"rbsMac"}},
                       {"Position", std::int64_t{k == 0 ? -1400 : 0}},
                       {"OnChange", THandler{"HarmChange"}},
                       {"OnMouseMove", THandler{"HarmMouseMove"}},
                   });
}

TPropertyList PhaseBox(int k) {
  return Component("TFlatControlsCheckBox", "CBPhase" + std::to_string(k + 1),
                   {
                       {"Tag", std::int64_t{k}},
                       {"Left", std::int64_t{17 + kBarSpacing * k}},
                       {"Top", std::int64_t{175}},
                       {"Width", std::int64_t{15}},
                       {"Height", std::int64_t{17}},
                       {"Color", kPale},
                       {"ColorFocused", kPaleFocused},
                       {"ColorDown", kPaleDown},
                       {"ColorCheck", kFrameGrey},
                       {"ColorBorder", kFrameGrey},
                       {"ParentColor", false},
                       {"TabOrder", std::int64_t{9 + k}},
                       {"TabStop", true},
                       {"Checked", false},
                       {"OnClick", THandler{"CBPhaseClick"}},
                       {"OnMouseMove", THandler{"CBPhaseMouseMove"}},
                   });
}

TPropertyList Chart() {
  return Component("TAudioChart", "AC",
                   {
                       {"Left", std::int64_t{6}},
                       {"Top", std::int64_t{200}},
                       {"Width", std::int64_t{249}},
                       {"Height", std::int64_t{108}},
                       {"DomainType", TIdent{"dtTimeDomain"}},
                       {"TimeDomainType", TIdent{"tdtTime"}},
                       {"DrawingStyle", TIdent{"dsComplete"}},
                       {"Transparent", true},
                       {"RectColor", kChartGrey},
                       {"Font.Color", kChartGrey},
                       {"Font.Height", std::int64_t{-7}},
                       {"Font.Name", "Verdana"},
                       {"XAxis.TimeUpper", std::int64_t{512}},
                       {"XAxis.MaximumTime", std::int64_t{512}},
                       {"XAxis.TimeGranularity", std::int64_t{50}},
                       {"XAxis.AutoGranularity", true},
                       {"XAxis.ColorDark", kChartGrey},
                       {"XAxis.ColorLight", kChartGrey},
                       {"YAxis.ValueLower", -1.1},
                       {"YAxis.ValueUpper", 1.1},
                       {"YAxis.LimitLower", -1.0},
                       {"YAxis.LimitUpper", 1.0},
                       {"YAxis.ValueGranularity", 0.2},
                       {"YAxis.AutoGranularity", true},
                       {"YAxis.Center", true},
                       {"YAxis.LabelPosition", TIdent{"yalpLeftOutside"}},
                       {"YAxis.LabelUnit", " "},
                       {"YAxis.ColorDark", kChartGrey},
                       {"YAxis.ColorLight", kChartGrey},
                       {"TimeDomain", TIdent{"TimeDomain"}},
                   });
}

TPropertyList HintLine() {
  return Component("TLabel", "LbGeneral",
                   {
                       {"Left", std::int64_t{294}},
                       {"Top", std::int64_t{299}},
                       {"Width", std::int64_t{148}},
                       {"Height", std::int64_t{13}},
                       {"Alignment", TIdent{"taCenter"}},
                       {"AutoSize", false},
                       {"Caption", ""},
                       {"Font.Color", kPale},
                       {"Font.Height", std::int64_t{-11}},
                       {"Font.Name", "Verdana"},
                       {"Transparent", true},
                   });
}

TPropertyList TimeDomain() {
  TCollectionValue channels;
  channels.Items.push_back({
      {"DisplayName", "TTimeDomainChannel"},
      {"Color", kCurveGrey},
      {"Alpha", std::int64_t{191}},
      {"Visible", true},
  });
  return Component("TTimeDomain", "TimeDomain",
                   {
                       {"Channels", channels},
                       {"MaximumTime", std::int64_t{512}},
                       {"IsImpulseResponse", false},
                   });
}

TPropertyList Background() {
  TCollectionValue children;
  children.Items.push_back(Chart());
  for (int k = 0; k < kLevels; ++k)
    children.Items.push_back(Bar(k));
  children.Items.push_back(HintLine());
  for (int k = 0; k < kLevels; ++k)
    children.Items.push_back(PhaseBox(k));
  return Component("TImage32", "Background",
                   {
                       {"Left", std::int64_t{0}},
                       {"Top", std::int64_t{0}},
                       {"Width", std::int64_t{443}},
                       {"Height", std::int64_t{314}},
                       {"Align", TIdent{"alClient"}},
                       {"Bitmap", PictureBytes()},
                       {"BitmapAlign", TIdent{"baTopLeft"}},
                       {"Scale", 1.0},
                       {"ScaleMode", TIdent{"smNormal"}},
                       {"OnMouseMove", THandler{"BackgroundMouseMove"}},
                       {"Components", children},
                   });
}

}  // namespace

const TStoredDescription& VSTGUIDescription() {
  static const TStoredDescription description{
      "TVSTGUI",
      "VSTGUI",
      {
          {"BorderStyle", TIdent{"bsNone"}},
          {"Caption", "Quillotron"},
          {"ClientHeight", std::int64_t{314}},
          {"ClientWidth", std::int64_t{443}},
          {"Color", TIdent{"clBtnFace"}},
          {"Font.Charset", TIdent{"DEFAULT_CHARSET"}},
          {"Font.Color", TIdent{"clWindowText"}},
          {"Font.Height", std::int64_t{-11}},
          {"Font.Name", "Verdana"},
          {"Font.Style", TIdentSet{}},
          {"Scaled", false},
          {"PixelsPerInch", std::int64_t{96}},
          {"OnShow", THandler{"FormShow"}},
          {"Components", TCollectionValue{{TimeDomain(), Background()}}},
          {"ActiveControl", TIdent{"CBPhase1"}},
      }};
  return description;
}
