#pragma once
// The writer configuration: which container, codecs, size, frame rate and bit
// rates the next output gets, decided from the source's facts and the output
// settings alone (ConfigureWriter, a pure function), then handed to a writer
// (ApplyWriterConfiguration). The write job calls both at every start and
// keeps OutputType and OutputExtension for the output file.
//
// "Original" output (OutputMode 0) follows the source file: AVI, MPEG, WMV and
// RM sources get those formats; a source in another container (.mp4, .m4v,
// .mov, .mkv, .webm, .flv, .ts, .m2ts, .ogv, ...) gets the same container with
// its usual codecs (H.264 + AAC; VP9 + Opus for WebM; Theora + Vorbis for Ogg)
// at the source's size and rate and a bit rate near the source's. A file whose
// extension says nothing is written in the container FFmpeg found in it.
// "Custom:" output (OutputMode 1) takes the format choice (0 AVI, 1 MPEG,
// 2 WMV, 3 RM, 4 MP4, 5 MKV), the stored AVI and MPEG settings and, for AVI,
// MPEG, MP4 and MKV, the frame of the size preset (DeliveryConfiguration.h).
//
// Stored values outside their lists (-1 after a list without selection, or a
// hand edit) count as that key's default; a format choice outside 0..5 counts
// as AVI, the list's first entry. A custom width or height of 0 or below (the
// dialog stores what was typed) counts as the default 352 or 240.
#include <cstdint>
#include <optional>
#include <string>

#include "CodecLists.h"
#include "SourceFacts.h"
#include "VideoWriter.h"
#include "settings/OutputSettings.h"

namespace orlisk {

enum class AviAudioKind { Pcm, Mp3, Adpcm, Alaw, Ulaw, Gsm };

struct AviAudioSetup {
  AviAudioKind Kind = AviAudioKind::Mp3;
  int BitRateKbps = 0;  // MP3 only
  int SampleRate = 0;
  int Channels = 0;       // not for GSM
  int BitsPerSample = 0;  // PCM only
};

struct VideoSetup {
  int Width = 0;
  int Height = 0;
  double FrameRate = 0;
};

struct MpegAudioSetup {
  int BitRateKbps = 0;
  int SampleRate = 0;
  int Channels = 0;
};

struct MpegVideoSetup {
  int Version = 1;
  int BitRateKbps = 0;
  int Width = 0;
  int Height = 0;
  double FrameRate = 0;
};

// What ConfigureWriter decided. An empty optional leaves the writer's own
// value (the WMV profile of an "Original" WMV output stays the one chosen last).
struct WriterConfiguration {
  std::int32_t OutputType = 0;  // OutputTypeCode
  std::string OutputExtension;  // with the dot, lower case: ".avi"
  int SourceSampleRate = 0;     // SetSourceAudioFormat
  int SourceChannels = 0;
  VideoSetup SourceVideo;       // SetSourceVideoFormat
  PixelAspect SourceAspect = {};     // SetSourcePixelAspect
  std::optional<int> AviCodec;  // SelectAviCodec (1-based)
  std::optional<AviAudioSetup> AviAudio;
  std::optional<VideoSetup> AviVideo;
  std::optional<MpegAudioSetup> MpegAudio;
  std::optional<MpegVideoSetup> MpegVideo;
  std::optional<int> WmvProfile;  // SelectWmvProfile (1-based)
  std::optional<int> RmProfile;   // SelectRmProfile (1-based)
  std::optional<OtherFormat> Other;
  std::optional<DeliveryFormat> Delivery;  // SetDeliveryFormat
};

// `formatChoice` is the item index of the output settings' format list;
// `codecs` the catalogues read at start (the AVI codec count and
// XvidCodecIndex).
WriterConfiguration ConfigureWriter(const SourceFacts& source, const OutputSettings& settings, int formatChoice,
                                    const CodecLists& codecs);

// Makes the writer calls of `configuration`: AudioEnabled and VideoEnabled
// true, then the selections, the source formats and the output formats.
// Raises MediaError when the writer does.
void ApplyWriterConfiguration(const WriterConfiguration& configuration, VideoWriter& writer);

}  // namespace orlisk
