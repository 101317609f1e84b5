#include "tools/demo/DemoReport.h"

#include <cmath>
#include <iomanip>

#include "tools/demo/DemoSignal.h"

namespace {

constexpr int kLabelWidth = 11;
constexpr int kColumnWidth = 8;
constexpr int kDecimals = 2;
constexpr double kRounding = 100.0;

void Row(std::ostream& out, const char* label) {
  out << "  " << std::left << std::setw(kLabelWidth - 2) << label << std::right;
}

void Levels(std::ostream& out, const std::vector<double>& levels) {
  const auto flags = out.flags();
  const auto precision = out.precision();
  for (const double level : levels) {
    // Adding 0 turns -0 into 0, so that a level just below 0 dB shows as 0.00.
    const double shown = std::round(level * kRounding) / kRounding + 0.0;
    out << std::setw(kColumnWidth) << std::fixed << std::setprecision(kDecimals) << shown;
  }
  out.flags(flags);
  out.precision(precision);
  out << '\n';
}

const char* VerdictText(TVerdict verdict) {
  switch (verdict) {
    case TVerdict::Within:
      return "ok";
    case TVerdict::Outside:
      return "FAIL";
    default:
      return "-";
  }
}

}  // namespace

TVerdict Judge(double setDb, double measuredDb) {
  if (!(setDb >= kJudgedFromDb)) return TVerdict::NotJudged;
  // Not a number measures outside, as it should.
  return std::fabs(measuredDb - setDb) <= kToleranceDb ? TVerdict::Within : TVerdict::Outside;
}

void PrintProgram(std::ostream& out, const TProgramResult& result) {
  const TProgramSettings& settings = result.Settings;
  out << "Program " << settings.Index << " \"" << settings.Name << "\"";
  if (result.SameAs) {
    out << ": the same settings as program " << *result.SameAs << ", not rendered again\n";
    return;
  }
  out << '\n';
  Row(out, "harmonic");
  for (int harmonic = 1; harmonic <= kDemoHarmonics; ++harmonic) {
    out << std::setw(kColumnWidth) << harmonic;
  }
  out << '\n';
  Row(out, "set dB");
  Levels(out, settings.SetDb);
  Row(out, "measured");
  Levels(out, result.MeasuredDb);
  Row(out, "verdict");
  for (std::size_t k = 0; k < settings.SetDb.size(); ++k) {
    out << std::setw(kColumnWidth) << VerdictText(Judge(settings.SetDb[k], result.MeasuredDb[k]));
  }
  out << '\n';
}
