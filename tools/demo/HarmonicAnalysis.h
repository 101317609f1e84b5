#pragma once

#include <cstddef>
#include <span>
#include <vector>

// Levels of the harmonics of a periodic signal whose period is a whole number
// of samples. Each harmonic is measured by a DFT at its own frequency over a
// whole number of periods: there every harmonic falls exactly on a bin, so
// none leaks into another and no window is needed.

// The amplitude of harmonic number harmonic (1 is the fundamental) over the
// largest whole number of periods in signal. Throws std::invalid_argument
// when signal holds no whole period or the harmonic is not below half the
// sample rate.
double HarmonicAmplitude(std::span<const double> signal, std::size_t period, int harmonic);

// The amplitudes of harmonics 1 .. count, measured after the first settle
// samples (filters settling), as HarmonicAmplitude measures them.
std::vector<double> HarmonicAmplitudes(std::span<const double> signal, std::size_t period,
                                       std::size_t settle, int count);

// 20 log10 of the amplitude: 0 dB is a full-scale sine; 0 gives -infinity.
double AmplitudeToDb(double amplitude);
