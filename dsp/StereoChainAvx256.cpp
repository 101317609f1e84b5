// Compiled with -mavx (256-bit double arithmetic, no AVX2 and no fused
// multiply-add instruction), x86-64 only. Everything in this file has internal
// linkage apart from the two entry points, and it includes no header with
// inline or template code, so that no instruction of it can end up in code
// that SSE2-only callers run. Every helper's name carries "Avx256", which the
// disassembly test relies on.
#include <immintrin.h>

#include "dsp/StereoChainLanes.h"

// One 256-bit vector per section pair holds {left, right} x {two chains}. The
// block runs as a software pipeline of ten stages: iteration n runs upsampler
// pair k on frame n - k (stages 0 to 3), the Horner scheme in two pieces on
// frames n - 4 and n - 5 (stages 4 and 5) and downsampler pair j on
// frame n - 6 - j (stages 6 to 9). Every stage reads only what the stage
// before it left in the previous iteration, so the only chains carried from
// one iteration to the next are the section recurrences, and the processor
// overlaps everything else; each loop pass runs two iterations, whose inputs
// and results share vectors. Blocks shorter than the pipeline run frame by
// frame through the same operations.
namespace {

#define AVX256_INLINE __attribute__((always_inline)) inline

using TLanes = TStereoChainLanes;
constexpr int kLastStage = 9;

struct TAvx256Pipe {
  __m256d UpX0, UpX1, UpX2, UpX3, UpY0, UpY1, UpY2, UpY3;
  __m256d DownX0, DownX1, DownX2, DownX3, DownY0, DownY1, DownY2, DownY3;
  // The Horner partial result and its argument between stages 4 and 5, and
  // the shaped samples waiting for the downsampler.
  __m256d Horner, Argument, Shaped;
};

struct TAvx256Constants {
  __m256d UpA0, UpA1, UpA2, UpA3, DownA0, DownA1, DownA2, DownA3;
  __m256d C0, C1, C2, C3, C4, C5, C6, C7, C8;
  __m256d Offset, Half;
};

AVX256_INLINE __m256d Avx256Step(__m256d a, __m256d& x, __m256d& y, __m256d v) {
  const __m256d r = _mm256_add_pd(x, _mm256_mul_pd(_mm256_sub_pd(v, y), a));
  x = v;
  y = r;
  return r;
}

AVX256_INLINE __m256d Avx256Twice(__m256d y, __m256d u, __m256d c1, __m256d c2) {
  y = _mm256_mul_pd(_mm256_add_pd(y, c1), u);
  return _mm256_mul_pd(_mm256_add_pd(y, c2), u);
}

// {l, l, r, r} + offset, added in the lanes as the per-sample path adds it.
template <class Sample>
AVX256_INLINE __m256d Avx256Input(const TAvx256Constants& k, const Sample* left,
                                  const Sample* right, int n) {
  const __m128d l = _mm_set1_pd(static_cast<double>(left[n]));
  const __m128d r = _mm_set1_pd(static_cast<double>(right[n]));
  return _mm256_add_pd(_mm256_insertf128_pd(_mm256_castpd128_pd256(l), r, 1), k.Offset);
}

// Odd plus even chain of each channel, halved, converted and stored.
template <class Sample>
AVX256_INLINE void Avx256Output(const TAvx256Constants& k, __m256d v, Sample* left, Sample* right,
                                int n) {
  const __m256d sum = _mm256_add_pd(v, _mm256_permute_pd(v, 0x5));
  const __m256d half = _mm256_mul_pd(k.Half, sum);
  left[n] = static_cast<Sample>(_mm_cvtsd_f64(_mm256_castpd256_pd128(half)));
  right[n] = static_cast<Sample>(_mm_cvtsd_f64(_mm256_extractf128_pd(half, 1)));
}

AVX256_INLINE __m256d Avx256Shape(const TAvx256Constants& k, __m256d u) {
  __m256d y = _mm256_mul_pd(u, k.C8);
  y = Avx256Twice(y, u, k.C7, k.C6);
  y = Avx256Twice(y, u, k.C5, k.C4);
  y = Avx256Twice(y, u, k.C3, k.C2);
  y = _mm256_mul_pd(_mm256_add_pd(y, k.C1), u);
  return _mm256_add_pd(y, k.C0);
}

// One frame through the whole chain, for blocks shorter than the pipeline.
template <class Sample>
AVX256_INLINE void Avx256Frame(const TAvx256Constants& k, TAvx256Pipe& p, const Sample* const* in,
                               Sample* const* out, int n) {
  __m256d v = Avx256Input(k, in[0], in[1], n);
  v = Avx256Step(k.UpA0, p.UpX0, p.UpY0, v);
  v = Avx256Step(k.UpA1, p.UpX1, p.UpY1, v);
  v = Avx256Step(k.UpA2, p.UpX2, p.UpY2, v);
  v = Avx256Step(k.UpA3, p.UpX3, p.UpY3, v);
  v = Avx256Shape(k, v);
  v = Avx256Step(k.DownA0, p.DownX0, p.DownY0, v);
  v = Avx256Step(k.DownA1, p.DownX1, p.DownY1, v);
  v = Avx256Step(k.DownA2, p.DownX2, p.DownY2, v);
  v = Avx256Step(k.DownA3, p.DownX3, p.DownY3, v);
  Avx256Output(k, v, out[0], out[1], n);
}

// Iteration n of the pipeline with stages First to Last active; input feeds
// stage 0. The stages run from the last to the first, so that each reads what
// its predecessor left in the previous iteration before the predecessor
// overwrites it. Stage 9 leaves its frame's result in DownY3.
template <int First, int Last>
AVX256_INLINE void Avx256Stages(const TAvx256Constants& k, TAvx256Pipe& p, __m256d input) {
  constexpr auto active = [](int stage) { return First <= stage && stage <= Last; };
  if constexpr (active(9)) Avx256Step(k.DownA3, p.DownX3, p.DownY3, p.DownY2);
  if constexpr (active(8)) Avx256Step(k.DownA2, p.DownX2, p.DownY2, p.DownY1);
  if constexpr (active(7)) Avx256Step(k.DownA1, p.DownX1, p.DownY1, p.DownY0);
  if constexpr (active(6)) Avx256Step(k.DownA0, p.DownX0, p.DownY0, p.Shaped);
  if constexpr (active(5)) {
    __m256d y = Avx256Twice(p.Horner, p.Argument, k.C4, k.C3);
    y = _mm256_mul_pd(_mm256_add_pd(y, k.C2), p.Argument);
    p.Shaped = _mm256_add_pd(_mm256_mul_pd(_mm256_add_pd(y, k.C1), p.Argument), k.C0);
  }
  if constexpr (active(4)) {
    const __m256d u = p.UpY3;
    const __m256d y = _mm256_mul_pd(_mm256_add_pd(_mm256_mul_pd(u, k.C8), k.C7), u);
    p.Horner = Avx256Twice(y, u, k.C6, k.C5);
    p.Argument = u;
  }
  if constexpr (active(3)) Avx256Step(k.UpA3, p.UpX3, p.UpY3, p.UpY2);
  if constexpr (active(2)) Avx256Step(k.UpA2, p.UpX2, p.UpY2, p.UpY1);
  if constexpr (active(1)) Avx256Step(k.UpA1, p.UpX1, p.UpY1, p.UpY0);
  if constexpr (active(0)) Avx256Step(k.UpA0, p.UpX0, p.UpY0, input);
}

// One iteration n with its own input and output.
template <int First, int Last, class Sample>
AVX256_INLINE void Avx256Iteration(const TAvx256Constants& k, TAvx256Pipe& p,
                                   const Sample* const* in, Sample* const* out, int n) {
  if constexpr (First == 0)
    Avx256Stages<First, Last>(k, p, Avx256Input(k, in[0], in[1], n));
  else
    Avx256Stages<First, Last>(k, p, _mm256_setzero_pd());
  if constexpr (Last == kLastStage) Avx256Output(k, p.DownY3, out[0], out[1], n - kLastStage);
}

// {l n, l n+1, r n, r n+1} + offset: two frames' inputs, added at once.
AVX256_INLINE __m256d Avx256InputPair(const TAvx256Constants& k, const double* left,
                                      const double* right, int n) {
  const __m256d w = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(left + n)),
                                         _mm_loadu_pd(right + n), 1);
  return _mm256_add_pd(w, k.Offset);
}

