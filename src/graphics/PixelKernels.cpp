#include "graphics/PixelKernels.h"

#include <algorithm>
#include <cassert>
#include <cstring>

// The tone formulas must be evaluated one operation at a time, each result
// rounded to double. The vector paths have fused multiply-add instructions,
// and a compiler allowed to contract `a * b + c` into one of them rounds once
// instead of twice and changes some pixels. Contraction is off for this file.
#if defined(__clang__)
#pragma clang fp contract(off)
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define DOVETAIL_X86_VECTOR_PATHS 1
#include <immintrin.h>
#endif

namespace dovetail {

namespace {

// ---------------------------------------------------------------------------
// Per-pixel kernels. Each maps one pixel-array entry (0xXXRRGGBB) to its new
// value; they are written so that the compiler can run them many pixels at a
// time.

constexpr uint32_t Channel(uint32_t p, int shift) {
  return (p >> shift) & 0xFF;
}

struct DarkenKernel {
  int32_t amount;
  [[gnu::always_inline]] inline uint32_t operator()(uint32_t p) const {
    const auto red =
        static_cast<uint32_t>(std::max(static_cast<int32_t>(Channel(p, 16)) - amount, 0));
    const auto green =
        static_cast<uint32_t>(std::max(static_cast<int32_t>(Channel(p, 8)) - amount, 0));
    const auto blue =
        static_cast<uint32_t>(std::max(static_cast<int32_t>(Channel(p, 0)) - amount, 0));
    return (p & 0xFF000000u) | (red << 16) | (green << 8) | blue;
  }
};

// round((R + G + B) / 3), halves to even. A sum divided by 3 never ends in a
// half, so this is the nearest integer, floor((sum + 1) / 3); the product
// (sum + 1) · 21846 / 65536 gives that floor exactly for every sum up to 765.
[[gnu::always_inline]] inline uint32_t AverageOf(uint32_t p) {
  const uint32_t sum = Channel(p, 16) + Channel(p, 8) + Channel(p, 0);
  return ((sum + 1) * 21846) >> 16;
}

struct SepiaKernel {
  [[gnu::always_inline]] inline uint32_t operator()(uint32_t p) const {
    const uint32_t g = AverageOf(p);
    const uint32_t red = std::min(g + 100, 255u);
    const uint32_t green = std::min(g + 20, 255u);
    return (p & 0xFF000000u) | (red << 16) | (green << 8) | g;
  }
};

struct GreyKernel {
  [[gnu::always_inline]] inline uint32_t operator()(uint32_t p) const {
    const uint32_t g = AverageOf(p);
    return (p & 0xFF000000u) | (g << 16) | (g << 8) | g;
  }
};

template <ToneKind kKind>
struct ToneKernel {
  static constexpr double kDivRed = kKind == ToneKind::Warm ? 1.5 : 2.0;
  static constexpr double kDivGreen = 2.0;
  static constexpr double kDivBlue = kKind == ToneKind::Warm ? 2.2 : 2.0;

  double t;

  // Rounds half to even and keeps the result within 0 .. 255. Adding 1.5 · 2^52
  // leaves no fraction bits, so the addition itself rounds v to an integer in
  // the default rounding (nearest, halves to even) and the integer sits in the
  // low bits of the sum; |v| is far below 2^51 here.
  [[gnu::always_inline]] static inline uint32_t ToByte(double v) {
    const double shifted = v + 6755399441055744.0;
    uint64_t bits;
    std::memcpy(&bits, &shifted, sizeof bits);
    const auto n = static_cast<int32_t>(static_cast<uint32_t>(bits));
    return static_cast<uint32_t>(std::min(std::max(n, 0), 255));
  }

