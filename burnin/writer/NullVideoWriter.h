#pragma once
// A writer that writes nothing and records what it is told: for tests of the
// writer configuration, the write job and the command-line burner. It counts
// positions exactly as the FFmpeg writer does, offers a codec catalogue given
// to it and the real WMV and RM profile tables, and can be told to fail.
#include <cstdint>
#include <string>
#include <vector>

#include "VideoWriter.h"

namespace orlisk {

class NullVideoWriter : public VideoWriter {
 public:
  // The AVI codec names it offers, in catalogue order.
  explicit NullVideoWriter(std::vector<std::string> aviCodecNames = {"libxvidcore MPEG-4 part 2", "MPEG-4 part 2"});

  // Every call, in order, as text: "SelectAviCodec(2)",
  // "SetAviAudioMp3(128, 44100, 2)", "CreateOutput(/out/talk.avi, 1)",
  // "WriteFrame(160x120)", "WritePicture(160x120)", "WriteAudio(2304)",
  // "CloseSource()". Queries are
  // not recorded.
  std::vector<std::string> Calls;
  // Copies of the frames written, when KeepFrames is set; pictures as the
  // reader converts them to frames.
  bool KeepFrames = false;
  std::vector<Frame> Frames;
  std::int64_t FramesWritten = 0;
  std::int64_t AudioBytesWritten = 0;
  bool IsOpen = false;

  // Scripted failures: a non-empty text makes CreateOutput raise MediaError
  // with it; WriteFrame number FailAtFrame (1-based) raises "Cannot encode".
  std::string FailCreateWith;
  std::int64_t FailAtFrame = 0;

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
  void Record(const std::string& call);

  std::vector<std::string> aviCodecNames_;
  std::vector<AviCodecSettings> aviCodecSettings_;
  int aviCodec_ = 1;
  int wmvProfile_ = 1;
  int sourceSampleRate_ = 0;
  int sourceChannels_ = 0;
  double sourceFrameRate_ = 0;
};

}  // namespace orlisk
