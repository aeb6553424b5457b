#pragma once
// One output file being written: its muxer and the encoders of an
// OutputPlan. Internal to the writer; used by one thread at a time.
#include <memory>
#include <string>

#include "EncoderStages.h"
#include "OutputPlan.h"
#include "SoundCopy.h"

namespace orlisk {

class EncodingSession {
 public:
  // Opens the encoders, then creates `path` and writes the file's header. The
  // encoders open before the file is touched, so an encoder that refuses its
  // settings leaves the disk alone. Anything at `path` but a regular file is
  // refused unopened; a header that cannot be written removes the file only
  // when it was not there before. Raises MediaError.
  EncodingSession(const OutputPlan& plan, const std::string& path);
  // Finishes the file if Finish was not called, swallowing errors.
  ~EncodingSession();
  EncodingSession(const EncodingSession&) = delete;
  EncodingSession& operator=(const EncodingSession&) = delete;

  bool hasVideo() const { return video_ != nullptr; }
  bool hasAudio() const { return audio_ != nullptr || soundCopy_ != nullptr; }

  void WriteFrame(Frame frame);
  void WritePicture(DecodedPicture picture);
  void WriteAudio(const AudioBlock& block);
  // Drains the encoders and writes the trailer; once (later calls do
  // nothing). The file is closed even when this raises.
  void Finish();

 private:
  // Microseconds of sound handed over so far.
  std::int64_t SoundCopiedUntil() const;

  OutputFormatPtr output_;
  std::unique_ptr<VideoStage> video_;
  std::unique_ptr<AudioStage> audio_;
  // The source's own sound instead of audio_: what WriteAudio is given only
  // says how far it reaches.
  std::unique_ptr<SoundCopy> soundCopy_;
  std::int64_t soundBytes_ = 0;
  int soundBytesPerSecond_ = 0;
  bool finished_ = false;
};

}  // namespace orlisk
