#include "tools/demo/DemoRun.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iomanip>
#include <optional>
#include <vector>

#include "tools/demo/DemoFiles.h"
#include "tools/demo/DemoPrograms.h"
#include "tools/demo/DemoRender.h"
#include "tools/demo/DemoReport.h"
#include "tools/demo/DemoSignal.h"
#include "tools/demo/HarmonicAnalysis.h"
#include "tools/demo/LevelChart.h"
#include "tools/host/Host.h"
#include "tools/host/PluginLibrary.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kChartFile = "levels.svg";
constexpr int kDeviationDecimals = 5;

// Every program's settings, read from one instance.
std::vector<TProgramSettings> ReadSettings(const TPluginLibrary& library) {
  THost host;
  host.SampleRate = kDemoSampleRate;
  auto effect = host.Instantiate(library);
  effect->Dispatch(effOpen);
  auto settings = ReadProgramSettings(*effect);
  effect->Close();
  return settings;
}

std::optional<VstInt32> EarlierWithSameSettings(const std::vector<TProgramResult>& results,
                                                const TProgramSettings& settings) {
  for (const TProgramResult& earlier : results) {
    if (!earlier.SameAs && earlier.Settings.Values == settings.Values) {
      return earlier.Settings.Index;
    }
  }
  return std::nullopt;
}

std::vector<double> MeasuredDb(const std::vector<float>& output) {
  const std::vector<double> samples(output.begin(), output.end());
  std::vector<double> levels;
  for (const double amplitude :
       HarmonicAmplitudes(samples, kDemoPeriod, kDemoSettleFrames, kDemoHarmonics)) {
    levels.push_back(AmplitudeToDb(amplitude));
  }
  return levels;
}

void PrintIntroduction(std::ostream& out, const TDemoOptions& options) {
  out << "A full-scale " << DemoFrequency() << " Hz sine at " << kDemoSampleRate
      << " Hz through every program of\n  " << options.Plugin
      << "\nLevels in dB of harmonics 1 (the fundamental) to " << kDemoHarmonics
      << ": as each program sets\nthem, and as measured in its output after " << kDemoSettleFrames
      << " samples of settling.\nHarmonics set at " << kJudgedFromDb
      << " dB or more must measure within " << kToleranceDb << " dB.\n";
}

}  // namespace

bool RunDemo(const TDemoOptions& options, std::ostream& out) {
  const TPluginLibrary library(options.Plugin);
  const fs::path folder = options.OutputFolder;
  std::error_code status;
  fs::create_directories(folder, status);
  if (status) {
    throw std::runtime_error("Cannot make the output folder '" + folder.string() +
                             "': " + status.message());
  }
  PrintIntroduction(out, options);

  const std::vector<float> sine = DemoSine();
  std::vector<TProgramResult> results;
  int judged = 0;
  int outside = 0;
  double largestDeviation = 0.0;
  int files = 0;
  for (TProgramSettings& settings : ReadSettings(library)) {
    TProgramResult result;
    result.SameAs = EarlierWithSameSettings(results, settings);
    result.Settings = std::move(settings);
    if (!result.SameAs) {
      const std::vector<float> output = RenderProgram(library, result.Settings.Index, sine);
      result.MeasuredDb = MeasuredDb(output);
      result.File = ProgramFileName(result.Settings.Index, result.Settings.Name);
      WriteMonoWav(folder / result.File, output, kDemoSampleRate);
      ++files;
      for (std::size_t k = 0; k < result.MeasuredDb.size(); ++k) {
        const TVerdict verdict = Judge(result.Settings.SetDb[k], result.MeasuredDb[k]);
        if (verdict == TVerdict::NotJudged) continue;
        ++judged;
        outside += verdict == TVerdict::Outside ? 1 : 0;
        largestDeviation =
            std::max(largestDeviation, std::fabs(result.MeasuredDb[k] - result.Settings.SetDb[k]));
      }
    }
    out << '\n';
    PrintProgram(out, result);
    results.push_back(std::move(result));
  }
  WriteTextFile(folder / kChartFile, LevelChartSvg(results));

  out << '\n';
  if (judged == 0) {
    out << "FAILED: no program sets a harmonic at " << kJudgedFromDb
        << " dB or more; there is nothing to judge.\n";
  } else if (outside == 0) {
    out << "All " << judged << " judged harmonics measure within " << kToleranceDb
        << " dB of their set levels (largest deviation " << std::fixed
        << std::setprecision(kDeviationDecimals) << largestDeviation << " dB).\n"
        << std::defaultfloat;
  } else {
    out << "FAILED: " << outside << " of " << judged << " judged harmonics measure more than "
        << kToleranceDb << " dB from their set levels (marked FAIL above).\n";
  }
  out << "Wrote " << files << " WAV files and " << kChartFile << " to " << folder.string() << "\n";
  return outside == 0 && judged > 0;
}
