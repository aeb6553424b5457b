#pragma once
// The sound's loudness drawn behind the playbar. OpenVideo asks for that of
// each video it opens and lets it go when the video closes; the measuring
// runs elsewhere, so both calls return at once. User-interface thread only.
#include <cstdint>
#include <string>

namespace orlisk {

class SoundWaveform {
 public:
  virtual ~SoundWaveform() = default;
  // Starts measuring the sound of the video just opened (`durationMs` long
  // on the playbar); whatever was measured or drawn before is dropped.
  virtual void showSoundOf(const std::string& videoPath, std::int32_t durationMs) = 0;
  // Stops any measuring; the playbar shows its plain track.
  virtual void forgetSound() = 0;
};

// For windows and tests that draw no waveform.
class NoSoundWaveform : public SoundWaveform {
 public:
  void showSoundOf(const std::string&, std::int32_t) override {}
  void forgetSound() override {}
};

}  // namespace orlisk