AVX256_INLINE __m256d Avx256InputPair(const TAvx256Constants& k, const float* left,
                                      const float* right, int n) {
  const __m128 l = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(left + n)));
  const __m128 r = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(right + n)));
  return _mm256_add_pd(_mm256_cvtps_pd(_mm_movelh_ps(l, r)), k.Offset);
}

// Two frames' results {o, e, o, e} at once: even plus odd chain, halved,
// giving {l m, l m+1, r m, r m+1}.
AVX256_INLINE __m256d Avx256Combine(const TAvx256Constants& k, __m256d first, __m256d second) {
  const __m256d odd = _mm256_unpacklo_pd(first, second);
  const __m256d even = _mm256_unpackhi_pd(first, second);
  return _mm256_mul_pd(k.Half, _mm256_add_pd(even, odd));
}

AVX256_INLINE void Avx256OutputPair(__m256d v, double* left, double* right, int m) {
  _mm_storeu_pd(left + m, _mm256_castpd256_pd128(v));
  _mm_storeu_pd(right + m, _mm256_extractf128_pd(v, 1));
}

AVX256_INLINE void Avx256OutputPair(__m256d v, float* left, float* right, int m) {
  const __m128 f = _mm256_cvtpd_ps(v);
  _mm_storel_pi(reinterpret_cast<__m64*>(left + m), f);
  _mm_storeh_pi(reinterpret_cast<__m64*>(right + m), f);
}

