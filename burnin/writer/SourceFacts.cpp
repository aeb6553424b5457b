#include "SourceFacts.h"

#include "media/MediaError.h"
#include "playback/LocalInput.h"

namespace orlisk {

SourceFacts ReadSourceFacts(const VideoReader& reader, const std::string& path) {
  SourceFacts facts;
  facts.Path = path;
  facts.Container = DetectContainerName(path);
  facts.Width = reader.GetWidth();
  facts.Height = reader.GetHeight();
  facts.Aspect = reader.GetPixelAspect();
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
  // Opened as the reader opens it: the chosen file only, within the time limit.
  InputGuard guard;
  try {
    const InputFormatPtr format = OpenLocalInput(path, guard);
    return format->iformat->name ? format->iformat->name : "";
  } catch (const MediaError&) {
    return "";
  }
}

}  // namespace orlisk
