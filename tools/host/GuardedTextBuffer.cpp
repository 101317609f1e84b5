#include "tools/host/GuardedTextBuffer.h"

#include <algorithm>

#include "platform/HostEncoding.h"

TGuardedTextBuffer::TGuardedTextBuffer(std::size_t size)
    : StatedSize(size), Bytes(size + kGuardSize, kFill) {}

TTextReply TGuardedTextBuffer::Inspect(VstIntPtr result) const {
  TTextReply reply;
  reply.Result = result;
  reply.BufferSize = StatedSize;
  const auto text = Bytes.begin();
  const auto end = text + static_cast<std::ptrdiff_t>(StatedSize);
  const auto zero = std::find(text, end, '\0');
  // A Windows plug-in answers in the system's code page; the reply reads
  // as UTF-8, as a host shows it.
  reply.Text = FromHostEncoding(std::string(text, zero));
  reply.Terminated = zero != end;
  const auto lastChanged =
      std::find_if(Bytes.rbegin(), Bytes.rend(), [](char byte) { return byte != kFill; });
  reply.BytesWritten = static_cast<std::size_t>(Bytes.rend() - lastChanged);
  return reply;
}
