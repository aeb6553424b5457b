#pragma once
// The source reader over FFmpeg. Pictures are decoded ahead on a thread of
// the reader's own (up to four wait in a queue bounded by their bytes too,
// see ReadAhead.h) and converted there, at the size SetFrameSize asked for,
// when the queue is full; a picture passed
// over with SkipFrame is never converted, and one read before the thread got
// to it is converted by ReadFrame. Every call below is made on the caller's
// (user-interface) thread and behaves as VideoReader says: a call that needs
// a frame not decoded yet waits for it.
// Sound is read on the caller's thread through a demuxer of its own, so the
// picture and the sound never wait for each other's packets.
#include <memory>

#include "VideoReader.h"

namespace orlisk {

class FfmpegVideoReader : public VideoReader {
 public:
  FfmpegVideoReader();
  ~FfmpegVideoReader() override;
  FfmpegVideoReader(const FfmpegVideoReader&) = delete;
  FfmpegVideoReader& operator=(const FfmpegVideoReader&) = delete;

  void OpenSource(const std::string& path) override;
  void CloseSource() override;

  std::int32_t GetDuration() const override;
  double GetFrameRate() const override;
  int GetWidth() const override;
  int GetHeight() const override;
  PixelAspect GetPixelAspect() const override;

  std::int32_t GetPosition() const override;
  void SeekTo(std::int32_t ms) override;
  Frame ReadFrame() override;
  void SkipFrame() override;
  // Pictures converted ahead at another size are converted again; the size
  // lasts until the next OpenSource.
  void SetFrameSize(int width, int height) override;
  bool ReadsPictures() const override { return true; }
  void SetFramesWanted(bool wanted) override;
  // The decoded picture leaves the queue as it is; a frame asked for beside
  // it is the one converted ahead, or converted here.
  DecodedPicture ReadPicture(Frame* frame) override;
  AudioBlock ReadAudio(int requestedBytes) override;

  int GetAudioChannels() const override;
  int GetAudioSampleRate() const override;
  std::int64_t GetAudioBitRate() const override;
  std::int32_t GetAudioPosition() const override;
  std::int32_t GetAudioDuration() const override;
  std::string GetAudioFormatName() const override;
  std::int64_t GetVideoBitRate() const override;
  std::string GetVideoFormatName() const override;

 private:
  struct Source;
  std::unique_ptr<Source> source_;  // null while no file is open
};

}  // namespace orlisk
