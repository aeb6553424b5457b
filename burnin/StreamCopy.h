#pragma once
// The source's streams copied packet for packet into a new container, with
// one subtitle stream of ours added beside them: nothing is decoded or
// encoded, so a long video takes seconds. Internal to the soft subtitle job
// (FFmpeg types): the window and the command line see SoftSubtitleJob.h.
//
// Time: the copy starts where the reader's time 0 is, the first picture's
// time, so the video's first picture is at 0 in the new file and a subtitle
// at t ms stands on the picture the editor shows at t. The streams keep
// their distances (a sound that starts earlier stays earlier; B-frames keep
// their decoding times) and the muxer moves them all alike where it cannot
// store a time below 0.
#include <cstdint>
#include <string>
#include <vector>

#include "media/FfmpegPtr.h"
#include "playback/LocalInput.h"
#include "subtitles/SubtitleTime.h"

namespace orlisk {

class StreamCopy {
 public:
  // Opens `source` and chooses what goes into the muxer `muxer` (FFmpeg's
  // name: "matroska", "mp4"): every picture and sound stream, which must go
  // in unchanged, and the source's own subtitle streams that fit (the others
  // are left out). Cover pictures and data streams are left out. Raises
  // MediaError when the source cannot be read or a picture or sound stream
  // cannot go into the container (the message names the stream's codec).
  StreamCopy(const std::string& source, const std::string& muxer);
  ~StreamCopy();
  StreamCopy(const StreamCopy&) = delete;
  StreamCopy& operator=(const StreamCopy&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  // The source's length in ms from its first picture (0 when unknown).
  SubtitleTime duration() const { return duration_; }

  // Creates the file `path` (a partial: PartialOutput) with the copied
  // streams and a subtitle stream made from `subtitles` (an open encoder),
  // which becomes the default subtitle, and writes the header.
  void Create(const std::string& path, const AVCodecContext& subtitles);
  // Copies the next packet of the chosen streams; false at the source's end.
  // Raises MediaError when reading or writing fails.
  bool CopyNext();
  // A packet of the added subtitle stream, its times in ms.
  void WriteSubtitle(AVPacket& packet);
  // Writes the trailer; the file is then complete. Later calls do nothing.
  void Close();
  bool open() const { return open_; }

  // The end of the latest packet copied, in ms from the first picture.
  SubtitleTime position() const { return position_; }
  std::int64_t picturesCopied() const { return pictures_; }

 private:
  InputGuard guard_;
  InputFormatPtr input_;
  OutputFormatPtr output_;
  AvPacketPtr packet_;
  std::string muxer_;
  // Per source stream: its stream in the output, -1 when left out.
  std::vector<int> outputIndex_;
  int subtitleIndex_ = -1;
  int videoIndex_ = -1;  // the source's picture stream that fixes time 0
  std::int64_t originMicroseconds_ = 0;
  int width_ = 0;
  int height_ = 0;
  SubtitleTime duration_ = 0;
  SubtitleTime position_ = 0;
  std::int64_t pictures_ = 0;
  bool open_ = false;
};

// Why `source`'s picture and sound streams cannot go into `muxer` unchanged
// ("" when they can, or when the source cannot be read: the job says why
// when it starts).
std::string StreamCopyRefusal(const std::string& source, const std::string& muxer);

}  // namespace orlisk
