#include "NullVideoWriter.h"

#include <cstdio>

#include "WriterClock.h"
#include "WriterProfiles.h"
#include "media/MediaError.h"
#include "media/PictureAccess.h"
#include "media/PictureConverter.h"

namespace orlisk {
namespace {

std::string Text(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string Text(int value) { return std::to_string(value); }

template <typename... Values>
std::string CallText(const char* name, Values... values) {
  std::string text = std::string(name) + "(";
  const char* separator = "";
  ((text += separator + Text(values), separator = ", "), ...);
  return text + ")";
}

void CheckNumber(int number, int count, const char* what) {
  if (number < 1 || number > count) {
    throw MediaError(std::string("There is no ") + what + " number " + std::to_string(number) + " (there are " +
                     std::to_string(count) + ")");
  }
}

}  // namespace

NullVideoWriter::NullVideoWriter(std::vector<std::string> aviCodecNames)
    : aviCodecNames_(std::move(aviCodecNames)), aviCodecSettings_(aviCodecNames_.size()) {}

void NullVideoWriter::Record(const std::string& call) { Calls.push_back(call); }

void NullVideoWriter::CreateOutput(const std::string& path, std::int32_t outputType) {
  Record("CreateOutput(" + path + ", " + std::to_string(outputType) + ")");
  if (!FailCreateWith.empty()) throw MediaError(FailCreateWith);
  IsOpen = true;
  FramesWritten = 0;
  AudioBytesWritten = 0;
  Frames.clear();
}

void NullVideoWriter::CloseSource() {
  Record("CloseSource()");
  IsOpen = false;
}

void NullVideoWriter::WriteAudio(const AudioBlock& block) {
  Record("WriteAudio(" + std::to_string(block.Bytes.size()) + ")");
  AudioBytesWritten += static_cast<std::int64_t>(block.Bytes.size());
}

void NullVideoWriter::WriteFrame(Frame frame) {
  Record("WriteFrame(" + std::to_string(frame.Width) + "x" + std::to_string(frame.Height) + ")");
  if (FailAtFrame > 0 && FramesWritten + 1 == FailAtFrame) throw MediaError("Cannot encode the video frame");
  ++FramesWritten;
  if (KeepFrames) Frames.push_back(std::move(frame));
}

void NullVideoWriter::WritePicture(DecodedPicture picture) {
  Record("WritePicture(" + std::to_string(picture.Width()) + "x" + std::to_string(picture.Height()) + ")");
  if (picture.empty()) return;
  if (FailAtFrame > 0 && FramesWritten + 1 == FailAtFrame) throw MediaError("Cannot encode the video frame");
  ++FramesWritten;
  if (KeepFrames) {
    const AVFrame& decoded = FrameOf(picture);
    Frames.push_back(PictureConverter().ToFrame(decoded, decoded.width, decoded.height));
  }
}

void NullVideoWriter::SetSourceAudioFormat(int sampleRate, int channels) {
  Record(CallText("SetSourceAudioFormat", sampleRate, channels));
  sourceSampleRate_ = sampleRate;
  sourceChannels_ = channels;
}

void NullVideoWriter::SetSourceVideoFormat(int width, int height, double frameRate) {
  Record(CallText("SetSourceVideoFormat", width, height, frameRate));
  sourceFrameRate_ = frameRate;
}

void NullVideoWriter::SetSourcePixelAspect(int num, int den) {
  Record(CallText("SetSourcePixelAspect", num, den));
}

void NullVideoWriter::AudioEnabled(bool enabled) { Record(CallText("AudioEnabled", enabled ? 1 : 0)); }

void NullVideoWriter::VideoEnabled(bool enabled) { Record(CallText("VideoEnabled", enabled ? 1 : 0)); }

std::int32_t NullVideoWriter::GetAudioPosition() const {
  return AudioBytesToMs(AudioBytesWritten, sourceSampleRate_, sourceChannels_);
}

std::int32_t NullVideoWriter::GetPosition() const { return FramesToMs(FramesWritten, sourceFrameRate_); }

int NullVideoWriter::AviCodecCount() const { return static_cast<int>(aviCodecNames_.size()); }

void NullVideoWriter::SelectAviCodec(int number) {
  Record(CallText("SelectAviCodec", number));
  CheckNumber(number, AviCodecCount(), "AVI codec");
  aviCodec_ = number;
}

std::string NullVideoWriter::GetVideoFormatName() const {
  if (aviCodec_ < 1 || aviCodec_ > AviCodecCount()) return "";
  return aviCodecNames_[static_cast<std::size_t>(aviCodec_ - 1)];
}

AviCodecSettings NullVideoWriter::GetAviCodecSettings() const {
  if (aviCodec_ < 1 || aviCodec_ > AviCodecCount()) return {};
  return aviCodecSettings_[static_cast<std::size_t>(aviCodec_ - 1)];
}

void NullVideoWriter::SetAviCodecSettings(const AviCodecSettings& settings) {
  Record(CallText("SetAviCodecSettings", settings.Quality, settings.BitRateKbps, settings.KeyFrameInterval));
  if (aviCodec_ >= 1 && aviCodec_ <= AviCodecCount()) {
    aviCodecSettings_[static_cast<std::size_t>(aviCodec_ - 1)] = settings;
  }
}

void NullVideoWriter::SetAviAudioPcm(int sampleRate, int channels, int bitsPerSample) {
  Record(CallText("SetAviAudioPcm", sampleRate, channels, bitsPerSample));
}

void NullVideoWriter::SetAviAudioAdpcm(int sampleRate, int channels) {
  Record(CallText("SetAviAudioAdpcm", sampleRate, channels));
}

void NullVideoWriter::SetAviAudioAlaw(int sampleRate, int channels) {
  Record(CallText("SetAviAudioAlaw", sampleRate, channels));
}

void NullVideoWriter::SetAviAudioUlaw(int sampleRate, int channels) {
  Record(CallText("SetAviAudioUlaw", sampleRate, channels));
}

void NullVideoWriter::SetAviAudioGsm(int sampleRate) { Record(CallText("SetAviAudioGsm", sampleRate)); }

void NullVideoWriter::SetAviAudioMp3(int bitRateKbps, int sampleRate, int channels) {
  Record(CallText("SetAviAudioMp3", bitRateKbps, sampleRate, channels));
}

void NullVideoWriter::SetAviVideoFormat(int width, int height, double frameRate) {
  Record(CallText("SetAviVideoFormat", width, height, frameRate));
}

void NullVideoWriter::SetMpegAudioFormat(int bitRateKbps, int sampleRate, int channels) {
  Record(CallText("SetMpegAudioFormat", bitRateKbps, sampleRate, channels));
}

void NullVideoWriter::SetMpegVideoFormat(int version, int bitRateKbps, int width, int height, double frameRate) {
  Record(CallText("SetMpegVideoFormat", version, bitRateKbps, width, height, frameRate));
}

void NullVideoWriter::SelectWmvProfile(int number) {
  Record(CallText("SelectWmvProfile", number));
  CheckNumber(number, WmvProfileCount(), "WMV profile");
  wmvProfile_ = number;
}

int NullVideoWriter::WmvProfileCount() const { return static_cast<int>(WmvProfiles().size()); }

std::string NullVideoWriter::WmvProfileName() const {
  return WmvProfiles()[static_cast<std::size_t>(wmvProfile_ - 1)].Name;
}

void NullVideoWriter::SelectRmProfile(int number) {
  Record(CallText("SelectRmProfile", number));
  CheckNumber(number, static_cast<int>(RmProfiles().size()), "RM profile");
}

void NullVideoWriter::SetOtherFormat(const OtherFormat& format) {
  Record("SetOtherFormat(" + format.Container + ", " + format.VideoCodec + ", " + format.AudioCodec + ", " +
         Text(format.Width) + ", " + Text(format.Height) + ", " + Text(format.FrameRate) + ", " +
         Text(format.VideoBitRateKbps) + ", " + Text(format.AudioBitRateKbps) + ")");
}

void NullVideoWriter::SetDeliveryFormat(const DeliveryFormat& format) {
  const std::string quality = format.VideoBitRateKbps > 0 ? Text(format.VideoBitRateKbps) + " kbit/s"
                                                          : "crf " + Text(format.Crf);
  const std::string sound = format.CopySoundFrom.empty() ? format.AudioCodec : "copy " + format.CopySoundFrom;
  Record("SetDeliveryFormat(" + format.Container + ", " + format.VideoCodec + ", " + Text(format.Width) + "x" +
         Text(format.Height) + ", " + quality + ", " + format.Speed + ", " + sound + ")");
}

}  // namespace orlisk
