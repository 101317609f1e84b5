#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Texts crossing the host boundary. Stored texts are UTF-8 and measured in
// characters (Unicode code points); host buffers are measured in bytes and
// never written past their size.

// The longest prefix of text holding at most maxChars characters.
std::string_view CutToCharacters(std::string_view text, std::size_t maxChars);

// The longest prefix of text that fits into maxBytes bytes without splitting
// a character.
std::string_view CutToBytes(std::string_view text, std::size_t maxBytes);

// Writes text NUL-terminated into a host buffer of bufferSize bytes, in the
// host's encoding and cut at a character boundary. Nothing is written to a
// null buffer or a zero size.
void WriteHostText(char* buffer, std::size_t bufferSize, std::string_view text);

// Reads a NUL-terminated text from the host, looking at most maxBytes bytes
// ahead, as UTF-8; a null pointer reads as empty.
std::string ReadHostText(const char* text, std::size_t maxBytes);
