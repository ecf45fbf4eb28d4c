#include "sound/synthesis.h"

#include <cmath>
#include <cstring>

#include "sound/wave_buffer.h"

// Every sample below is computed in double precision with each operation in
// the order written: the saved files and the played sounds must stay the same
// bit for bit, so nothing may be folded, reordered or fused (the library is
// built with -ffp-contract=off for that reason).

namespace kelvora {
namespace {

constexpr double kRate = 48000.0;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = 3.141592653589793;
constexpr double kThreePi = 9.42477796076938;

// The volume sample's partials are multiplied by t as these exact doubles.
static_assert(kTwoPi * 440.0 == 2764.601535159018);
static_assert(kTwoPi * 880.0 == 5529.203070318036);
static_assert(kTwoPi * 1320.0 == 8293.804605477053);
static_assert(kTwoPi * 1760.0 == 11058.406140636072);
static_assert(kTwoPi * 2200.0 == 13823.00767579509);
static_assert(kTwoPi * 4400.0 == 27646.01535159018);

constexpr int kBurstSamples = 9600;  // 200 ms, also the pause after it
constexpr int kTwoSecondSamples = 96000;

// Linear rise over `length` samples: factor 0 at i = 0, exactly 1 at i = length.
inline double FadeIn(double v, int i, int length) {
  if (i <= length) v = (static_cast<double>(i) / length) * v;
  return v;
}

// Linear fall from `start`: factor 1 there, falling by 1/length per sample.
inline double FadeOut(double v, int i, int start, int length) {
  if (i >= start) v = (1.0 - static_cast<double>(i - start) / length) * v;
  return v;
}

// Truncation toward zero, then the low 16 bits of that integer. Values outside
// the int32 range are never produced by a sound at a valid volume; they still
// wrap as the mathematical integer would, and NaN stores 0.
inline std::uint16_t TruncatedLow16(double value) {
  if (value > -2147483649.0 && value < 2147483648.0) {
    return static_cast<std::uint16_t>(static_cast<std::int32_t>(value));
  }
  if (!std::isfinite(value)) return 0;
  double low = std::fmod(std::trunc(value), 65536.0);  // exact
  if (low < 0.0) low += 65536.0;
  return static_cast<std::uint16_t>(low);
}

void PutLE16(std::uint8_t* at, std::uint16_t value);

// The write position of one render; it runs on across segments.
class SampleWriter {
 public:
  explicit SampleWriter(std::uint8_t* image) : m_image(image) {}
  void Put(double value) {
    PutLE16(m_image + m_position, TruncatedLow16(value));
    m_position += 2;
  }
  // `count` samples already rendered elsewhere in the same image.
  void PutCopy(const std::uint8_t* samples, int count) {
    std::memcpy(m_image + m_position, samples, static_cast<std::size_t>(count) * 2);
    m_position += static_cast<std::uint32_t>(count) * 2;
  }
  const std::uint8_t* Position() const { return m_image + m_position; }
  // A run of exact zero samples, stored as zero bytes.
  void PutZeros(int count) {
    std::memset(m_image + m_position, 0, static_cast<std::size_t>(count) * 2);
    m_position += static_cast<std::uint32_t>(count) * 2;
  }

