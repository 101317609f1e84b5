#include "tools/info/InfoReport.h"

#include <algorithm>
#include <iomanip>
#include <iterator>
#include <string>

#include "tools/info/Describe.h"

namespace {

constexpr int kLabelWidth = 16;
constexpr int kCanDoWidth = 24;

void Line(std::ostream& out, const char* label, const std::string& value) {
  out << std::left << std::setw(kLabelWidth) << (std::string(label) + ":") << value << '\n';
}

void WriteIdentity(std::ostream& out, const TPluginLibrary& library, TEffect& effect) {
  const AEffect& record = *effect.Record();
  Line(out, "File", library.Path());
  Line(out, "Entry point", library.EntryPointName());
  Line(out, "Unique ID", FourCharText(record.uniqueID) + " (" + HexText(record.uniqueID) + ")");
  Line(out, "Version", std::to_string(record.version) + " (" + HexText(record.version) + ")");
  Line(out, "VST version", std::to_string(effect.Dispatch(effGetVstVersion)));
  Line(out, "Effect name", ReplyText(effect.EffectName()));
  Line(out, "Vendor", ReplyText(effect.VendorString()));
  Line(out, "Product", ReplyText(effect.ProductString()));
  Line(out, "Vendor version", std::to_string(effect.Dispatch(effGetVendorVersion)));
  const VstIntPtr category = effect.Dispatch(effGetPlugCategory);
  Line(out, "Category", std::to_string(category) + " (" + CategoryName(category) + ")");
  Line(out, "Inputs", std::to_string(record.numInputs));
  Line(out, "Outputs", std::to_string(record.numOutputs));
  Line(out, "Flags", HexText(record.flags) + " (" + FlagNames(record.flags) + ")");
  Line(out, "Initial delay", std::to_string(record.initialDelay));
}

void WriteCanDos(std::ostream& out, TEffect& effect) {
  out << "\nCan do (" << std::size(kCanDoTexts) << "):\n";
  for (const TCanDoText& canDo : kCanDoTexts) {
    out << "  " << std::left << std::setw(kCanDoWidth) << canDo.Text
        << CanDoAnswerText(effect.CanDo(canDo.Text)) << '\n';
  }
}

void WriteParameters(std::ostream& out, TEffect& effect) {
  const VstInt32 count = std::max(effect.Record()->numParams, 0);
  out << "\nParameters (" << count << "):\n";
  for (VstInt32 index = 0; index < count; ++index) {
    out << "  " << index << "  name " << ReplyText(effect.ParameterName(index)) << "  label "
        << ReplyText(effect.ParameterLabel(index)) << "  display "
        << ReplyText(effect.ParameterDisplay(index)) << "  value " << effect.GetParameter(index)
        << "  automatable " << (effect.Dispatch(effCanBeAutomated, index) != 0 ? "yes" : "no")
        << '\n';
  }
}

void WritePrograms(std::ostream& out, TEffect& effect) {
  const VstInt32 count = std::max(effect.Record()->numPrograms, 0);
  out << "\nPrograms (" << count << "):\n";
  const VstIntPtr current = effect.Dispatch(effGetProgram);
  bool switched = false;
  for (VstInt32 index = 0; index < count; ++index) {
    TTextReply name = effect.ProgramNameIndexed(index);
    const bool indexed = name.Result != 0;
    if (!indexed) {
      // Plug-ins without indexed names are read the old way: select, then ask.
      effect.Dispatch(effSetProgram, 0, index);
      switched = true;
      name = effect.ProgramName();
    }
    out << "  " << index << "  " << ReplyText(name)
        << (indexed ? "" : "  (read as the current program)") << '\n';
  }
  if (switched) effect.Dispatch(effSetProgram, 0, current);
}

}  // namespace

void WriteInfoReport(std::ostream& out, const TPluginLibrary& library, TEffect& effect) {
  WriteIdentity(out, library, effect);
  WriteCanDos(out, effect);
  WriteParameters(out, effect);
  WritePrograms(out, effect);
}
