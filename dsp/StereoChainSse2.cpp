#include <emmintrin.h>

#include "dsp/StereoChainLanes.h"

// The chain with 128-bit vectors: one vector per channel and section pair,
// {even chain, odd chain} for the upsampler and {odd, even} for the
// downsampler. Too few registers for one deep pipeline, so the work runs in
// separate passes per piece: upsample both channels into the piece buffer,
// shape the whole piece in place, downsample both channels out of it. Each
// section keeps its state in registers (or their spill slots) across a pass.
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

// Both channels in one pass, so that the section recurrences of the two
// overlap: this outweighs the state that no longer fits into the registers.
template <class Sample>
void UpsampleStereo(TLanes& lanes, const Sample* const* inputs, double* piece, int count) {
  TChannelSections l = LoadSections(lanes.UpA, lanes.UpX, lanes.UpY, 0);
  TChannelSections r = LoadSections(lanes.UpA, lanes.UpX, lanes.UpY, 1);
  const __m128d offset = _mm_set1_pd(lanes.InputOffset);
  const Sample* left = inputs[0];
  const Sample* right = inputs[1];
  int n = 0;
  for (; n + 1 < count; n += 2) {
    const __m128d wl = InputPair(left, n, offset);
    const __m128d wr = InputPair(right, n, offset);
    double* target = piece + n * kLanes;
    _mm_store_pd(target, RunPairs(l, _mm_unpacklo_pd(wl, wl)));
    _mm_store_pd(target + kChannelLanes, RunPairs(r, _mm_unpacklo_pd(wr, wr)));
    _mm_store_pd(target + kLanes, RunPairs(l, _mm_unpackhi_pd(wl, wl)));
    _mm_store_pd(target + kLanes + kChannelLanes, RunPairs(r, _mm_unpackhi_pd(wr, wr)));
  }
  if (n < count) {
    const __m128d xl = _mm_add_sd(_mm_set_sd(static_cast<double>(left[n])), offset);
    const __m128d xr = _mm_add_sd(_mm_set_sd(static_cast<double>(right[n])), offset);
    _mm_store_pd(piece + n * kLanes, RunPairs(l, _mm_unpacklo_pd(xl, xl)));
    _mm_store_pd(piece + n * kLanes + kChannelLanes, RunPairs(r, _mm_unpacklo_pd(xr, xr)));
  }
  StoreSections(l, lanes.UpX, lanes.UpY, 0);
  StoreSections(r, lanes.UpX, lanes.UpY, 1);
}

template <class Sample>
void DownsampleStereo(TLanes& lanes, const double* piece, Sample* const* outputs, int count) {
  TChannelSections l = LoadSections(lanes.DownA, lanes.DownX, lanes.DownY, 0);
  TChannelSections r = LoadSections(lanes.DownA, lanes.DownX, lanes.DownY, 1);
  const __m128d half = _mm_set1_pd(0.5);
  Sample* left = outputs[0];
  Sample* right = outputs[1];
  int n = 0;
  for (; n + 1 < count; n += 2) {
    const double* source = piece + n * kLanes;
    const __m128d l0 = RunPairs(l, _mm_load_pd(source));
    const __m128d r0 = RunPairs(r, _mm_load_pd(source + kChannelLanes));
    const __m128d l1 = RunPairs(l, _mm_load_pd(source + kLanes));
    const __m128d r1 = RunPairs(r, _mm_load_pd(source + kLanes + kChannelLanes));
    OutputPair(_mm_mul_pd(half, _mm_add_pd(_mm_unpackhi_pd(l0, l1), _mm_unpacklo_pd(l0, l1))), left,
               n);
    OutputPair(_mm_mul_pd(half, _mm_add_pd(_mm_unpackhi_pd(r0, r1), _mm_unpacklo_pd(r0, r1))),
               right, n);
  }
  if (n < count) {
    const __m128d vl = RunPairs(l, _mm_load_pd(piece + n * kLanes));
    const __m128d vr = RunPairs(r, _mm_load_pd(piece + n * kLanes + kChannelLanes));
    left[n] = static_cast<Sample>(
        _mm_cvtsd_f64(_mm_mul_pd(half, _mm_add_pd(vl, _mm_shuffle_pd(vl, vl, 1)))));
    right[n] = static_cast<Sample>(
        _mm_cvtsd_f64(_mm_mul_pd(half, _mm_add_pd(vr, _mm_shuffle_pd(vr, vr, 1)))));
  }
  StoreSections(l, lanes.DownX, lanes.DownY, 0);
  StoreSections(r, lanes.DownX, lanes.DownY, 1);
}

template <class Sample>
void Run(TLanes& lanes, const Sample* const* inputs, Sample* const* outputs, int frames) {
  double* piece = lanes.Piece;
  for (int start = 0; start < frames; start += kPiece) {
    const int count = frames - start < kPiece ? frames - start : kPiece;
    const Sample* in[2] = {inputs[0] + start, inputs[1] + start};
    Sample* out[2] = {outputs[0] + start, outputs[1] + start};
    UpsampleStereo(lanes, in, piece, count);
    Shape(lanes, piece, count);
    DownsampleStereo(lanes, piece, out, count);
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
