#include "SdlAudioPlayer.h"

#include <algorithm>

#include "SdlAudioDevice.h"

namespace orlisk {

SdlAudioPlayer::SdlAudioPlayer() : subsystem_(std::make_unique<SdlAudioSubsystem>()) {}

// The device goes before the subsystem it was opened on.
SdlAudioPlayer::~SdlAudioPlayer() { device_.reset(); }

void SdlAudioPlayer::SetAudioFormat(int sampleRate, int channels) {
  // The same format keeps the device; without one, each new start tries
  // again, as a device may have come back.
  if (formatSet_ && sampleRate == sampleRate_ && channels == channels_ &&
      (device_ || !subsystem_->available())) {
    return;
  }
  formatSet_ = true;
  sampleRate_ = sampleRate;
  channels_ = channels;
  // A new format needs a new device: SDL fixes the format at opening.
  device_.reset();
  deviceBytes_ = 0;
  takenMs_ = -1;
  silence_.Stop();
  silence_.SetFormat(sampleRate, channels);
  if (subsystem_->available()) device_ = SdlAudioDevice::Open(sampleRate, channels);
  if (started_) StartOutput();
}

void SdlAudioPlayer::StartOutput() {
  started_ = true;
  takenMs_ = -1;
  playedBeforeSilence_ = 0;
  if (device_) device_->Resume();
  else silence_.Start();
}

void SdlAudioPlayer::StopOutput() {
  started_ = false;
  if (device_) device_->PauseAndClear();
  deviceBytes_ = 0;
  takenMs_ = -1;
  silence_.Stop();
}

void SdlAudioPlayer::QueueAudio(const AudioBlock& block) {
  // A torn sample frame at the end would shift every later block by a
  // channel or a byte; it is dropped.
  const std::size_t frameBytes = channels_ > 0 ? std::size_t(channels_) * 2 : 1;
  const std::size_t whole = block.Bytes.size() / frameBytes * frameBytes;
  if (whole == 0) return;
  if (device_ && device_->Queue(block.Bytes.data(), whole)) {
    deviceBytes_ += static_cast<std::int64_t>(whole);
    return;
  }
  if (device_) FallBackToSilence();
  silence_.Add(whole);
}

int SdlAudioPlayer::QueuedMilliseconds() {
  if (!device_) return silence_.QueuedMilliseconds();
  if (!device_->Working()) {
    FallBackToSilence();
    return silence_.QueuedMilliseconds();
  }
  DevicePlayedMilliseconds();  // the refill timer's looks keep the played position fresh
  const long long bytesPerSecond = (long long)sampleRate_ * channels_ * 2;
  return static_cast<int>((long long)device_->QueuedBytes() * 1000 / bytesPerSecond);
}

std::optional<std::int32_t> SdlAudioPlayer::PlayedMilliseconds() {
  if (device_ && !device_->Working()) FallBackToSilence();
  if (!device_) return playedBeforeSilence_ + silence_.PlayedMilliseconds();
  return playedBeforeSilence_ + DevicePlayedMilliseconds();
}

std::int32_t SdlAudioPlayer::DevicePlayedMilliseconds() {
  const std::int64_t bytesPerSecond = std::int64_t{sampleRate_} * channels_ * 2;
  if (!started_ || bytesPerSecond <= 0) return 0;
  const auto now = std::chrono::steady_clock::now();
  const std::int64_t taken = deviceBytes_ - static_cast<std::int64_t>(device_->QueuedBytes());
  const std::int64_t takenMs = std::max<std::int64_t>(0, taken) * 1000 / bytesPerSecond;
  if (takenMs != takenMs_) {
    takenMs_ = takenMs;
    takenAt_ = now;
  }
  const std::int64_t buffer = device_->BufferMilliseconds();
  const auto sinceTaken = std::chrono::duration_cast<std::chrono::milliseconds>(now - takenAt_).count();
  const std::int64_t played = takenMs - buffer + std::min<std::int64_t>(sinceTaken, buffer);
  return static_cast<std::int32_t>(std::max<std::int64_t>(0, played));
}

void SdlAudioPlayer::FallBackToSilence() {
  // What the device still held is lost with it; the silent queue takes over
  // the pacing from here, and its played sound adds to what the device played.
  playedBeforeSilence_ += DevicePlayedMilliseconds();
  device_.reset();
  deviceBytes_ = 0;
  takenMs_ = -1;
  silence_.Stop();
  if (started_) silence_.Start();
}

}  // namespace orlisk
