#pragma once
// The values an output asks of an encoder, moved to the nearest the encoder
// accepts: pixel format, frame rate, sample rate, channels and sound bit
// rate. Internal to the writer.
#include <cstdint>

#include "media/FfmpegPtr.h"

namespace orlisk {

// 4:2:0 pictures where the encoder takes them (the common case, and what
// players expect), else the encoder's first choice.
AVPixelFormat PickPixelFormat(const AVCodec* codec);

// A frame rate as a fraction; 23.97, 29.97 and 59.94 are the NTSC rates
// (24000/1001, ...); a missing or absurd rate is 25.
AVRational FrameRateFraction(double frameRate);

// The frame rates MPEG-1 and MPEG-2 video can signal: the nearest to `wanted`.
AVRational NearestMpegFrameRate(AVRational wanted);

// `wanted` frames a second as the encoder can signal them.
AVRational PickFrameRate(const AVCodec* codec, double wanted);

int NearestSampleRate(const AVCodec* codec, int wanted);
int NearestChannelCount(const AVCodec* codec, int wanted);

// Bits a second as the encoder accepts them (MP2 and AC-3 know only their
// tables); 0 for PCM and its kin, which have no rate to choose; 128 kbit/s
// when `kbps` is 0 or less.
std::int64_t AudioBitRate(const AVCodec* codec, int kbps, int sampleRate);

}  // namespace orlisk
