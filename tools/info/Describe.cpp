#include "tools/info/Describe.h"

#include <cstdio>
#include <iterator>

namespace {

struct TFlagName {
  VstInt32 Flag;
  const char* Name;
};

constexpr TFlagName kFlagNames[] = {
    {effFlagsHasEditor, "HasEditor"},
    {effFlagsHasClip, "HasClip"},
    {effFlagsHasVu, "HasVu"},
    {effFlagsCanMono, "CanMono"},
    {effFlagsCanReplacing, "CanReplacing"},
    {effFlagsProgramChunks, "ProgramChunks"},
    {effFlagsIsSynth, "IsSynth"},
    {effFlagsNoSoundInStop, "NoSoundInStop"},
    {effFlagsExtIsAsync, "ExtIsAsync"},
    {effFlagsExtHasBuffer, "ExtHasBuffer"},
    {effFlagsCanDoubleReplacing, "CanDoubleReplacing"},
};

// Indexed by TVstPluginCategory.
constexpr const char* kCategoryNames[] = {
    "Unknown", "Effect",     "Synth",       "Analysis",       "Mastering", "Spacializer",
    "RoomFx",  "SurroundFx", "Restoration", "OfflineProcess", "Shell",     "Generator",
};
static_assert(std::size(kCategoryNames) == cgGenerator + 1);

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

// Bytes from 0x80 up pass through, so that UTF-8 names read as they are.
void AppendEscaped(std::string& out, char byte) {
  const auto value = static_cast<unsigned char>(byte);
  if (value < kFirstPrintable || value == kDelete) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", value);
    out += escaped;
  } else if (byte == '\\' || byte == '"' || byte == '\'') {
    out += '\\';
    out += byte;
  } else {
    out += byte;
  }
}

}  // namespace

std::string FourCharText(VstInt32 code) {
  const auto bits = static_cast<std::uint32_t>(code);
  std::string text = "'";
  for (int shift = 24; shift >= 0; shift -= 8) {
    AppendEscaped(text, static_cast<char>((bits >> shift) & 0xFFu));
  }
  return text + "'";
}

std::string HexText(VstInt32 value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

std::string CategoryName(VstIntPtr category) {
  if (category < 0 || category >= static_cast<VstIntPtr>(std::size(kCategoryNames))) {
    return "unknown category";
  }
  return kCategoryNames[category];
}

std::string FlagNames(VstInt32 flags) {
  std::string names;
  auto remaining = static_cast<std::uint32_t>(flags);
  for (const TFlagName& flag : kFlagNames) {
    const auto bit = static_cast<std::uint32_t>(flag.Flag);
    if ((remaining & bit) == 0) continue;
    if (!names.empty()) names += ' ';
    names += flag.Name;
    remaining &= ~bit;
  }
  if (remaining != 0) {
    if (!names.empty()) names += ' ';
    names += "unnamed " + HexText(static_cast<VstInt32>(remaining));
  }
  return names.empty() ? "none" : names;
}

std::string CanDoAnswerText(VstIntPtr answer) {
  switch (answer) {
    case 1:
      return "yes";
    case -1:
      return "no";
    case 0:
      return "don't know";
    default:
      return "answer " + std::to_string(answer);
  }
}

std::string ReplyText(const TTextReply& reply) {
  std::string text = "\"";
  for (char byte : reply.Text)
    AppendEscaped(text, byte);
  text += '"';
  if (reply.Overrun()) {
    text += " [overrun: wrote " + std::to_string(reply.BytesWritten) + " bytes into " +
            std::to_string(reply.BufferSize) + "]";
  }
  if (!reply.Terminated) {
    text += " [unterminated within " + std::to_string(reply.BufferSize) + " bytes]";
  }
  return text;
}
