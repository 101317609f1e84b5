#include "tools/fingerprint/DesignPrint.h"

#include <string>

#include "dsp/DDSPBase.h"
#include "dsp/PolyphaseIir2Designer.h"
#include "effect/FactoryPrograms.h"
#include "effect/Harmonics.h"
#include "effect/ShapingPolynomial.h"
#include "tools/fingerprint/PrintFormat.h"

namespace {

using TShaper = TShapingPolynomial;

// The plug-in's resampler design: eight sections, a transition band of 1 %
// of the oversampled rate, the same for every upsampler and downsampler.
constexpr int kSections = 8;
constexpr double kTransition = 0.01;

// Levels a host may set lie anywhere in the parameter's range: the sweep
// takes every 1/1024 dB from the bottom to the top, eight to a line.
constexpr float kSweepStep = 1.0f / 1024.0f;
constexpr int kSweepPerLine = 8;

void WriteResamplerDesign(std::ostream& out) {
  double k = 0.0;
  double q = 0.0;
  TPolyphaseIir2Designer::ComputeTransitionParameters(kTransition, k, q);
  (TPrintLine("design/k") << k).WriteTo(out);
  (TPrintLine("design/q") << q).WriteTo(out);
  TDoubleArray coefficients(kSections);
  TPolyphaseIir2Designer::ComputeSectionCoefficients(coefficients, kSections, kTransition);
  TPrintLine line("design/sections");
  for (double a : coefficients)
    line << a;
  line.WriteTo(out);
}

std::string ProgramLineName(const char* group, int program) {
  std::string name(group);
  name += "/program-";
  name += std::to_string(program);
  return name;
}

void WriteProgram(std::ostream& out, int program, const TShaper::TLevels& levels,
                  const TShaper::TLevels& phases) {
  TShaper::TPhaseSigns signs{};
  for (std::size_t k = 0; k < signs.size(); ++k)
    signs[k] = TShaper::PhaseToSign(phases[k]);
  TShaper::TGains gains{};
  TShaper::TPolynomialCoefficients coefficients{};
  TShaper::CalculateCoefficients(levels, signs, gains, coefficients);
  TPrintLine gainLine(ProgramLineName("gain", program));
  for (double g : gains)
    gainLine << g;
  gainLine.WriteTo(out);
  TPrintLine polynomialLine(ProgramLineName("polynomial", program));
  for (double c : coefficients)
    polynomialLine << c;
  polynomialLine.WriteTo(out);
}

void WriteGainSweep(std::ostream& out) {
  const int steps = static_cast<int>((kLevelTop - kLevelOff) / kSweepStep);
  for (int first = 0; first <= steps; first += kSweepPerLine) {
    TPrintLine line("gain-sweep/" + std::to_string(first));
    for (int step = first; step < first + kSweepPerLine && step <= steps; ++step)
      line << TShaper::LevelToGain(kLevelOff + static_cast<float>(step) * kSweepStep, 1.0);
    line.WriteTo(out);
  }
}

}  // namespace

void WriteDesignPrint(std::ostream& out) {
  WriteResamplerDesign(out);
  int program = 0;
  for (const TFactoryProgram& factory : kFactoryPrograms)
    WriteProgram(out, program++, factory.Levels, factory.Phases);
  // The remaining programs hold what a new program holds: every level at
  // 0 dB, every phase normal.
  const TShaper::TLevels zeros{};
  for (; program < kProgramCount; ++program)
    WriteProgram(out, program, zeros, zeros);
  WriteGainSweep(out);
}
