#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "frame/DVSTEffect.h"

// The files the demo leaves in its output folder.

// "03-pao-de-acucar.wav" for program 3 "Pão de Açucar": the index keeps the
// programs in order and names unique, the name is cut down to lower-case
// ASCII letters, digits and dashes.
std::string ProgramFileName(VstInt32 index, const std::string& name);

// Writes a mono 32-bit float WAV file (through a temporary name, like the
// render program). Throws std::runtime_error when it cannot.
void WriteMonoWav(const std::filesystem::path& path, const std::vector<float>& samples,
                  int sampleRate);

// Writes text into a file through a temporary name.
void WriteTextFile(const std::filesystem::path& path, const std::string& text);
