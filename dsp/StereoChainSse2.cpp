#include <emmintrin.h>

#include "dsp/StereoChainLanes.h"

// The chain with 128-bit vectors: one vector per channel and section pair,
// {even chain, odd chain} for the upsampler and {odd, even} for the
// downsampler. With eight vector registers on i686 and sixteen on x86-64 the
// work runs in separate passes per piece: upsample each channel into the
// piece buffer, shape the whole piece in place, downsample each channel out
// of it. Each section keeps its state in registers across a pass.
namespace {

using TLanes = TStereoChainLanes;
constexpr int kLanes = TLanes::kLanes;
constexpr int kPiece = TLanes::kPieceFrames;
constexpr int kChannelLanes = 2;

struct TChannelSections {
  __m128d A0, A1, A2, A3;
  __m128d X0, X1, X2, X3;
  __m128d Y0, Y1, Y2, Y3;
};

TChannelSections LoadSections(const double (*a)[kLanes], const double (*x)[kLanes],
                              const double (*y)[kLanes], int channel) {
  const int lane = channel * kChannelLanes;
  return {_mm_loadu_pd(&a[0][lane]), _mm_loadu_pd(&a[1][lane]), _mm_loadu_pd(&a[2][lane]),
          _mm_loadu_pd(&a[3][lane]), _mm_loadu_pd(&x[0][lane]), _mm_loadu_pd(&x[1][lane]),
          _mm_loadu_pd(&x[2][lane]), _mm_loadu_pd(&x[3][lane]), _mm_loadu_pd(&y[0][lane]),
          _mm_loadu_pd(&y[1][lane]), _mm_loadu_pd(&y[2][lane]), _mm_loadu_pd(&y[3][lane])};
}

void StoreSections(const TChannelSections& s, double (*x)[kLanes], double (*y)[kLanes],
                   int channel) {
  const int lane = channel * kChannelLanes;
  _mm_storeu_pd(&x[0][lane], s.X0);
  _mm_storeu_pd(&x[1][lane], s.X1);
  _mm_storeu_pd(&x[2][lane], s.X2);
  _mm_storeu_pd(&x[3][lane], s.X3);
  _mm_storeu_pd(&y[0][lane], s.Y0);
  _mm_storeu_pd(&y[1][lane], s.Y1);
  _mm_storeu_pd(&y[2][lane], s.Y2);
  _mm_storeu_pd(&y[3][lane], s.Y3);
}

// r = x + (v - y) * a; x = v; y = r.
inline __m128d Step(__m128d a, __m128d& x, __m128d& y, __m128d v) {
  const __m128d r = _mm_add_pd(x, _mm_mul_pd(_mm_sub_pd(v, y), a));
  x = v;
  y = r;
  return r;
}

inline __m128d RunPairs(TChannelSections& s, __m128d v) {
  v = Step(s.A0, s.X0, s.Y0, v);
  v = Step(s.A1, s.X1, s.Y1, v);
  v = Step(s.A2, s.X2, s.Y2, v);
  return Step(s.A3, s.X3, s.Y3, v);
}

// {x n, x n+1} + offset: two frames' inputs, added at once.
inline __m128d InputPair(const double* input, int n, __m128d offset) {
  return _mm_add_pd(_mm_loadu_pd(input + n), offset);
}

inline __m128d InputPair(const float* input, int n, __m128d offset) {
  const __m128i pair = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(input + n));
  return _mm_add_pd(_mm_cvtps_pd(_mm_castsi128_ps(pair)), offset);
}

inline void OutputPair(__m128d v, double* output, int n) {
  _mm_storeu_pd(output + n, v);
}

inline void OutputPair(__m128d v, float* output, int n) {
  _mm_storel_pi(reinterpret_cast<__m64*>(output + n), _mm_cvtpd_ps(v));
}

