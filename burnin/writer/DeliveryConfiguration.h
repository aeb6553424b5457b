#pragma once
// The custom outputs for publishing, MP4 and MKV (format choices 4 and 5),
// and the custom frame sizes every custom output takes from the size preset.
// Pure functions of the source's facts and the stored settings; the writer
// configuration (ConfigureWriter.h) calls them, the command line asks them
// what will happen to the sound.
#include <string>

#include "SourceFacts.h"
#include "VideoWriter.h"
#include "settings/OutputSettings.h"

namespace orlisk {

// The custom format choices after AVI, MPEG, WMV and RM.
inline constexpr int kFormatChoiceMp4 = 4;
inline constexpr int kFormatChoiceMkv = 5;

struct FrameSize {
  int Width = 0;  // 0: the source's
  int Height = 0;
};

// The frame a custom AVI, MPEG, MP4 or MKV output gets: the preset's, or the
// typed size (a side of 0 or below counts as 352 or 240); an index outside
// the list counts as the typed size.
FrameSize CustomFrameSize(const OutputSettings& settings);

// Whether sound of the reader's `audioFormatName` (AudioFormatName: "aac",
// "mp3", "opus", "wav", ...) goes into `container` ("mp4", "matroska") as it
// is, without decoding.
bool ContainerTakesSound(const std::string& container, const std::string& audioFormatName);

// The MP4 (`mkv` false) or Matroska output of `source` by the settings: the
// quality step or target bit rate, the encoder speed, the codecs, the frame
// of the size preset, and the sound copied when the container takes it.
DeliveryFormat ConfigureDelivery(const SourceFacts& source, const OutputSettings& settings, bool mkv);

// Whether the linked FFmpeg can encode H.265 (libx265): without it MKV offers
// H.264 only.
bool H265EncoderInstalled();

}  // namespace orlisk
