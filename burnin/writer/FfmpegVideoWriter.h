#pragma once
// The video writer over FFmpeg's encoders and muxers:
//   AVI   the AVI video encoders installed (AviEncoders.h) with PCM, MP3,
//         MS ADPCM, A-law, mu-law or GSM sound;
//   MPEG  MPEG-1 or MPEG-2 video with MPEG audio layer II in a program stream;
//   WMV   WMV 8 with WMA 2 in ASF, by profile (WriterProfiles.h);
//   RM    RealVideo 2 (RealVideo 1 without it) with AC-3 in RealMedia, by profile;
//   other MP4, MOV, Matroska, WebM, Ogg, FLV, MPEG-TS, 3GP (OtherFormat);
//   delivery  H.264 or H.265 in MP4 or Matroska at a chosen quality, the
//         source's sound copied where it fits (DeliveryFormat).
// Frames are converted, scaled and encoded on an encoding thread of the
// writer's own behind a queue of a few frames; see VideoWriter for the rest.
#include <memory>
#include <vector>

#include "VideoWriter.h"

namespace orlisk {

class FfmpegVideoWriter : public VideoWriter {
 public:
  FfmpegVideoWriter();
  // Finishes an open file as CloseSource would, without raising.
  ~FfmpegVideoWriter() override;
  FfmpegVideoWriter(const FfmpegVideoWriter&) = delete;
  FfmpegVideoWriter& operator=(const FfmpegVideoWriter&) = delete;

  void CreateOutput(const std::string& path, std::int32_t outputType) override;
  void CloseSource() override;
  void WriteAudio(const AudioBlock& block) override;
  void WriteFrame(Frame frame) override;
  void WritePicture(DecodedPicture picture) override;

  void SetSourceAudioFormat(int sampleRate, int channels) override;
  void SetSourceVideoFormat(int width, int height, double frameRate) override;
  void SetSourcePixelAspect(int num, int den) override;
  void AudioEnabled(bool enabled) override;
  void VideoEnabled(bool enabled) override;
  std::int32_t GetAudioPosition() const override;
  std::int32_t GetPosition() const override;

  int AviCodecCount() const override;
  void SelectAviCodec(int number) override;
  std::string GetVideoFormatName() const override;
  AviCodecSettings GetAviCodecSettings() const override;
  void SetAviCodecSettings(const AviCodecSettings& settings) override;

  void SetAviAudioPcm(int sampleRate, int channels, int bitsPerSample) override;
  void SetAviAudioAdpcm(int sampleRate, int channels) override;
  void SetAviAudioAlaw(int sampleRate, int channels) override;
  void SetAviAudioUlaw(int sampleRate, int channels) override;
  void SetAviAudioGsm(int sampleRate) override;
  void SetAviAudioMp3(int bitRateKbps, int sampleRate, int channels) override;
  void SetAviVideoFormat(int width, int height, double frameRate) override;

  void SetMpegAudioFormat(int bitRateKbps, int sampleRate, int channels) override;
  void SetMpegVideoFormat(int version, int bitRateKbps, int width, int height, double frameRate) override;

  void SelectWmvProfile(int number) override;
  int WmvProfileCount() const override;
  std::string WmvProfileName() const override;
  void SelectRmProfile(int number) override;

  void SetOtherFormat(const OtherFormat& format) override;
  void SetDeliveryFormat(const DeliveryFormat& format) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orlisk
