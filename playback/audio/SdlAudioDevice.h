#pragma once
// Owners of the SDL audio resources: the audio subsystem and one opened
// output device. Nothing outside playback/audio sees SDL.
#include <SDL.h>

#include <cstddef>
#include <memory>

namespace orlisk {

// SDL counts its subsystem starts; each owner adds one and takes it back.
class SdlAudioSubsystem {
 public:
  SdlAudioSubsystem();
  ~SdlAudioSubsystem();
  SdlAudioSubsystem(const SdlAudioSubsystem&) = delete;
  SdlAudioSubsystem& operator=(const SdlAudioSubsystem&) = delete;

  // False when this machine has no working audio driver.
  bool available() const { return available_; }

 private:
  bool available_ = false;
};

// An output device fed by pushing 16-bit interleaved PCM (no callback thread).
// Opens paused; SDL converts to whatever the hardware takes.
class SdlAudioDevice {
 public:
  // Null when the device cannot be opened in this format.
  static std::unique_ptr<SdlAudioDevice> Open(int sampleRate, int channels);
  ~SdlAudioDevice();
  SdlAudioDevice(const SdlAudioDevice&) = delete;
  SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

  void Resume();
  // Stops at once and drops the queue.
  void PauseAndClear();
  // False when the device refused the sound (for example, it was unplugged).
  bool Queue(const void* bytes, std::size_t count);
  std::size_t QueuedBytes() const;
  bool Working() const;
  // How long one hardware buffer plays: SDL takes sound from the queue a
  // buffer at a time, just before the device needs it.
  int BufferMilliseconds() const { return bufferMs_; }

 private:
  SdlAudioDevice(SDL_AudioDeviceID id, int bufferMs) : id_(id), bufferMs_(bufferMs) {}
  SDL_AudioDeviceID id_;
  int bufferMs_;
};

}  // namespace orlisk