// The full pipeline two iterations at a time, from iteration n on while two
// input frames remain; returns the next iteration.
template <class Sample>
AVX256_INLINE int Avx256RunPairs(const TAvx256Constants& k, TAvx256Pipe& p, const Sample* const* in,
                                 Sample* const* out, int n, int frames) {
  const Sample* left = in[0];
  const Sample* right = in[1];
  Sample* outLeft = out[0];
  Sample* outRight = out[1];
  for (; n + 1 < frames; n += 2) {
    const __m256d w = Avx256InputPair(k, left, right, n);
    Avx256Stages<0, kLastStage>(k, p, _mm256_permute_pd(w, 0x0));
    const __m256d first = p.DownY3;
    Avx256Stages<0, kLastStage>(k, p, _mm256_permute_pd(w, 0xF));
    Avx256OutputPair(Avx256Combine(k, first, p.DownY3), outLeft, outRight, n - kLastStage);
  }
  return n;
}

// Filling: iterations 0 .. Stage, iteration n with stages 0 .. n.
template <int Stage, class Sample>
AVX256_INLINE void Avx256Fill(const TAvx256Constants& k, TAvx256Pipe& p, const Sample* const* in,
                              Sample* const* out) {
  if constexpr (Stage > 0) Avx256Fill<Stage - 1>(k, p, in, out);
  Avx256Iteration<0, Stage>(k, p, in, out, Stage);
}

// Draining after the last input frame: iteration frames + Stage - 1 with
// stages Stage .. kLastStage, then the later iterations.
template <int Stage, class Sample>
AVX256_INLINE void Avx256Drain(const TAvx256Constants& k, TAvx256Pipe& p, const Sample* const* in,
                               Sample* const* out, int frames) {
  Avx256Iteration<Stage, kLastStage>(k, p, in, out, frames + Stage - 1);
  if constexpr (Stage < kLastStage) Avx256Drain<Stage + 1>(k, p, in, out, frames);
}

