// Each renderer next to its floor: a loop that makes only the std::sin calls
// the renderer makes, with the same arguments (worked out before timing). The
// difference is what the fades, the scaling and the stores cost.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "sound/synthesis.h"
#include "sound/wave_buffer.h"

namespace kelvora {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = 3.141592653589793;
constexpr double kThreePi = 9.42477796076938;

void SineFloor(benchmark::State& state, const std::vector<double>& arguments) {
  for (auto _ : state) {
    for (const double x : arguments) {
      double s = std::sin(x);
      benchmark::DoNotOptimize(s);
    }
  }
}

std::vector<double> ToneArguments(double f, int bursts, int length) {
  std::vector<double> arguments;
  for (int b = 0; b < bursts; ++b) {
    for (int i = 0; i < length; ++i) arguments.push_back((kTwoPi * f) * (i / 48000.0));
  }
  return arguments;
}

std::vector<double> ChimeAndBuzzArguments() {
  std::vector<double> arguments;
  double w = kTwoPi * 1760.0;
  for (int i = 0; i < 8000; ++i) {
    const double t = i / 48000.0;
    for (const double x : {kPi * t, w * t, (w + w) * t, (w * 4.0) * t}) arguments.push_back(x);
  }
  w = kTwoPi * 1396.92;
  for (int i = 0; i < 16000; ++i) {
    const double t = i / 48000.0;
    for (const double x : {kPi * t, kThreePi * t, w * t, (w + w) * t, (w * 4.0) * t}) {
      arguments.push_back(x);
    }
  }
  w = kTwoPi * 110.0;
  for (const int length : {8000, 24000}) {
    for (int i = 0; i < length; ++i) {
      const double t = i / 48000.0;
      arguments.push_back(w * t);
      arguments.push_back((w + w) * t);
    }
  }
  return arguments;
}

std::vector<double> VolumeSampleArguments() {
  std::vector<double> arguments;
  for (int i = 0; i < 48000; ++i) {
    const double t = i / 48000.0;
    for (const double f : {440.0, 880.0, 1320.0, 1760.0, 2200.0, 4400.0}) {
      arguments.push_back((kTwoPi * f) * t);
    }
  }
  return arguments;
}

void BM_TestPattern(benchmark::State& state) {
  std::vector<std::uint8_t> image(kTestWaveBufferSize);
  const std::int32_t frequency = static_cast<std::int32_t>(state.range(0));
  for (auto _ : state) {
    RenderTestPattern(image, frequency, 30000, {true, true, true, true, true});
    benchmark::DoNotOptimize(image.data());
    benchmark::ClobberMemory();
  }
}
// The sine calls of five bursts each computed afresh. The renderer computes
// one burst and copies it to the other sounding slots, so it runs well below
// this floor; against a single burst's sines it stays near 1.2x.
void BM_TestPatternFloor(benchmark::State& state) {
  SineFloor(state, ToneArguments(static_cast<double>(state.range(0)), 5, 9600));
}

void BM_ContinuousTone(benchmark::State& state) {
  std::vector<std::uint8_t> image(kTestWaveBufferSize);
  const std::int32_t frequency = static_cast<std::int32_t>(state.range(0));
  for (auto _ : state) {
    RenderContinuousTone(image, frequency, 30000);
    benchmark::DoNotOptimize(image.data());
    benchmark::ClobberMemory();
  }
}
void BM_ContinuousToneFloor(benchmark::State& state) {
  SineFloor(state, ToneArguments(static_cast<double>(state.range(0)), 1, 96000));
}

void BM_ExportTone(benchmark::State& state) {
  std::vector<std::uint8_t> image(kExportWaveBufferSize);
  const bool fade = state.range(0) != 0;
  for (auto _ : state) {
    RenderExportTone(image, 12345.6, 30000, fade);
    benchmark::DoNotOptimize(image.data());
    benchmark::ClobberMemory();
  }
}
void BM_ExportToneFloor(benchmark::State& state) {
  SineFloor(state, ToneArguments(12345.6, 1, 96000));
}

void BM_ChimeAndBuzz(benchmark::State& state) {
  std::vector<std::uint8_t> chime(kChimeWaveBufferSize);
  std::vector<std::uint8_t> buzz(kBuzzWaveBufferSize);
  for (auto _ : state) {
    RenderChimeAndBuzz(chime, buzz, 30000);
    benchmark::DoNotOptimize(chime.data());
    benchmark::DoNotOptimize(buzz.data());
    benchmark::ClobberMemory();
  }
}
void BM_ChimeAndBuzzFloor(benchmark::State& state) { SineFloor(state, ChimeAndBuzzArguments()); }

void BM_VolumeSample(benchmark::State& state) {
  std::vector<std::uint8_t> image(kSampleWaveBufferSize);
  for (auto _ : state) {
    RenderVolumeSample(image, 30000);
    benchmark::DoNotOptimize(image.data());
    benchmark::ClobberMemory();
  }
}
void BM_VolumeSampleFloor(benchmark::State& state) { SineFloor(state, VolumeSampleArguments()); }

// Silence makes no sine call; its floor is clearing the data bytes.
void BM_Silence(benchmark::State& state) {
  std::vector<std::uint8_t> image(kTestWaveBufferSize);
  for (auto _ : state) {
    RenderSilence(image);
    benchmark::DoNotOptimize(image.data());
    benchmark::ClobberMemory();
  }
}
void BM_SilenceFloor(benchmark::State& state) {
  std::vector<std::uint8_t> image(kTestWaveBufferSize);
  for (auto _ : state) {
    std::memset(image.data() + kWaveHeaderSize, 0, kTwoSecondDataSize);
    benchmark::DoNotOptimize(image.data());
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_TestPattern)->Arg(1000)->Arg(22000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TestPatternFloor)->Arg(1000)->Arg(22000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ContinuousTone)->Arg(1000)->Arg(22000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ContinuousToneFloor)->Arg(1000)->Arg(22000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportTone)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportToneFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChimeAndBuzz)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChimeAndBuzzFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VolumeSample)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VolumeSampleFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Silence)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SilenceFloor)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvora
