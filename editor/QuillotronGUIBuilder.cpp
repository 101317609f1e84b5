#include "editor/QuillotronGUIBuilder.h"

#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "editor/QuillotronGUI.h"
#include "editor/QuillotronGUIDescription.h"
#include "widgets/AudioChart.h"
#include "widgets/FlatCheckBox.h"
#include "widgets/GaugeBar.h"
#include "widgets/Image32.h"
#include "widgets/Label.h"
#include "widgets/TimeDomain.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what);
}

// ---- Values ----

struct TNamedColor {
  std::string_view Name;
  TColor Color;
};
constexpr TNamedColor kNamedColors[] = {
    {"clBlack", ColorFromRGB(0x000000)},   {"clWindowText", ColorFromRGB(0x000000)},
    {"clBtnFace", ColorFromRGB(0xF0F0F0)}, {"clRed", ColorFromRGB(0xFF0000)},
    {"clYellow", ColorFromRGB(0xFFFF00)},  {"clWhite", ColorFromRGB(0xFFFFFF)},
};

TColor AsColor(const TProperty& property) {
  if (const auto* ident = std::get_if<TIdent>(&property.Value)) {
    for (const TNamedColor& named : kNamedColors)
      if (named.Name == ident->Name) return named.Color;
    Fail("Invalid colour " + ident->Name);
  }
  return ColorFromBGR(static_cast<std::uint32_t>(AsInteger(property)));
}

// A setting this editor supports with one value only: any other is refused
// rather than silently shown wrong.
void Expect(const TProperty& property, std::string_view value) {
  if (AsIdent(property) != value) Fail("Unsupported " + property.Name + " " + AsIdent(property));
}

// The font height as stored: negative for the character height in pixels.
TFontHeight AsFontHeight(const TProperty& property) {
  const int height = AsInteger(property);
  if (height == -static_cast<int>(TFontHeight::fh11)) return TFontHeight::fh11;
  if (height == -static_cast<int>(TFontHeight::fh7)) return TFontHeight::fh7;
  Fail("Unsupported font height " + std::to_string(height));
}

// ---- Handlers ----

template <class Method>
struct TMethodEntry {
  std::string_view Name;
  Method Handler;
};

using TNotifyMethod = void (TVSTGUI::*)(TControl*);
using TMouseMoveMethod = void (TVSTGUI::*)(TControl*, TShiftState, int, int);
using TLayerMouseMoveMethod = void (TVSTGUI::*)(TControl*, TShiftState, int, int, int);
using TFormMethod = void (TVSTGUI::*)(TObject*);

constexpr TMethodEntry<TNotifyMethod> kNotifyMethods[] = {
    {"HarmChange", &TVSTGUI::HarmChange},
    {"CBPhaseClick", &TVSTGUI::CBPhaseClick},
};
constexpr TMethodEntry<TMouseMoveMethod> kMouseMoveMethods[] = {
    {"HarmMouseMove", &TVSTGUI::HarmMouseMove},
    {"CBPhaseMouseMove", &TVSTGUI::CBPhaseMouseMove},
};
constexpr TMethodEntry<TLayerMouseMoveMethod> kLayerMouseMoveMethods[] = {
    {"BackgroundMouseMove", &TVSTGUI::BackgroundMouseMove},
};
constexpr TMethodEntry<TFormMethod> kFormMethods[] = {
    {"FormShow", &TVSTGUI::FormShow},
};

// The handler called `name` among those of the event's signature.
template <class Method, std::size_t N>
Method FindMethod(const TMethodEntry<Method> (&methods)[N], const TProperty& property) {
  const std::string& name = AsHandler(property);
  for (const auto& entry : methods)
    if (entry.Name == name) return entry.Handler;
  Fail("Method " + name + " for " + property.Name + " not found");
}

TControl::TNotifyEvent NotifyHandler(TVSTGUI& form, const TProperty& property) {
  const TNotifyMethod method = FindMethod(kNotifyMethods, property);
  return [&form, method](TControl* sender) { (form.*method)(sender); };
}

