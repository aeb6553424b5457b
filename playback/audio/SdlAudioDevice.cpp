#include "SdlAudioDevice.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace orlisk {

namespace {

bool InitAudioSubsystem() {
  // SDL would otherwise take over SIGINT and SIGTERM and turn them into quit
  // events nobody reads, so the editor could no longer be ended by a signal.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

}  // namespace

SdlAudioSubsystem::SdlAudioSubsystem() : available_(InitAudioSubsystem()) {}

SdlAudioSubsystem::~SdlAudioSubsystem() {
  if (available_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::unique_ptr<SdlAudioDevice> SdlAudioDevice::Open(int sampleRate, int channels) {
  // SDL takes up to eight channels; anything beyond cannot be played as it is.
  if (sampleRate <= 0 || channels <= 0 || channels > 8) return nullptr;
  SDL_AudioSpec wanted{};
  wanted.freq = sampleRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = static_cast<Uint8>(channels);
  // About 20 ms per hardware buffer: short enough that a stop is heard at once.
  wanted.samples = 1024;
  while (wanted.samples > 64 && wanted.samples * 1000 / sampleRate > 25) wanted.samples /= 2;
  wanted.callback = nullptr;  // push mode: SDL_QueueAudio
  SDL_AudioSpec obtained{};
  // No allowed changes: SDL converts our format to the device's.
  const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (id == 0) return nullptr;
  const int bufferMs = obtained.freq > 0 ? static_cast<int>(obtained.samples * 1000 / obtained.freq) : 0;
  return std::unique_ptr<SdlAudioDevice>(new SdlAudioDevice(id, bufferMs));
}

SdlAudioDevice::~SdlAudioDevice() { SDL_CloseAudioDevice(id_); }

void SdlAudioDevice::Resume() { SDL_PauseAudioDevice(id_, 0); }

void SdlAudioDevice::PauseAndClear() {
  SDL_PauseAudioDevice(id_, 1);
  SDL_ClearQueuedAudio(id_);
}

bool SdlAudioDevice::Queue(const void* bytes, std::size_t count) {
  while (count > 0) {
    const auto chunk = static_cast<Uint32>(
        std::min<std::size_t>(count, std::numeric_limits<std::int32_t>::max()));
    if (SDL_QueueAudio(id_, bytes, chunk) != 0) return false;
    bytes = static_cast<const std::uint8_t*>(bytes) + chunk;
    count -= chunk;
  }
  return Working();
}

std::size_t SdlAudioDevice::QueuedBytes() const { return SDL_GetQueuedAudioSize(id_); }

bool SdlAudioDevice::Working() const { return SDL_GetAudioDeviceStatus(id_) != SDL_AUDIO_STOPPED; }

}  // namespace orlisk
