#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The encoding VST 2 hosts use for texts on this platform: UTF-8 on Linux,
// the system's ANSI code page on Windows. Our own texts are UTF-8; they are
// converted where they cross to or from a host.

// `utf8` in the host's encoding; characters it cannot show become '?'.
std::string ToHostEncoding(std::string_view utf8);
// A host's text as UTF-8.
std::string FromHostEncoding(std::string_view hostText);
// The longest prefix of a host-encoded text that fits into maxBytes bytes
// without splitting a character.
std::size_t HostEncodingCut(std::string_view hostText, std::size_t maxBytes);