TControl::TMouseMoveEvent MouseMoveHandler(TVSTGUI& form, const TProperty& property) {
  const TMouseMoveMethod method = FindMethod(kMouseMoveMethods, property);
  return [&form, method](TControl* sender, TShiftState shift, int x, int y) {
    (form.*method)(sender, shift, x, y);
  };
}

// ---- Properties of each class ----

template <class T>
struct TSetter {
  std::string_view Name;
  void (*Apply)(T& target, TVSTGUI& form, const TProperty& property);
};

// Layout and identity, common to every control.
bool ApplyCommon(TControl& control, TVSTGUI& form, const TProperty& property) {
  const std::string& name = property.Name;
  if (name == "Left") {
    control.Bounds.Left = AsInteger(property);
  } else if (name == "Top") {
    control.Bounds.Top = AsInteger(property);
  } else if (name == "Width") {
    control.Bounds.Width = AsInteger(property);
  } else if (name == "Height") {
    control.Bounds.Height = AsInteger(property);
  } else if (name == "Tag") {
    control.Tag = AsInteger(property);
  } else if (name == "Visible") {
    control.Visible = AsBoolean(property);
  } else if (name == "Align") {
    Expect(property, "alClient");
    control.Bounds = {0, 0, form.ClientWidth(), form.ClientHeight()};
  } else if (name == "OnMouseMove") {
    control.OnMouseMove = MouseMoveHandler(form, property);
  } else if (name == "TabOrder" || name == "TabStop") {
    // The controls take no keys, so the tab order has nothing to do.
  } else {
    return false;
  }
  return true;
}

template <class T, std::size_t N>
void ApplyAll(T& target, TVSTGUI& form, const TSetter<T> (&setters)[N],
              const TPropertyList& properties) {
  for (const TProperty& property : properties) {
    if (property.Name == "ClassName" || property.Name == "Name" || property.Name == "Components")
      continue;
    bool applied = false;
    for (const auto& setter : setters) {
      if (setter.Name == property.Name) {
        setter.Apply(target, form, property);
        applied = true;
        break;
      }
    }
    if (!applied && !ApplyCommon(target, form, property))
      Fail("Property " + property.Name + " does not exist");
  }
}

// One setter: `c` is the control, `p` the stored property.
#define QUILLO_SET(Type, Name, ...)                        \
  TSetter<Type> {                                          \
    Name, [](Type& c, TVSTGUI& form, const TProperty& p) { \
      (void)c;                                             \
      (void)form;                                          \
      __VA_ARGS__;                                         \
    }                                                      \
  }

const TSetter<TGaugeBar> kGaugeBarSetters[] = {
    QUILLO_SET(TGaugeBar, "Color", c.Color = AsColor(p)),
    QUILLO_SET(TGaugeBar, "HandleColor", c.HandleColor = AsColor(p)),
    QUILLO_SET(TGaugeBar, "ButtonColor", c.ButtonColor = AsColor(p)),
    QUILLO_SET(TGaugeBar, "HighLightColor", c.HighLightColor = AsColor(p)),
    QUILLO_SET(TGaugeBar, "ShadowColor", c.ShadowColor = AsColor(p)),
    QUILLO_SET(TGaugeBar, "BorderColor", c.BorderColor = AsColor(p)),
    QUILLO_SET(TGaugeBar, "Backgnd", Expect(p, "bgPattern")),
    QUILLO_SET(TGaugeBar, "BorderStyle", Expect(p, "bsNone")),
    QUILLO_SET(TGaugeBar, "Kind", Expect(p, "sbVertical")),
    QUILLO_SET(TGaugeBar, "Style", Expect(p, "rbsMac")),
    QUILLO_SET(TGaugeBar, "ShowHandleGrip",
               if (!AsBoolean(p)) Fail("The handle grip is always shown")),
    QUILLO_SET(TGaugeBar, "Min", c.SetMin(AsInteger(p))),
    QUILLO_SET(TGaugeBar, "Max", c.SetMax(AsInteger(p))),
    QUILLO_SET(TGaugeBar, "Position", c.SetPosition(AsInteger(p))),
    QUILLO_SET(TGaugeBar, "OnChange", c.OnChange = NotifyHandler(form, p)),
};

