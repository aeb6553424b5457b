#include "FfmpegVideoWriter.h"

#include <mutex>

extern "C" {
#include <libavutil/log.h>
}

#include "AviEncoders.h"
#include "EncodeThread.h"
#include "OutputPlan.h"
#include "WriterClock.h"
#include "WriterProfiles.h"
#include "WriterState.h"
#include "media/MediaError.h"

namespace orlisk {
namespace {

void CheckNumber(int number, std::size_t count, const char* what) {
  if (number < 1 || static_cast<std::size_t>(number) > count) {
    throw MediaError(std::string("There is no ") + what + " number " + std::to_string(number) + " (there are " +
                     std::to_string(count) + ")");
  }
}

}  // namespace

struct FfmpegVideoWriter::Impl {
  WriterState state;
  std::vector<AviCodecSettings> codecSettings;  // per AVI codec, for the run

  // The open output, if any.
  std::unique_ptr<EncodeThread> encoding;
  bool writesVideo = false;
  bool writesAudio = false;
  // Counted on the caller's thread as data is handed over, in the source's
  // units as they were when the output was created.
  std::int64_t framesAccepted = 0;
  std::int64_t audioBytesAccepted = 0;
  double sourceFrameRate = 0;
  int sourceSampleRate = 0;
  int sourceChannels = 0;

  EncodeThread& Open() {
    if (!encoding) throw MediaError("No output file is open for writing");
    return *encoding;
  }
};

FfmpegVideoWriter::FfmpegVideoWriter() : impl_(std::make_unique<Impl>()) {
  // FFmpeg's notes and warnings are for its own tools; errors still show.
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_ERROR); });
  for (const AviEncoder& encoder : AviEncoders()) impl_->codecSettings.push_back(encoder.Defaults);
}

FfmpegVideoWriter::~FfmpegVideoWriter() = default;

void FfmpegVideoWriter::CreateOutput(const std::string& path, std::int32_t outputType) {
  CloseSource();
  WriterState& state = impl_->state;
  if (state.AviCodec >= 1 && static_cast<std::size_t>(state.AviCodec) <= impl_->codecSettings.size()) {
    state.AviSettings = impl_->codecSettings[static_cast<std::size_t>(state.AviCodec - 1)];
  }
  const OutputPlan plan = PlanOutput(state, outputType, AviEncoders());
  auto session = std::make_unique<EncodingSession>(plan, path);
  impl_->writesVideo = session->hasVideo();
  impl_->writesAudio = session->hasAudio();
  impl_->encoding = std::make_unique<EncodeThread>(std::move(session));
  impl_->framesAccepted = 0;
  impl_->audioBytesAccepted = 0;
  impl_->sourceFrameRate = state.Source.FrameRate;
  impl_->sourceSampleRate = state.SourceSampleRate;
  impl_->sourceChannels = state.SourceChannels;
}

void FfmpegVideoWriter::CloseSource() {
  if (!impl_->encoding) return;
  // Taken out first: after a failure the writer is closed all the same.
  const std::unique_ptr<EncodeThread> encoding = std::move(impl_->encoding);
  encoding->Finish();
}

void FfmpegVideoWriter::WriteAudio(const AudioBlock& block) {
  EncodeThread& encoding = impl_->Open();
  impl_->audioBytesAccepted += static_cast<std::int64_t>(block.Bytes.size());
  if (impl_->writesAudio && !block.empty()) encoding.Push(block);
}

void FfmpegVideoWriter::WriteFrame(Frame frame) {
  EncodeThread& encoding = impl_->Open();
  if (frame.empty()) return;
  ++impl_->framesAccepted;
  if (impl_->writesVideo) encoding.Push(std::move(frame));
}

void FfmpegVideoWriter::WritePicture(DecodedPicture picture) {
  EncodeThread& encoding = impl_->Open();
  if (picture.empty()) return;
  ++impl_->framesAccepted;
  if (impl_->writesVideo) encoding.Push(std::move(picture));
}

void FfmpegVideoWriter::SetSourceAudioFormat(int sampleRate, int channels) {
  impl_->state.SourceSampleRate = sampleRate;
  impl_->state.SourceChannels = channels;
}

void FfmpegVideoWriter::SetSourceVideoFormat(int width, int height, double frameRate) {
  impl_->state.Source = {width, height, frameRate};
}

void FfmpegVideoWriter::SetSourcePixelAspect(int num, int den) {
  impl_->state.SourceAspect = MakePixelAspect(num, den);
}

void FfmpegVideoWriter::AudioEnabled(bool enabled) { impl_->state.Audio = enabled; }

