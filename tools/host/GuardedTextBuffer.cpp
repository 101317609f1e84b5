#include "tools/host/GuardedTextBuffer.h"

#include <algorithm>

TGuardedTextBuffer::TGuardedTextBuffer(std::size_t size)
    : StatedSize(size), Bytes(size + kGuardSize, kFill) {}

TTextReply TGuardedTextBuffer::Inspect(VstIntPtr result) const {
  TTextReply reply;
  reply.Result = result;
  reply.BufferSize = StatedSize;
  const auto text = Bytes.begin();
  const auto end = text + static_cast<std::ptrdiff_t>(StatedSize);
  const auto zero = std::find(text, end, '\0');
  reply.Text.assign(text, zero);
  reply.Terminated = zero != end;
  const auto lastChanged =
      std::find_if(Bytes.rbegin(), Bytes.rend(), [](char byte) { return byte != kFill; });
  reply.BytesWritten = static_cast<std::size_t>(Bytes.rend() - lastChanged);
  return reply;
}
