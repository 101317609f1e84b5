#include "dsp/StereoChainLanes.h"

// The chain in plain scalar code, lane by lane, in three passes per piece:
// upsample into the piece buffer, shape it in place, downsample out of it.
// Every operation is the one the per-sample routines perform, in their order.
namespace {

using TLanes = TStereoChainLanes;
constexpr int kPairs = TLanes::kPairs;
constexpr int kLanes = TLanes::kLanes;
constexpr int kPiece = TLanes::kPieceFrames;

void StepPair(const double* a, double* x, double* y, double* v) {
  for (int lane = 0; lane < kLanes; ++lane) {
    const double r = x[lane] + (v[lane] - y[lane]) * a[lane];
    x[lane] = v[lane];
    y[lane] = r;
    v[lane] = r;
  }
}

double Horner(const double* c, double u) {
  double y = u * c[8];
  y = (y + c[7]) * u;
  y = (y + c[6]) * u;
  y = (y + c[5]) * u;
  y = (y + c[4]) * u;
  y = (y + c[3]) * u;
  y = (y + c[2]) * u;
  y = (y + c[1]) * u;
  return y + c[0];
}

template <class Sample>
void Run(TLanes& s, const Sample* const* inputs, Sample* const* outputs, int frames) {
  double* piece = s.Piece;
  for (int start = 0; start < frames; start += kPiece) {
    const int count = frames - start < kPiece ? frames - start : kPiece;
    const Sample* left = inputs[0] + start;
    const Sample* right = inputs[1] + start;
    for (int n = 0; n < count; ++n) {
      const double l = static_cast<double>(left[n]) + s.InputOffset;
      const double r = static_cast<double>(right[n]) + s.InputOffset;
      double* v = piece + n * kLanes;
      v[0] = l;
      v[1] = l;
      v[2] = r;
      v[3] = r;
      for (int k = 0; k < kPairs; ++k)
        StepPair(s.UpA[k], s.UpX[k], s.UpY[k], v);
    }
    for (int i = 0; i < count * kLanes; ++i)
      piece[i] = Horner(s.Shape, piece[i]);
    Sample* outLeft = outputs[0] + start;
    Sample* outRight = outputs[1] + start;
    for (int n = 0; n < count; ++n) {
      double* v = piece + n * kLanes;
      for (int k = 0; k < kPairs; ++k)
        StepPair(s.DownA[k], s.DownX[k], s.DownY[k], v);
      // Lane 1 ends the even chain, lane 0 the odd one.
      outLeft[n] = static_cast<Sample>(0.5 * (v[1] + v[0]));
      outRight[n] = static_cast<Sample>(0.5 * (v[3] + v[2]));
    }
  }
}

}  // namespace

void StereoChainPortableSingle(TStereoChainLanes& lanes, const float* const* inputs,
                               float* const* outputs, int frames) {
  Run(lanes, inputs, outputs, frames);
}

void StereoChainPortableDouble(TStereoChainLanes& lanes, const double* const* inputs,
                               double* const* outputs, int frames) {
  Run(lanes, inputs, outputs, frames);
}
