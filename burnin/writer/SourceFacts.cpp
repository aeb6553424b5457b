#include "SourceFacts.h"

#include "media/FfmpegPtr.h"

namespace orlisk {

SourceFacts ReadSourceFacts(const VideoReader& reader, const std::string& path) {
  SourceFacts facts;
  facts.Path = path;
  facts.Container = DetectContainerName(path);
  facts.Width = reader.GetWidth();
  facts.Height = reader.GetHeight();
  facts.FrameRate = reader.GetFrameRate();
  facts.AudioSampleRate = reader.GetAudioSampleRate();
  facts.AudioChannels = reader.GetAudioChannels();
  facts.AudioBitRate = reader.GetAudioBitRate();
  facts.AudioFormatName = reader.GetAudioFormatName();
  facts.VideoBitRate = reader.GetVideoBitRate();
  facts.VideoFormatName = reader.GetVideoFormatName();
  return facts;
}

std::string DetectContainerName(const std::string& path) {
  // "file:" keeps a name with a colon in it from being taken for a protocol.
  AVFormatContext* opened = nullptr;
  if (avformat_open_input(&opened, ("file:" + path).c_str(), nullptr, nullptr) < 0) return "";
  const InputFormatPtr format(opened);
  return format->iformat && format->iformat->name ? format->iformat->name : "";
}

}  // namespace orlisk