  [[gnu::always_inline]] inline uint32_t operator()(uint32_t p) const {
    const double r = static_cast<int32_t>(Channel(p, 16));
    const double g = static_cast<int32_t>(Channel(p, 8));
    const double b = static_cast<int32_t>(Channel(p, 0));
    const double rt = r * t;
    const double gt = g * t;
    const double bt = b * t;
    const uint32_t red = ToByte((gt + bt) / kDivRed + r - rt);
    const uint32_t green = ToByte((rt + bt) / kDivGreen + g - gt);
    const uint32_t blue = ToByte((gt + rt) / kDivBlue + b - bt);
    return (p & 0xFF000000u) | (red << 16) | (green << 8) | blue;
  }
};

// The loop, compiled once per path. The kernels are inlined into each copy so
// that each is vectorised with the instructions of its path.
template <typename Kernel>
[[gnu::always_inline]] inline void ApplyKernel(int32_t* pixels, int32_t count,
                                               const Kernel& kernel) {
  for (int32_t i = 0; i < count; ++i)
    pixels[i] = static_cast<int32_t>(kernel(static_cast<uint32_t>(pixels[i])));
}

template <typename Kernel>
void ApplyPortable(int32_t* pixels, int32_t count, const Kernel& kernel) {
  ApplyKernel(pixels, count, kernel);
}

#ifdef DOVETAIL_X86_VECTOR_PATHS
template <typename Kernel>
[[gnu::target("avx2")]] void ApplyAvx2(int32_t* pixels, int32_t count, const Kernel& kernel) {
  ApplyKernel(pixels, count, kernel);
}

// The tone passes written out for AVX2, eight pixels at a time in two halves
// of four: the double operations of ToneKernel in its order, each rounded
// once, or (divisor 2) operations that give exactly the same doubles. The
// conversion to integers rounds in the current mode, nearest with halves to
// even as everywhere else here; results are then kept within 0 .. 255 as
// integers where they can leave it.

// u / divisor; a division by 2 is the exact multiplication by 0.5, which
// costs a fraction of a division. The divisor is always a kernel's constant,
// so the choice is made when the call is inlined.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256d DivideAvx2(__m256d u, double divisor) {
  if (divisor == 2.0) return _mm256_mul_pd(u, _mm256_set1_pd(0.5));
  return _mm256_div_pd(u, _mm256_set1_pd(divisor));
}

// One channel's result for four pixels: (x·t + y·t) / d + c − c·t, rounded.
[[gnu::target("avx2"), gnu::always_inline]] inline __m128i ToneChannelAvx2(double divisor,
                                                                           __m256d c, __m256d ct,
                                                                           __m256d xt, __m256d yt) {
  const __m256d v = _mm256_sub_pd(_mm256_add_pd(DivideAvx2(_mm256_add_pd(xt, yt), divisor), c), ct);
  return _mm256_cvtpd_epi32(v);
}

// The same for divisor 2 from the halved products h = c·(t / 2), which are
// exactly (c·t) / 2 (halving commutes with rounding while the products are
// normal numbers, as they are for any strength not vanishingly small):
// (x·t + y·t) / 2 is then hx + hy, and c·t is 2·hc, so one fused multiply-add
// subtracts exactly the rounded c·t, rounding once as the formula does.
[[gnu::target("avx2,fma"), gnu::always_inline]] inline __m128i HalvedToneChannelAvx2(__m256d c,
                                                                                     __m256d hc,
                                                                                     __m256d hx,
                                                                                     __m256d hy) {
  const __m256d w = _mm256_add_pd(_mm256_add_pd(hx, hy), c);
  return _mm256_cvtpd_epi32(_mm256_fnmadd_pd(_mm256_set1_pd(2.0), hc, w));
}

// The bounds a pass's results can cross. For 0 ≤ t ≤ 1 none falls below 0
// (c − c·t ≥ 0 and the other terms are not negative, and rounding keeps that
// order) and with divisor 2 none rises above 255 (the result is then a
// weighted mean of the three channels, give or take far less than a half);
// the warm divisors 1.5 and 2.2 can lift it above 255.
enum class ToneBounds { None, Upper, Both };

// The results of one channel for eight pixels, kept within those bounds.
template <ToneBounds kBounds>
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i JoinAvx2(__m128i low, __m128i high) {
  __m256i both = _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
  if constexpr (kBounds != ToneBounds::None) both = _mm256_min_epi32(both, _mm256_set1_epi32(0xFF));
  if constexpr (kBounds == ToneBounds::Both) both = _mm256_max_epi32(both, _mm256_setzero_si256());
  return both;
}

template <ToneKind kKind, ToneBounds kBounds>
[[gnu::target("avx2,fma")]] void ToneLoopAvx2(int32_t* pixels, int32_t count,
                                              const ToneKernel<kKind>& kernel) {
  using Kernel = ToneKernel<kKind>;
  const __m256d t = _mm256_set1_pd(kernel.t);
  const __m256d halfT = _mm256_set1_pd(kernel.t * 0.5);
  const __m256i byteMask = _mm256_set1_epi32(0xFF);
  const __m256i spareMask = _mm256_set1_epi32(static_cast<int32_t>(0xFF000000u));
  int32_t i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels + i));
    const __m256i r8 = _mm256_and_si256(_mm256_srli_epi32(p, 16), byteMask);
    const __m256i g8 = _mm256_and_si256(_mm256_srli_epi32(p, 8), byteMask);
    const __m256i b8 = _mm256_and_si256(p, byteMask);
    __m128i red[2];
    __m128i green[2];
    __m128i blue[2];
    for (int half = 0; half < 2; ++half) {
      const __m256d r = _mm256_cvtepi32_pd(half == 0 ? _mm256_castsi256_si128(r8)
                                                     : _mm256_extracti128_si256(r8, 1));
      const __m256d g = _mm256_cvtepi32_pd(half == 0 ? _mm256_castsi256_si128(g8)
                                                     : _mm256_extracti128_si256(g8, 1));
      const __m256d b = _mm256_cvtepi32_pd(half == 0 ? _mm256_castsi256_si128(b8)
                                                     : _mm256_extracti128_si256(b8, 1));
      if constexpr (kKind == ToneKind::Desaturate) {
        const __m256d rh = _mm256_mul_pd(r, halfT);
        const __m256d gh = _mm256_mul_pd(g, halfT);
        const __m256d bh = _mm256_mul_pd(b, halfT);
        red[half] = HalvedToneChannelAvx2(r, rh, gh, bh);
        green[half] = HalvedToneChannelAvx2(g, gh, rh, bh);
        blue[half] = HalvedToneChannelAvx2(b, bh, gh, rh);
      } else {
        const __m256d rt = _mm256_mul_pd(r, t);
        const __m256d gt = _mm256_mul_pd(g, t);
        const __m256d bt = _mm256_mul_pd(b, t);
        red[half] = ToneChannelAvx2(Kernel::kDivRed, r, rt, gt, bt);
        green[half] = ToneChannelAvx2(Kernel::kDivGreen, g, gt, rt, bt);
        blue[half] = ToneChannelAvx2(Kernel::kDivBlue, b, bt, gt, rt);
      }
    }
    const __m256i result =
        _mm256_or_si256(_mm256_or_si256(_mm256_and_si256(p, spareMask),
                                        _mm256_slli_epi32(JoinAvx2<kBounds>(red[0], red[1]), 16)),
                        _mm256_or_si256(_mm256_slli_epi32(JoinAvx2<kBounds>(green[0], green[1]), 8),
                                        JoinAvx2<kBounds>(blue[0], blue[1])));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels + i), result);
  }
  for (; i < count; ++i)
    pixels[i] = static_cast<int32_t>(kernel(static_cast<uint32_t>(pixels[i])));
}