void FfmpegVideoWriter::VideoEnabled(bool enabled) { impl_->state.Video = enabled; }

std::int32_t FfmpegVideoWriter::GetAudioPosition() const {
  return AudioBytesToMs(impl_->audioBytesAccepted, impl_->sourceSampleRate, impl_->sourceChannels);
}

std::int32_t FfmpegVideoWriter::GetPosition() const {
  return FramesToMs(impl_->framesAccepted, impl_->sourceFrameRate);
}

int FfmpegVideoWriter::AviCodecCount() const { return static_cast<int>(AviEncoders().size()); }

void FfmpegVideoWriter::SelectAviCodec(int number) {
  CheckNumber(number, AviEncoders().size(), "AVI codec");
  impl_->state.AviCodec = number;
}

std::string FfmpegVideoWriter::GetVideoFormatName() const {
  const int number = impl_->state.AviCodec;
  if (number < 1 || static_cast<std::size_t>(number) > AviEncoders().size()) return "";
  return AviEncoders()[static_cast<std::size_t>(number - 1)].LongName;
}

AviCodecSettings FfmpegVideoWriter::GetAviCodecSettings() const {
  const int number = impl_->state.AviCodec;
  if (number < 1 || static_cast<std::size_t>(number) > impl_->codecSettings.size()) return {};
  return impl_->codecSettings[static_cast<std::size_t>(number - 1)];
}

void FfmpegVideoWriter::SetAviCodecSettings(const AviCodecSettings& settings) {
  const int number = impl_->state.AviCodec;
  CheckNumber(number, impl_->codecSettings.size(), "AVI codec");
  AviCodecSettings& kept = impl_->codecSettings[static_cast<std::size_t>(number - 1)];
  const bool lossless = kept.Lossless;  // a property of the codec, not a setting
  kept = settings;
  kept.Lossless = lossless;
}

void FfmpegVideoWriter::SetAviAudioPcm(int sampleRate, int channels, int bitsPerSample) {
  impl_->state.AviAudio = {AviAudioKind::Pcm, 0, sampleRate, channels, bitsPerSample};
}

void FfmpegVideoWriter::SetAviAudioAdpcm(int sampleRate, int channels) {
  impl_->state.AviAudio = {AviAudioKind::Adpcm, 0, sampleRate, channels, 0};
}

void FfmpegVideoWriter::SetAviAudioAlaw(int sampleRate, int channels) {
  impl_->state.AviAudio = {AviAudioKind::Alaw, 0, sampleRate, channels, 0};
}

void FfmpegVideoWriter::SetAviAudioUlaw(int sampleRate, int channels) {
  impl_->state.AviAudio = {AviAudioKind::Ulaw, 0, sampleRate, channels, 0};
}

void FfmpegVideoWriter::SetAviAudioGsm(int sampleRate) {
  impl_->state.AviAudio = {AviAudioKind::Gsm, 0, sampleRate, 1, 0};
}

void FfmpegVideoWriter::SetAviAudioMp3(int bitRateKbps, int sampleRate, int channels) {
  impl_->state.AviAudio = {AviAudioKind::Mp3, bitRateKbps, sampleRate, channels, 0};
}

void FfmpegVideoWriter::SetAviVideoFormat(int width, int height, double frameRate) {
  impl_->state.AviVideo = {width, height, frameRate};
}

void FfmpegVideoWriter::SetMpegAudioFormat(int bitRateKbps, int sampleRate, int channels) {
  impl_->state.MpegAudio = {bitRateKbps, sampleRate, channels};
}

void FfmpegVideoWriter::SetMpegVideoFormat(int version, int bitRateKbps, int width, int height, double frameRate) {
  impl_->state.MpegVideo = {version, bitRateKbps, width, height, frameRate};
}

void FfmpegVideoWriter::SelectWmvProfile(int number) {
  CheckNumber(number, WmvProfiles().size(), "WMV profile");
  impl_->state.WmvProfile = number;
}

int FfmpegVideoWriter::WmvProfileCount() const { return static_cast<int>(WmvProfiles().size()); }

std::string FfmpegVideoWriter::WmvProfileName() const {
  return WmvProfiles()[static_cast<std::size_t>(impl_->state.WmvProfile - 1)].Name;
}

void FfmpegVideoWriter::SelectRmProfile(int number) {
  CheckNumber(number, RmProfiles().size(), "RM profile");
  impl_->state.RmProfile = number;
}

void FfmpegVideoWriter::SetOtherFormat(const OtherFormat& format) { impl_->state.Other = format; }

void FfmpegVideoWriter::SetDeliveryFormat(const DeliveryFormat& format) { impl_->state.Delivery = format; }

}  // namespace orlisk
