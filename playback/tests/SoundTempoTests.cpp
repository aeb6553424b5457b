// Sound at another speed: the length changes by the speed, the pitch stays.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "media/MediaError.h"
#include "playback/SoundTempo.h"

namespace orlisk {
namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr double kToneHz = 440.0;
constexpr double kSeconds = 2.0;

std::vector<std::int16_t> Tone() {
  std::vector<std::int16_t> samples;
  for (int i = 0; i < static_cast<int>(kSeconds * kRate); ++i) {
    const auto value = static_cast<std::int16_t>(12000 * std::sin(2 * std::numbers::pi * kToneHz * i / kRate));
    samples.insert(samples.end(), kChannels, value);
  }
  return samples;
}

// The first channel's sign changes per second of sound.
double CrossingsPerSecond(const std::vector<std::int16_t>& samples) {
  int crossings = 0;
  for (std::size_t i = kChannels; i < samples.size(); i += kChannels) {
    crossings += (samples[i - kChannels] < 0) != (samples[i] < 0);
  }
  return crossings / (static_cast<double>(samples.size()) / kChannels / kRate);
}

class SoundTempoTest : public ::testing::TestWithParam<double> {};

TEST_P(SoundTempoTest, ChangesTheLengthByTheSpeedAndKeepsThePitch) {
  const double speed = GetParam();
  const std::vector<std::int16_t> tone = Tone();
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(tone.data());
  const std::size_t size = tone.size() * sizeof(std::int16_t);
  SoundTempo tempo(kRate, kChannels, speed);
  AudioBlock played;
  // Blocks of an odd size split samples between them.
  constexpr std::size_t kBlock = 4099;
  for (std::size_t at = 0; at < size; at += kBlock) {
    const AudioBlock out = tempo.Process({{bytes + at, bytes + std::min(size, at + kBlock)}});
    played.Bytes.insert(played.Bytes.end(), out.Bytes.begin(), out.Bytes.end());
  }
  const AudioBlock rest = tempo.Flush();
  played.Bytes.insert(played.Bytes.end(), rest.Bytes.begin(), rest.Bytes.end());

  ASSERT_EQ(played.Bytes.size() % (2 * kChannels), 0u);
  std::vector<std::int16_t> samples(played.Bytes.size() / 2);
  std::memcpy(samples.data(), played.Bytes.data(), played.Bytes.size());
  const double seconds = static_cast<double>(samples.size()) / kChannels / kRate;
  EXPECT_NEAR(seconds, kSeconds / speed, 0.01 * kSeconds / speed);
  EXPECT_NEAR(CrossingsPerSecond(samples), 2 * kToneHz, 0.01 * 2 * kToneHz);
}

INSTANTIATE_TEST_SUITE_P(Speeds, SoundTempoTest, ::testing::Values(0.5, 0.75, 1.0, 1.25, 1.5));

TEST(SoundTempo, RefusesASpeedOutsideWhatKeepsThePitch) {
  for (double speed : {0.0, 0.49, 2.01, std::nan("")}) {
    EXPECT_THROW(SoundTempo(kRate, kChannels, speed), MediaError) << speed;
  }
}

}  // namespace
}  // namespace orlisk