template <ToneKind kKind>
[[gnu::target("avx2,fma")]] void ApplyAvx2(int32_t* pixels, int32_t count,
                                           const ToneKernel<kKind>& kernel) {
  if (!(kernel.t >= 0.0 && kernel.t <= 1.0)) {
    ToneLoopAvx2<kKind, ToneBounds::Both>(pixels, count, kernel);
  } else if constexpr (kKind == ToneKind::Warm) {
    ToneLoopAvx2<kKind, ToneBounds::Upper>(pixels, count, kernel);
  } else {
    ToneLoopAvx2<kKind, ToneBounds::None>(pixels, count, kernel);
  }
}

template <typename Kernel>
[[gnu::target("avx512f,avx512vl,avx512bw,avx512dq")]] void ApplyAvx512(int32_t* pixels,
                                                                       int32_t count,
                                                                       const Kernel& kernel) {
  ApplyKernel(pixels, count, kernel);
}
#endif

[[maybe_unused]] bool Supported(PixelPath path) {
  const std::vector<PixelPath> paths = SupportedPixelPaths();
  return std::find(paths.begin(), paths.end(), path) != paths.end();
}

template <typename Kernel>
void Apply(PixelArray& pixels, int32_t count, const Kernel& kernel, PixelPath path) {
  assert(Supported(path));
  if (count <= 0) return;
  assert(static_cast<size_t>(count) <= pixels.size());
  count = static_cast<int32_t>(std::min(static_cast<size_t>(count), pixels.size()));
  switch (path) {
    case PixelPath::Portable:
      ApplyPortable(pixels.data(), count, kernel);
      return;
#ifdef DOVETAIL_X86_VECTOR_PATHS
    case PixelPath::Avx2:
      ApplyAvx2(pixels.data(), count, kernel);
      return;
    case PixelPath::Avx512:
      ApplyAvx512(pixels.data(), count, kernel);
      return;
#else
    case PixelPath::Avx2:
    case PixelPath::Avx512:
      break;
#endif
  }
  assert(false && "pixel path not supported by this build");
  ApplyPortable(pixels.data(), count, kernel);
}

}  // namespace

std::vector<PixelPath> SupportedPixelPaths() {
  std::vector<PixelPath> paths{PixelPath::Portable};
#ifdef DOVETAIL_X86_VECTOR_PATHS
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) {
    paths.push_back(PixelPath::Avx2);
  }
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
      __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512dq")) {
    paths.push_back(PixelPath::Avx512);
  }
#endif
  return paths;
}

const char* PixelPathName(PixelPath path) {
  switch (path) {
    case PixelPath::Portable:
      return "portable";
    case PixelPath::Avx2:
      return "avx2";
    case PixelPath::Avx512:
      return "avx512";
  }
  return "?";
}

void DarkenPixels(PixelArray& pixels, int32_t count, int32_t amount, PixelPath path) {
  Apply(pixels, count, DarkenKernel{amount}, path);
}

void SepiaPixels(PixelArray& pixels, int32_t count, PixelPath path) {
  Apply(pixels, count, SepiaKernel{}, path);
}

void GreyPixels(PixelArray& pixels, int32_t count, PixelPath path) {
  Apply(pixels, count, GreyKernel{}, path);
}

void TonePixels(PixelArray& pixels, int32_t count, double t, ToneKind kind, PixelPath path) {
  switch (kind) {
    case ToneKind::Warm:
      Apply(pixels, count, ToneKernel<ToneKind::Warm>{t}, path);
      return;
    case ToneKind::Desaturate:
      Apply(pixels, count, ToneKernel<ToneKind::Desaturate>{t}, path);
      return;
  }
}

}  // namespace dovetail
