#include "SdlAudioPlayer.h"

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
  silence_.Stop();
  silence_.SetFormat(sampleRate, channels);
  if (subsystem_->available()) device_ = SdlAudioDevice::Open(sampleRate, channels);
  if (started_) StartOutput();
}

void SdlAudioPlayer::StartOutput() {
  started_ = true;
  if (device_) device_->Resume();
  else silence_.Start();
}

void SdlAudioPlayer::StopOutput() {
  started_ = false;
  if (device_) device_->PauseAndClear();
  silence_.Stop();
}

void SdlAudioPlayer::QueueAudio(const AudioBlock& block) {
  // A torn sample frame at the end would shift every later block by a
  // channel or a byte; it is dropped.
  const std::size_t frameBytes = channels_ > 0 ? std::size_t(channels_) * 2 : 1;
  const std::size_t whole = block.Bytes.size() / frameBytes * frameBytes;
  if (whole == 0) return;
  if (device_ && device_->Queue(block.Bytes.data(), whole)) return;
  if (device_) FallBackToSilence();
  silence_.Add(whole);
}

int SdlAudioPlayer::QueuedMilliseconds() {
  if (!device_) return silence_.QueuedMilliseconds();
  if (!device_->Working()) {
    FallBackToSilence();
    return silence_.QueuedMilliseconds();
  }
  const long long bytesPerSecond = (long long)sampleRate_ * channels_ * 2;
  return static_cast<int>((long long)device_->QueuedBytes() * 1000 / bytesPerSecond);
}

void SdlAudioPlayer::FallBackToSilence() {
  // What the device still held is lost with it; the silent queue takes over
  // the pacing from here.
  device_.reset();
  silence_.Stop();
  if (started_) silence_.Start();
}

}  // namespace orlisk