const TSetter<TFlatCheckBox> kCheckBoxSetters[] = {
    QUILLO_SET(TFlatCheckBox, "Color", c.Color = AsColor(p)),
    QUILLO_SET(TFlatCheckBox, "ColorFocused", c.ColorFocused = AsColor(p)),
    QUILLO_SET(TFlatCheckBox, "ColorDown", c.ColorDown = AsColor(p)),
    QUILLO_SET(TFlatCheckBox, "ColorCheck", c.ColorCheck = AsColor(p)),
    QUILLO_SET(TFlatCheckBox, "ColorBorder", c.ColorBorder = AsColor(p)),
    QUILLO_SET(TFlatCheckBox, "ParentColor",
               if (AsBoolean(p)) Fail("The box keeps its own colour")),
    QUILLO_SET(TFlatCheckBox, "Checked", c.SetChecked(AsBoolean(p))),
    QUILLO_SET(TFlatCheckBox, "OnClick", c.OnClick = NotifyHandler(form, p)),
};

const TSetter<TLabel> kLabelSetters[] = {
    QUILLO_SET(TLabel, "Caption", c.SetText(AsText(p))),
    QUILLO_SET(TLabel, "Font.Color", c.FontColor = AsColor(p)),
    QUILLO_SET(TLabel, "Font.Height", c.FontHeight = AsFontHeight(p)),
    QUILLO_SET(TLabel, "Font.Name", (void)AsText(p)),
    QUILLO_SET(TLabel, "Alignment", Expect(p, "taCenter");
               c.Alignment = TLabel::TAlignment::Center),
    QUILLO_SET(TLabel, "AutoSize", if (AsBoolean(p)) Fail("The label keeps its size")),
    QUILLO_SET(TLabel, "Transparent", if (!AsBoolean(p)) Fail("The label is always transparent")),
};

const TSetter<TImage32> kImageSetters[] = {
    QUILLO_SET(TImage32, "Bitmap", if (!c.LoadFromBytes(AsBytes(p))) Fail("Invalid picture")),
    QUILLO_SET(TImage32, "BitmapAlign", Expect(p, "baTopLeft")),
    QUILLO_SET(TImage32, "Scale", if (AsFloat(p) != 1.0) Fail("The picture is drawn unscaled")),
    QUILLO_SET(TImage32, "ScaleMode", Expect(p, "smNormal")),
    QUILLO_SET(TImage32, "OnMouseMove",
               {
                 const TLayerMouseMoveMethod method = FindMethod(kLayerMouseMoveMethods, p);
                 c.OnMouseMoveLayer = [&form, method](TControl* sender, TShiftState shift, int x,
                                                      int y, int layer) {
                   (form.*method)(sender, shift, x, y, layer);
                 };
               }),
};

