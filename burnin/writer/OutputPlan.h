#pragma once
// Everything about an output decided before its file is created: the muxer,
// the encoders and every value each encoder will be asked for, already moved
// to the nearest value it accepts. Internal to the writer.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "AviEncoders.h"
#include "OutputPicture.h"
#include "WriterState.h"
#include "media/FfmpegPtr.h"

namespace orlisk {

struct VideoPlan {
  const AVCodec* Encoder = nullptr;
  int Width = 0;
  int Height = 0;
  PixelAspect Aspect = {};   // of the frame's pixels, written to the file
  PictureRect Picture;  // where the source's picture lies in the frame (OutputPicture.h)
  AVPixelFormat PixelFormat = AV_PIX_FMT_YUV420P;
  AVRational FrameRate{25, 1};
  std::int64_t BitRate = 0;                                  // bit/s; 0 with a quantiser, CRF or a lossless codec
  int Quantiser = 0;                                         // 1..31 fixed quantiser; 0: none
  int GopSize = 0;                                           // 0: the encoder's own
  // 0: pictures of any size; else the rate control keeps every coded picture
  // below this many bytes, whatever the bit rate (a muxer's packet limit).
  int MaxPictureBytes = 0;
  std::vector<std::pair<std::string, std::string>> Options;  // the encoder's private options
};

struct AudioPlan {
  const AVCodec* Encoder = nullptr;
  int SampleRate = 0;
  int Channels = 0;
  AVSampleFormat SampleFormat = AV_SAMPLE_FMT_S16;
  std::int64_t BitRate = 0;  // bit/s; 0 for PCM and its kin
};

struct OutputPlan {
  std::string Muxer;  // FFmpeg's muxer name
  std::vector<std::pair<std::string, std::string>> MuxerOptions;
  std::optional<VideoPlan> Video;
  std::optional<AudioPlan> Audio;
  // The source file whose sound is copied instead of encoded (with no Audio).
  std::string CopySoundFrom;
  // What WriteFrame and WriteAudio will be given.
  AVRational SourceFrameRate{25, 1};
  int SourceSampleRate = 0;
  int SourceChannels = 0;
};

// The plan for an output of `outputType` (OutputTypeCode). Raises MediaError
// with a readable text when there is no such type or a needed encoder is not
// installed.
OutputPlan PlanOutput(const WriterState& state, int outputType, std::span<const AviEncoder> aviEncoders);

}  // namespace orlisk
