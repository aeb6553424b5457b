#pragma once
// What the FFmpeg writer has been told about the next output, kept from one
// output to the next. Internal to the writer.
#include "ConfigureWriter.h"
#include "VideoWriter.h"

namespace orlisk {

struct WriterState {
  bool Audio = true;
  bool Video = true;
  int SourceSampleRate = 0;
  int SourceChannels = 0;
  VideoSetup Source;
  PixelAspect SourceAspect = {};
  int AviCodec = 1;              // number in AviEncoders()
  AviCodecSettings AviSettings;  // of AviCodec
  AviAudioSetup AviAudio{AviAudioKind::Mp3, 128, 44100, 2, 16};
  VideoSetup AviVideo{352, 240, 24.0};
  MpegAudioSetup MpegAudio{128, 44100, 2};
  MpegVideoSetup MpegVideo{1, 1150, 352, 240, 25.0};
  int WmvProfile = 1;  // the profile FillCodecLists leaves selected
  int RmProfile = 7;   // the settings' default
  OtherFormat Other{"mp4", "h264", "aac"};
  DeliveryFormat Delivery;
};

}  // namespace orlisk