// The chart shows the time domain only; its other domains' settings and
// the axis colours it draws in one grey are accepted as stored.
const TSetter<TAudioChart> kChartSetters[] = {
    QUILLO_SET(TAudioChart, "DomainType", Expect(p, "dtTimeDomain")),
    QUILLO_SET(TAudioChart, "TimeDomainType", Expect(p, "tdtTime")),
    QUILLO_SET(TAudioChart, "DrawingStyle", Expect(p, "dsComplete")),
    QUILLO_SET(TAudioChart, "Transparent",
               if (!AsBoolean(p)) Fail("The chart is always transparent")),
    QUILLO_SET(TAudioChart, "RectColor", c.RectColor = AsColor(p)),
    QUILLO_SET(TAudioChart, "Font.Color", c.FontColor = AsColor(p)),
    QUILLO_SET(TAudioChart, "Font.Height", c.FontHeight = AsFontHeight(p)),
    QUILLO_SET(TAudioChart, "Font.Name", (void)AsText(p)),
    QUILLO_SET(TAudioChart, "XAxis.TimeUpper", c.TimeUpper = AsFloat(p)),
    QUILLO_SET(TAudioChart, "XAxis.MaximumTime", (void)AsInteger(p)),
    QUILLO_SET(TAudioChart, "XAxis.TimeGranularity", c.TimeGranularity = AsFloat(p)),
    QUILLO_SET(TAudioChart, "XAxis.AutoGranularity", c.AutoGranularity = AsBoolean(p)),
    QUILLO_SET(TAudioChart, "XAxis.ColorDark", c.RectColor = AsColor(p)),
    QUILLO_SET(TAudioChart, "XAxis.ColorLight", c.RectColor = AsColor(p)),
    QUILLO_SET(TAudioChart, "YAxis.ValueLower", c.ValueLower = AsFloat(p)),
    QUILLO_SET(TAudioChart, "YAxis.ValueUpper", c.ValueUpper = AsFloat(p)),
    QUILLO_SET(TAudioChart, "YAxis.LimitLower", c.LimitLower = AsFloat(p)),
    QUILLO_SET(TAudioChart, "YAxis.LimitUpper", c.LimitUpper = AsFloat(p)),
    QUILLO_SET(TAudioChart, "YAxis.ValueGranularity", c.ValueGranularity = AsFloat(p)),
    QUILLO_SET(TAudioChart, "YAxis.AutoGranularity", c.AutoGranularity = AsBoolean(p)),
    QUILLO_SET(TAudioChart, "YAxis.Center", if (!AsBoolean(p)) Fail("The value axis is centred")),
    QUILLO_SET(TAudioChart, "YAxis.LabelPosition", Expect(p, "yalpLeftOutside")),
    QUILLO_SET(TAudioChart, "YAxis.LabelUnit", c.LabelUnit = AsText(p)),
    QUILLO_SET(TAudioChart, "YAxis.ColorDark", c.RectColor = AsColor(p)),
    QUILLO_SET(TAudioChart, "YAxis.ColorLight", c.RectColor = AsColor(p)),
    QUILLO_SET(TAudioChart, "TimeDomain",
               {
                 if (AsIdent(p) != "TimeDomain" || form.TimeDomain == nullptr)
                   Fail("Component " + AsIdent(p) + " not found");
                 c.SetTimeDomain(form.TimeDomain);
               }),
};

#undef QUILLO_SET

// ---- Components ----

// What building produces before it is handed to the form: the controls from
// the bottom up and the data object.
struct TBuilt {
  std::vector<std::unique_ptr<TControl>> Controls;
  std::unique_ptr<TTimeDomain> TimeDomain;
};

// Gives the form's published field of that name the new control.
void Publish(TVSTGUI& form, const std::string& name, TControl* control) {
  if (name == "Background") form.Background = static_cast<TImage32*>(control);
  if (name == "AC") form.AC = static_cast<TAudioChart*>(control);
  if (name == "LbGeneral") form.LbGeneral = static_cast<TLabel*>(control);
  for (int k = 0; k < TVSTGUI::kLevelCount; ++k) {
    if (name == "Harm" + std::to_string(k)) form.Harm[k] = static_cast<TGaugeBar*>(control);
    if (name == "CBPhase" + std::to_string(k + 1))
      form.CBPhase[k] = static_cast<TFlatCheckBox*>(control);
  }
}

const TProperty* FindProperty(const TPropertyList& properties, std::string_view name) {
  for (const TProperty& property : properties)
    if (property.Name == name) return &property;
  return nullptr;
}

std::unique_ptr<TTimeDomain> MakeTimeDomain(const TPropertyList& properties) {
  auto timeDomain = std::make_unique<TTimeDomain>();
  for (const TProperty& property : properties) {
    if (property.Name == "ClassName" || property.Name == "Name") continue;
    if (property.Name == "MaximumTime") {
      timeDomain->SetMaximumTime(AsInteger(property));
    } else if (property.Name == "IsImpulseResponse") {
      timeDomain->IsImpulseResponse = AsBoolean(property);
    } else if (property.Name == "Channels") {
      for (const TPropertyList& item : AsCollection(property).Items) {
        TTimeDomainChannel& channel = timeDomain->AddChannel();
        for (const TProperty& field : item) {
          if (field.Name == "DisplayName") {
            channel.DisplayName = AsText(field);
          } else if (field.Name == "Color") {
            channel.Color = AsColor(field);
          } else if (field.Name == "Alpha") {
            channel.Alpha = static_cast<std::uint8_t>(std::clamp(AsInteger(field), 0, 255));
          } else if (field.Name == "Visible") {
            channel.Visible = AsBoolean(field);
          } else {
            Fail("Property " + field.Name + " does not exist");
          }
        }
      }
    } else {
      Fail("Property " + property.Name + " does not exist");
    }
  }
  return timeDomain;
}

