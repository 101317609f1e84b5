#pragma once

#include <string>

// The operating system's shared-library loader behind one small interface, so
// that each platform's loader lives in a file of its own.

using TLibraryHandle = void*;

// Opens the library at path with every symbol resolved now and kept local to
// it. Answers null and sets error to the loader's message on failure.
TLibraryHandle OpenDynamicLibrary(const std::string& path, std::string& error);

// Answers the address of an exported symbol, or null when there is none.
void* FindLibrarySymbol(TLibraryHandle library, const char* name);

void CloseDynamicLibrary(TLibraryHandle library);
