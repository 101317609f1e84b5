#include "tools/demo/LevelChart.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "tools/demo/DemoSignal.h"

namespace {

// Layout in SVG user units.
constexpr int kColumns = 4;
constexpr int kPanelWidth = 260;
constexpr int kPanelHeight = 190;
constexpr int kHeaderHeight = 70;
constexpr int kMargin = 10;
constexpr int kPlotLeft = 44;
constexpr int kPlotRight = 250;
constexpr int kPlotTop = 34;
constexpr int kPlotBottom = 170;
constexpr int kBarGap = 6;
constexpr int kTickOverhang = 3;

// Levels shown: from +10 dB down to -160 dB; quieter bars stop at the floor.
constexpr double kTopDb = 10.0;
constexpr double kFloorDb = -160.0;
constexpr double kGridStepDb = 40.0;

constexpr const char* kWithinColour = "#3a7d44";
constexpr const char* kOutsideColour = "#c0392b";
constexpr const char* kNotJudgedColour = "#9aa5b1";
constexpr const char* kGridColour = "#dde3e8";

double Y(double db) {
  const double clamped = std::clamp(db, kFloorDb, kTopDb);
  return kPlotTop + (kTopDb - clamped) / (kTopDb - kFloorDb) * (kPlotBottom - kPlotTop);
}

std::string Escaped(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

const char* Colour(TVerdict verdict) {
  switch (verdict) {
    case TVerdict::Within:
      return kWithinColour;
    case TVerdict::Outside:
      return kOutsideColour;
    default:
      return kNotJudgedColour;
  }
}

void Panel(std::ostream& svg, const TProgramResult& result, int x, int y) {
  const TProgramSettings& settings = result.Settings;
  svg << "<g transform=\"translate(" << x << ',' << y << ")\">\n";
  svg << "<text x=\"" << kPlotLeft << "\" y=\"20\" class=\"title\">" << settings.Index << "  "
      << Escaped(settings.Name) << "</text>\n";
  for (double db = 0.0; db >= kFloorDb; db -= kGridStepDb) {
    svg << "<line x1=\"" << kPlotLeft << "\" x2=\"" << kPlotRight << "\" y1=\"" << Y(db)
        << "\" y2=\"" << Y(db) << "\" stroke=\"" << kGridColour << "\"/>"
        << "<text x=\"" << kPlotLeft - 4 << "\" y=\"" << Y(db) + 4
        << "\" class=\"axis\" text-anchor=\"end\">" << db << "</text>\n";
  }
  const double slot = static_cast<double>(kPlotRight - kPlotLeft) / kDemoHarmonics;
  for (std::size_t k = 0; k < settings.SetDb.size(); ++k) {
    const double left = kPlotLeft + slot * static_cast<double>(k) + kBarGap / 2.0;
    const double width = slot - kBarGap;
    const double measured = result.MeasuredDb[k];
    const double top = Y(std::isnan(measured) ? kTopDb : measured);
    svg << "<rect x=\"" << left << "\" y=\"" << top << "\" width=\"" << width << "\" height=\""
        << kPlotBottom - top << "\" fill=\"" << Colour(Judge(settings.SetDb[k], measured))
        << "\"><title>harmonic " << k + 1 << ": set " << settings.SetDb[k] << " dB, measured "
        << measured << " dB</title></rect>\n";
    svg << "<line x1=\"" << left - kTickOverhang << "\" x2=\"" << left + width + kTickOverhang
        << "\" y1=\"" << Y(settings.SetDb[k]) << "\" y2=\"" << Y(settings.SetDb[k])
        << "\" stroke=\"black\" stroke-width=\"2\"/>\n";
    svg << "<text x=\"" << left + width / 2 << "\" y=\"" << kPlotBottom + 14
        << "\" class=\"axis\" text-anchor=\"middle\">" << k + 1 << "</text>\n";
  }
  svg << "</g>\n";
}

}  // namespace

std::string LevelChartSvg(const std::vector<TProgramResult>& results) {
  std::vector<const TProgramResult*> shown;
  for (const TProgramResult& result : results) {
    if (!result.SameAs) shown.push_back(&result);
  }
  const int rows = (static_cast<int>(shown.size()) + kColumns - 1) / kColumns;
  const int width = kColumns * kPanelWidth + 2 * kMargin;
  const int height = kHeaderHeight + rows * kPanelHeight + kMargin;

  std::ostringstream svg;
  svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
      << "\" viewBox=\"0 0 " << width << ' ' << height << "\">\n"
      << "<style>text{font-family:sans-serif;fill:#222}.title{font-size:13px;font-weight:bold}"
         ".axis{font-size:10px}.head{font-size:15px}.note{font-size:11px}</style>\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
      << "<text x=\"" << kMargin << "\" y=\"24\" class=\"head\">Measured levels of harmonics 1 to "
      << kDemoHarmonics << " (dB) of a full-scale " << DemoFrequency()
      << " Hz sine through each program</text>\n"
      << "<text x=\"" << kMargin << "\" y=\"46\" class=\"note\">Bars: measured level. Black "
      << "ticks: set level. Green: within " << kToleranceDb << " dB; red: outside; grey: set "
      << "below " << kJudgedFromDb << " dB, not judged. Levels below " << kFloorDb
      << " dB are drawn at " << kFloorDb << ".</text>\n";
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const int column = static_cast<int>(i) % kColumns;
    const int row = static_cast<int>(i) / kColumns;
    Panel(svg, *shown[i], kMargin + column * kPanelWidth, kHeaderHeight + row * kPanelHeight);
  }
  svg << "</svg>\n";
  return svg.str();
}