template <class T, std::size_t N>
T& Make(TBuilt& built, TVSTGUI& form, const TPropertyList& properties,
        const TSetter<T> (&setters)[N]) {
  auto control = std::make_unique<T>();
  T& made = *control;
  const TProperty* name = FindProperty(properties, "Name");
  if (name != nullptr) made.Name = AsText(*name);
  built.Controls.push_back(std::move(control));
  ApplyAll(made, form, setters, properties);
  Publish(form, made.Name, &made);
  return made;
}

void BuildComponents(TBuilt& built, TVSTGUI& form, const TCollectionValue& components) {
  for (const TPropertyList& properties : components.Items) {
    const TProperty* className = FindProperty(properties, "ClassName");
    if (className == nullptr) Fail("Component without a class");
    const std::string& kind = AsText(*className);
    if (kind == "TTimeDomain") {
      built.TimeDomain = MakeTimeDomain(properties);
      form.TimeDomain = built.TimeDomain.get();
    } else if (kind == "TImage32") {
      Make(built, form, properties, kImageSetters);
    } else if (kind == "TGaugeBar") {
      Make(built, form, properties, kGaugeBarSetters);
    } else if (kind == "TFlatControlsCheckBox") {
      Make(built, form, properties, kCheckBoxSetters);
    } else if (kind == "TLabel") {
      Make(built, form, properties, kLabelSetters);
    } else if (kind == "TAudioChart") {
      Make(built, form, properties, kChartSetters);
    } else {
      Fail("Class " + kind + " not found");
    }
    // Children lie above their parent.
    if (const TProperty* children = FindProperty(properties, "Components"))
      BuildComponents(built, form, AsCollection(*children));
  }
}

int DeclaredSize(std::string_view name) {
  const TProperty* size = FindProperty(VSTGUIDescription().Properties, name);
  return size != nullptr ? AsInteger(*size) : 0;
}

}  // namespace

int TVSTGUIBuilder::ClientWidth() {
  return DeclaredSize("ClientWidth");
}

int TVSTGUIBuilder::ClientHeight() {
  return DeclaredSize("ClientHeight");
}

void TVSTGUIBuilder::Build(TVSTGUI& form) {
  TBuilt built;
  for (const TProperty& property : VSTGUIDescription().Properties) {
    const std::string& name = property.Name;
    if (name == "ClientWidth") {
      form.FClientWidth = AsInteger(property);
    } else if (name == "ClientHeight") {
      form.FClientHeight = AsInteger(property);
    } else if (name == "BorderStyle") {
      Expect(property, "bsNone");
    } else if (name == "Components") {
      BuildComponents(built, form, AsCollection(property));
    } else if (name == "OnShow") {
      const TFormMethod method = FindMethod(kFormMethods, property);
      form.FOnShow = [&form, method](TObject* sender) { (form.*method)(sender); };
    } else if (name == "ActiveControl") {
      form.FActiveControl = nullptr;
      for (const auto& control : built.Controls)
        if (control->Name == AsIdent(property)) form.FActiveControl = control.get();
      if (form.FActiveControl == nullptr) Fail("Component " + AsIdent(property) + " not found");
    } else if (name == "Caption" || name == "Color" || name.starts_with("Font.") ||
               name == "Scaled" || name == "PixelsPerInch") {
      // The window has no caption, the background covers the form's colour,
      // and the controls carry their own fonts at fixed pixel sizes.
    } else {
      Fail("Property " + name + " does not exist");
    }
  }
  form.FControls = std::move(built.Controls);
  form.FTimeDomain = std::move(built.TimeDomain);
  form.TimeDomain = form.FTimeDomain.get();
}