template <class Sample>
void Avx256Run(TLanes& s, const Sample* const* in, Sample* const* out, int frames) {
  const TAvx256Constants k = {
      _mm256_loadu_pd(s.UpA[0]),   _mm256_loadu_pd(s.UpA[1]),   _mm256_loadu_pd(s.UpA[2]),
      _mm256_loadu_pd(s.UpA[3]),   _mm256_loadu_pd(s.DownA[0]), _mm256_loadu_pd(s.DownA[1]),
      _mm256_loadu_pd(s.DownA[2]), _mm256_loadu_pd(s.DownA[3]), _mm256_set1_pd(s.Shape[0]),
      _mm256_set1_pd(s.Shape[1]),  _mm256_set1_pd(s.Shape[2]),  _mm256_set1_pd(s.Shape[3]),
      _mm256_set1_pd(s.Shape[4]),  _mm256_set1_pd(s.Shape[5]),  _mm256_set1_pd(s.Shape[6]),
      _mm256_set1_pd(s.Shape[7]),  _mm256_set1_pd(s.Shape[8]),  _mm256_set1_pd(s.InputOffset),
      _mm256_set1_pd(0.5)};
  const __m256d zero = _mm256_setzero_pd();
  TAvx256Pipe p = {_mm256_loadu_pd(s.UpX[0]),
                   _mm256_loadu_pd(s.UpX[1]),
                   _mm256_loadu_pd(s.UpX[2]),
                   _mm256_loadu_pd(s.UpX[3]),
                   _mm256_loadu_pd(s.UpY[0]),
                   _mm256_loadu_pd(s.UpY[1]),
                   _mm256_loadu_pd(s.UpY[2]),
                   _mm256_loadu_pd(s.UpY[3]),
                   _mm256_loadu_pd(s.DownX[0]),
                   _mm256_loadu_pd(s.DownX[1]),
                   _mm256_loadu_pd(s.DownX[2]),
                   _mm256_loadu_pd(s.DownX[3]),
                   _mm256_loadu_pd(s.DownY[0]),
                   _mm256_loadu_pd(s.DownY[1]),
                   _mm256_loadu_pd(s.DownY[2]),
                   _mm256_loadu_pd(s.DownY[3]),
                   zero,
                   zero,
                   zero};
  if (frames <= kLastStage) {
    for (int n = 0; n < frames; ++n)
      Avx256Frame(k, p, in, out, n);
  } else {
    Avx256Fill<kLastStage - 1>(k, p, in, out);
    const int n = Avx256RunPairs(k, p, in, out, kLastStage, frames);
    if (n < frames) Avx256Iteration<0, kLastStage>(k, p, in, out, n);
    Avx256Drain<1>(k, p, in, out, frames);
  }
  _mm256_storeu_pd(s.UpX[0], p.UpX0);
  _mm256_storeu_pd(s.UpX[1], p.UpX1);
  _mm256_storeu_pd(s.UpX[2], p.UpX2);
  _mm256_storeu_pd(s.UpX[3], p.UpX3);
  _mm256_storeu_pd(s.UpY[0], p.UpY0);
  _mm256_storeu_pd(s.UpY[1], p.UpY1);
  _mm256_storeu_pd(s.UpY[2], p.UpY2);
  _mm256_storeu_pd(s.UpY[3], p.UpY3);
  _mm256_storeu_pd(s.DownX[0], p.DownX0);
  _mm256_storeu_pd(s.DownX[1], p.DownX1);
  _mm256_storeu_pd(s.DownX[2], p.DownX2);
  _mm256_storeu_pd(s.DownX[3], p.DownX3);
  _mm256_storeu_pd(s.DownY[0], p.DownY0);
  _mm256_storeu_pd(s.DownY[1], p.DownY1);
  _mm256_storeu_pd(s.DownY[2], p.DownY2);
  _mm256_storeu_pd(s.DownY[3], p.DownY3);
}

#undef AVX256_INLINE

}  // namespace

void StereoChainAvx256Single(TStereoChainLanes& lanes, const float* const* inputs,
                             float* const* outputs, int frames) {
  Avx256Run(lanes, inputs, outputs, frames);
}

void StereoChainAvx256Double(TStereoChainLanes& lanes, const double* const* inputs,
                             double* const* outputs, int frames) {
  Avx256Run(lanes, inputs, outputs, frames);
}