 private:
  std::uint8_t* m_image;
  std::uint32_t m_position = kWaveHeaderSize;
};

void PutLE32(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
  at[2] = static_cast<std::uint8_t>(value >> 16);
  at[3] = static_cast<std::uint8_t>(value >> 24);
}

void PutLE16(std::uint8_t* at, std::uint16_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

// Whether `image` can hold a header and `dataSize` bytes of samples.
bool Holds(std::span<const std::uint8_t> image, std::uint32_t dataSize) {
  return image.size() >= std::size_t{kWaveHeaderSize} + dataSize;
}

void PutHeader(std::uint8_t* image, std::uint32_t dataSize) {
  std::memcpy(image + 0, "RIFF", 4);
  PutLE32(image + 4, dataSize + 36);
  std::memcpy(image + 8, "WAVE", 4);
  std::memcpy(image + 12, "fmt ", 4);
  PutLE32(image + 16, 16);
  PutLE16(image + 20, 1);  // integer PCM
  PutLE16(image + 22, 1);  // mono
  PutLE32(image + 24, kSampleRate);
  PutLE32(image + 28, kSampleRate * 2);
  PutLE16(image + 32, 2);
  PutLE16(image + 34, 16);
  std::memcpy(image + 36, "data", 4);
  PutLE32(image + 40, dataSize);
}

}  // namespace

void WriteWaveHeader(std::span<std::uint8_t> image, std::uint32_t dataSize) {
  if (image.size() < kWaveHeaderSize) return;
  PutHeader(image.data(), dataSize);
}

void StoreSample(std::span<std::uint8_t> image, std::uint32_t position, double value) {
  if (std::size_t{position} + 2 > image.size()) return;
  PutLE16(image.data() + position, TruncatedLow16(value));
}

void RenderTestPattern(std::span<std::uint8_t> image, std::int32_t frequency, std::int32_t volume,
                       const std::array<bool, 5>& slots) {
  if (!Holds(image, kTwoSecondDataSize)) return;
  PutHeader(image.data(), kTwoSecondDataSize);
  const double f = static_cast<double>(frequency);
  const double a = static_cast<double>(volume);
  SampleWriter out(image.data());
  const std::uint8_t* firstBurst = nullptr;
  for (const bool burst : slots) {
    if (burst && firstBurst != nullptr) {
      // Time restarts with every burst, so every later burst is the first
      // one again, sample for sample.
      out.PutCopy(firstBurst, kBurstSamples);
    } else if (burst) {
      firstBurst = out.Position();
      for (int i = 0; i < kBurstSamples; ++i) {
        const double t = i / kRate;
        double v = (a * 0.7) * std::sin((kTwoPi * f) * t);
        v = FadeIn(v, i, 2000);
        v = FadeOut(v, i, 7600, 2000);
        out.Put(v);
      }
    } else {
      out.PutZeros(kBurstSamples);
    }
    out.PutZeros(kBurstSamples);
  }
}

void RenderContinuousTone(std::span<std::uint8_t> image, std::int32_t frequency,
                          std::int32_t volume) {
  if (!Holds(image, kTwoSecondDataSize)) return;
  PutHeader(image.data(), kTwoSecondDataSize);
  const double f = static_cast<double>(frequency);
  const double a = static_cast<double>(volume);
  SampleWriter out(image.data());
  for (int i = 0; i < kTwoSecondSamples; ++i) {
    const double t = i / kRate;
    double v = (a * 0.7) * std::sin((kTwoPi * f) * t);
    v = FadeIn(v, i, 1000);
    v = FadeOut(v, i, 95000, 1000);
    out.Put(v);
  }
}

void RenderSilence(std::span<std::uint8_t> image) {
  if (!Holds(image, kTwoSecondDataSize)) return;
  PutHeader(image.data(), kTwoSecondDataSize);
  SampleWriter out(image.data());
  out.PutZeros(kTwoSecondSamples);
}

void RenderChimeAndBuzz(std::span<std::uint8_t> chime, std::span<std::uint8_t> buzz,
                        std::int32_t volume) {
  if (!Holds(chime, kChimeDataSize) || !Holds(buzz, kBuzzDataSize)) return;
  const double a = static_cast<double>(volume);

  PutHeader(chime.data(), kChimeDataSize);
  SampleWriter chimeOut(chime.data());
  {
    // 1760 Hz and two partials, all under the rising envelope sin(π × t).
    const double f = 1760.0;
    for (int i = 0; i < 8000; ++i) {
      const double t = i / kRate;
      const double envelope = std::sin(kPi * t);
      double y = envelope * std::sin((kTwoPi * f) * t);
      y = envelope * (std::sin(((kTwoPi * f) + (kTwoPi * f)) * t) * 0.1) + y;
      y = envelope * (std::sin(((kTwoPi * f) * 4.0) * t) * 0.05) + y;
      double v = (a * 0.5) * y;
      v = FadeIn(v, i, 1000);
      v = FadeOut(v, i, 4000, 4000);
      chimeOut.Put(v);
    }
  }
  {
    // The fundamental swells and dies under sin(3π × t); the partials keep sin(π × t).
    const double f = 1396.92;
    for (int i = 0; i < 16000; ++i) {
      const double t = i / kRate;
      const double envelope = std::sin(kPi * t);
      double y = std::sin(kThreePi * t) * std::sin((kTwoPi * f) * t);
      y = envelope * (std::sin(((kTwoPi * f) + (kTwoPi * f)) * t) * 0.1) + y;
      y = envelope * (std::sin(((kTwoPi * f) * 4.0) * t) * 0.05) + y;
      double v = (a * 0.3) * y;
      v = FadeIn(v, i, 1000);
      v = FadeOut(v, i, 8000, 8000);
      chimeOut.Put(v);
    }
  }

  PutHeader(buzz.data(), kBuzzDataSize);
  SampleWriter buzzOut(buzz.data());
  {
    // Two separate tones of 110 Hz with the second harmonic at one tenth.
    struct BuzzSegment {
      int length;
      double gain;
      int fadeOutStart;
      int fadeOutLength;
    };
    constexpr BuzzSegment kSegments[] = {{8000, 0.5, 3000, 5000}, {24000, 0.4, 20000, 4000}};
    const double f = 110.0;
    for (const BuzzSegment& segment : kSegments) {
      for (int i = 0; i < segment.length; ++i) {
        const double t = i / kRate;
        double y = std::sin((kTwoPi * f) * t);
        y = std::sin(((kTwoPi * f) + (kTwoPi * f)) * t) * 0.1 + y;
        double v = (a * segment.gain) * y;
        v = FadeIn(v, i, 1000);
        v = FadeOut(v, i, segment.fadeOutStart, segment.fadeOutLength);
        buzzOut.Put(v);
      }
    }
  }
}

void RenderVolumeSample(std::span<std::uint8_t> image, std::int32_t volume) {
  if (!Holds(image, kVolumeSampleDataSize)) return;
  PutHeader(image.data(), kVolumeSampleDataSize);
  const double a = static_cast<double>(volume);
  SampleWriter out(image.data());
  for (int i = 0; i < 48000; ++i) {
    const double t = i / kRate;
    // True divisions, not multiplications by reciprocals.
    double y = std::sin((kTwoPi * 440.0) * t);
    y = std::sin((kTwoPi * 880.0) * t) / 2.0 + y;
    y = std::sin((kTwoPi * 1320.0) * t) / 9.0 + y;
    y = std::sin((kTwoPi * 1760.0) * t) / 4.0 + y;
    y = std::sin((kTwoPi * 2200.0) * t) / 25.0 + y;
    y = std::sin((kTwoPi * 4400.0) * t) / 128.0 + y;
    y = y / 1.4;
    double v = a * y;
    v = FadeIn(v, i, 100);
    v = FadeOut(v, i, 47900, 100);
    v = (1.0 - i / 48000.0) * v;  // decay over the whole second, after the fades
    out.Put(v);
  }
}

void RenderExportTone(std::span<std::uint8_t> image, double frequency, std::int32_t volume,
                      bool fade) {
  if (!Holds(image, kTwoSecondDataSize)) return;
  PutHeader(image.data(), kTwoSecondDataSize);
  const double f = frequency;  // used as given, not rounded to whole hertz
  const double a = static_cast<double>(volume);
  SampleWriter out(image.data());
  for (int i = 0; i < kTwoSecondSamples; ++i) {
    const double t = i / kRate;
    double v = (a * 0.7) * std::sin((kTwoPi * f) * t);
    if (fade) {
      v = FadeIn(v, i, 1000);
      v = FadeOut(v, i, 95000, 1000);
    }
    out.Put(v);
  }
}

}  // namespace kelvora