template <class Sample>
void Upsample(TLanes& lanes, const Sample* input, double* piece, int count, int channel) {
  TChannelSections s = LoadSections(lanes.UpA, lanes.UpX, lanes.UpY, channel);
  const __m128d offset = _mm_set1_pd(lanes.InputOffset);
  double* target = piece + channel * kChannelLanes;
  int n = 0;
  for (; n + 1 < count; n += 2) {
    const __m128d w = InputPair(input, n, offset);
    _mm_store_pd(target + n * kLanes, RunPairs(s, _mm_unpacklo_pd(w, w)));
    _mm_store_pd(target + (n + 1) * kLanes, RunPairs(s, _mm_unpackhi_pd(w, w)));
  }
  if (n < count) {
    const __m128d x = _mm_add_sd(_mm_set_sd(static_cast<double>(input[n])), offset);
    _mm_store_pd(target + n * kLanes, RunPairs(s, _mm_unpacklo_pd(x, x)));
  }
  StoreSections(s, lanes.UpX, lanes.UpY, channel);
}

void Shape(const TLanes& lanes, double* piece, int count) {
  const double* c = lanes.Shape;
  const __m128d c0 = _mm_set1_pd(c[0]), c1 = _mm_set1_pd(c[1]), c2 = _mm_set1_pd(c[2]);
  const __m128d c3 = _mm_set1_pd(c[3]), c4 = _mm_set1_pd(c[4]), c5 = _mm_set1_pd(c[5]);
  const __m128d c6 = _mm_set1_pd(c[6]), c7 = _mm_set1_pd(c[7]), c8 = _mm_set1_pd(c[8]);
  for (int i = 0; i < count * kLanes; i += kChannelLanes) {
    const __m128d u = _mm_load_pd(piece + i);
    __m128d y = _mm_mul_pd(u, c8);
    y = _mm_mul_pd(_mm_add_pd(y, c7), u);
    y = _mm_mul_pd(_mm_add_pd(y, c6), u);
    y = _mm_mul_pd(_mm_add_pd(y, c5), u);
    y = _mm_mul_pd(_mm_add_pd(y, c4), u);
    y = _mm_mul_pd(_mm_add_pd(y, c3), u);
    y = _mm_mul_pd(_mm_add_pd(y, c2), u);
    y = _mm_mul_pd(_mm_add_pd(y, c1), u);
    _mm_store_pd(piece + i, _mm_add_pd(y, c0));
  }
}

template <class Sample>
void Downsample(TLanes& lanes, const double* piece, Sample* output, int count, int channel) {
  TChannelSections s = LoadSections(lanes.DownA, lanes.DownX, lanes.DownY, channel);
  const __m128d half = _mm_set1_pd(0.5);
  const double* source = piece + channel * kChannelLanes;
  int n = 0;
  // Two frames' {odd, even} results at once: even plus odd chain, halved.
  for (; n + 1 < count; n += 2) {
    const __m128d first = RunPairs(s, _mm_load_pd(source + n * kLanes));
    const __m128d second = RunPairs(s, _mm_load_pd(source + (n + 1) * kLanes));
    const __m128d sum = _mm_add_pd(_mm_unpackhi_pd(first, second), _mm_unpacklo_pd(first, second));
    OutputPair(_mm_mul_pd(half, sum), output, n);
  }
  if (n < count) {
    const __m128d v = RunPairs(s, _mm_load_pd(source + n * kLanes));
    const __m128d sum = _mm_add_pd(v, _mm_shuffle_pd(v, v, 1));
    output[n] = static_cast<Sample>(_mm_cvtsd_f64(_mm_mul_pd(half, sum)));
  }
  StoreSections(s, lanes.DownX, lanes.DownY, channel);
}

template <class Sample>
void Run(TLanes& lanes, const Sample* const* inputs, Sample* const* outputs, int frames) {
  double* piece = lanes.Piece;
  for (int start = 0; start < frames; start += kPiece) {
    const int count = frames - start < kPiece ? frames - start : kPiece;
    Upsample(lanes, inputs[0] + start, piece, count, 0);
    Upsample(lanes, inputs[1] + start, piece, count, 1);
    Shape(lanes, piece, count);
    Downsample(lanes, piece, outputs[0] + start, count, 0);
    Downsample(lanes, piece, outputs[1] + start, count, 1);
  }
}

}  // namespace

void StereoChainSse2Single(TStereoChainLanes& lanes, const float* const* inputs,
                           float* const* outputs, int frames) {
  Run(lanes, inputs, outputs, frames);
}

void StereoChainSse2Double(TStereoChainLanes& lanes, const double* const* inputs,
                           double* const* outputs, int frames) {
  Run(lanes, inputs, outputs, frames);
}
