#include <cstring>

#include "frame/CustomVSTModule.h"
#include "frame/HostText.h"

namespace {

// Hosts' program names are read at most this far.
constexpr std::size_t kMaxHostProgramText = 256;
constexpr std::size_t kChunkLengthBytes = 4;

void AppendLength(std::vector<std::uint8_t>& buffer, VstInt32 length) {
  const auto bits = static_cast<std::uint32_t>(length);
  for (std::size_t i = 0; i < kChunkLengthBytes; ++i)
    buffer.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

VstInt32 ReadLength(const std::uint8_t* bytes) {
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < kChunkLengthBytes; ++i)
    bits |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
  return static_cast<VstInt32>(bits);
}

}  // namespace

void TCustomVSTModule::ProgramsChanged() {
  RefreshNumPrograms();
  if (FPrograms->Count() > 0 && FCurrentProgram.load() < 0) FCurrentProgram.store(0);
}

void TCustomVSTModule::SetCurrentProgram(VstInt32 program) {
  if (program >= 0 && program < numPrograms() && FPrograms->Contains(program)) {
    if (OnBeforeProgramChange) OnBeforeProgramChange(this);
    FCurrentProgram.store(program);
    if (OnAfterProgramChange) OnAfterProgramChange(this);
    // Re-apply the program's values through the change path; a handler
    // failure ends the re-application but not the switch.
    try {
      TCustomVstProgram& current = (*FPrograms)[program];
      if (current.HasValues()) {
        for (std::size_t i = 0; i < current.ParameterValues().Count(); ++i)
          SetParameterValue(static_cast<VstInt32>(i), current.ParameterValues().Get(i));
      }
    } catch (...) {
    }
    SetEditorNeedsUpdate();
  }
  HostUpdateDisplay();
}

std::string TCustomVSTModule::GetCurrentProgramName() const {
  const VstInt32 current = FCurrentProgram.load();
  if (current < 0 || current >= numPrograms() || !FPrograms->Contains(current)) return {};
  return (*FPrograms)[current].DisplayName();
}

void TCustomVSTModule::SetCurrentProgramName(const std::string& name) {
  const VstInt32 current = FCurrentProgram.load();
  if (current >= 0 && current < numPrograms() && FPrograms->Contains(current)) {
    (*FPrograms)[current].SetDisplayName(name);
    SetEditorNeedsUpdate();
  }
  HostUpdateDisplay();
}

void TCustomVSTModule::HandleSetProgramName(const char* text) {
  const VstInt32 current = FCurrentProgram.load();
  if (numPrograms() > 0 && FPrograms->Contains(current))
    (*FPrograms)[current].SetDisplayName(ReadHostText(text, kMaxHostProgramText));
}

void TCustomVSTModule::HandleGetProgramName(char* buffer) {
  WriteHostText(buffer, kVstMaxProgNameLen, numPrograms() < 1 ? "" : GetCurrentProgramName());
}

bool TCustomVSTModule::GetProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
  if (index < 0 || index >= numPrograms() || !FPrograms->Contains(index)) return false;
  WriteHostText(text, kVstMaxProgNameLen, (*FPrograms)[index].DisplayName());
  return true;
}

VstIntPtr TCustomVSTModule::GetChunk(void** data, bool isPreset) {
  // Without program chunks the host saves parameters instead.
  if (!IsProgramChunkMode() || FPrograms->Count() == 0) return 0;
  if (isPreset) {
    const VstInt32 current = FCurrentProgram.load();
    if (!FPrograms->Contains(current)) return 0;
    TCustomVstProgram& program = (*FPrograms)[current];
    if (program.OnStoreChunk) program.OnStoreChunk(&program, current, true);
    *data = program.ChunkData().data();
    return static_cast<VstIntPtr>(program.ChunkData().size());
  }
  FBankChunkBuffer.clear();
  for (int i = 0; i < FPrograms->Count(); ++i) {
    TCustomVstProgram& program = (*FPrograms)[i];
    if (program.OnStoreChunk) program.OnStoreChunk(&program, i, false);
    AppendLength(FBankChunkBuffer, static_cast<VstInt32>(program.ChunkData().size()));
    FBankChunkBuffer.insert(FBankChunkBuffer.end(), program.ChunkData().begin(),
                            program.ChunkData().end());
  }
  *data = FBankChunkBuffer.data();
  return static_cast<VstIntPtr>(FBankChunkBuffer.size());
}

VstIntPtr TCustomVSTModule::SetChunk(void* data, VstIntPtr byteSize, bool isPreset) {
  if (!IsProgramChunkMode() || FPrograms->Count() == 0 || byteSize < 0 || data == nullptr) return 0;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  const auto size = static_cast<std::size_t>(byteSize);
  const VstInt32 current = FCurrentProgram.load();
  if (isPreset) {
    if (!FPrograms->Contains(current)) return 0;
    TCustomVstProgram& program = (*FPrograms)[current];
    program.ChunkData().assign(bytes, bytes + size);
    if (program.OnLoadChunk) program.OnLoadChunk(&program, current, true);
  } else {
    // The whole bank is checked before anything changes: every program's
    // record must lie within the data the host handed in.
    std::vector<std::size_t> starts;
    std::size_t offset = 0;
    for (int i = 0; i < FPrograms->Count(); ++i) {
      if (size - offset < kChunkLengthBytes) return 0;
      const VstInt32 length = ReadLength(bytes + offset);
      offset += kChunkLengthBytes;
      if (length < 0 || static_cast<std::size_t>(length) > size - offset) return 0;
      starts.push_back(offset);
      offset += static_cast<std::size_t>(length);
    }
    for (int i = 0; i < FPrograms->Count(); ++i) {
      const std::size_t start = starts[static_cast<std::size_t>(i)];
      const auto length = static_cast<std::size_t>(ReadLength(bytes + start - kChunkLengthBytes));
      TCustomVstProgram& program = (*FPrograms)[i];
      program.ChunkData().assign(bytes + start, bytes + start + length);
      if (program.OnLoadChunk) program.OnLoadChunk(&program, i, false);
    }
    if (FPrograms->Contains(current)) {
      TCustomVstProgram& program = (*FPrograms)[current];
      if (program.OnLoadChunk) program.OnLoadChunk(&program, current, false);
    }
  }
  SetEditorNeedsUpdate();
  return byteSize;
}

VstIntPtr TCustomVSTModule::BeginLoadBank(VstPatchChunkInfo* info) {
  const bool ours = info->pluginUniqueID == FEffect.uniqueID;
  if (OnBeginLoadBank) OnBeginLoadBank(this, *info);
  return ours ? 0 : -1;
}

VstIntPtr TCustomVSTModule::BeginLoadProgram(VstPatchChunkInfo* info) {
  const bool ours = info->pluginUniqueID == FEffect.uniqueID;
  if (OnBeginLoadProgram) OnBeginLoadProgram(this, *info);
  return ours ? 0 : -1;
}
