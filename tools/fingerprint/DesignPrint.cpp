#include "tools/fingerprint/DesignPrint.h"

#include <string>

#include "dsp/DDSPBase.h"
#include "dsp/PolyphaseIir2Designer.h"
#include "effect/FactoryPrograms.h"
#include "effect/ShapingPolynomial.h"
#include "tools/fingerprint/PrintFormat.h"

namespace {

using TShaper = TShapingPolynomial;

// The plug-in's resampler design: eight sections, a transition band of 1 %
// of the oversampled rate, the same for every upsampler and downsampler.
constexpr int kSections = 8;
constexpr double kTransition = 0.01;

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
}
