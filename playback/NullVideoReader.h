#pragma once
// A reader that never has a file open: for a program or a test that plays no
// video. It behaves exactly as any reader does with nothing open, and refuses
// every file.
#include "VideoReader.h"
#include "media/MediaError.h"

namespace orlisk {

class NullVideoReader : public VideoReader {
 public:
  void OpenSource(const std::string& path) override {
    throw MediaError("Cannot open \"" + path + "\": this program reads no video");
  }
  void CloseSource() override {}

  std::int32_t GetDuration() const override { return 0; }
  double GetFrameRate() const override { return 0.0; }
  int GetWidth() const override { return 0; }
  int GetHeight() const override { return 0; }

  std::int32_t GetPosition() const override { return 0; }
  void SeekTo(std::int32_t) override { throw MediaError("Cannot seek: no video is open"); }
  Frame ReadFrame() override { throw MediaError("Cannot read a frame: no video is open"); }
  AudioBlock ReadAudio(int) override { throw MediaError("Cannot read sound: no video is open"); }

  int GetAudioChannels() const override { return 0; }
  int GetAudioSampleRate() const override { return 0; }
  std::int64_t GetAudioBitRate() const override { return 0; }
  std::int32_t GetAudioPosition() const override { return 0; }
  std::int32_t GetAudioDuration() const override { return 0; }
  std::string GetAudioFormatName() const override { return {}; }
  std::int64_t GetVideoBitRate() const override { return 0; }
  std::string GetVideoFormatName() const override { return {}; }
};

}  // namespace orlisk
