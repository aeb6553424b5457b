#pragma once
// The fixed WMV and RM profile tables of the writer. A profile fixes the
// output's bit rates, picture size and frame rate; 0 for the size or the frame
// rate means "as the source". Pure data, no FFmpeg.
#include <span>
#include <string>

namespace orlisk {

struct WriterProfile {
  std::string Name;
  int VideoBitRateKbps;
  int Width;  // 0: the source's width (and height)
  int Height;
  double FrameRate;  // 0: the source's frame rate
  int AudioBitRateKbps;
  int AudioSampleRate;
  int AudioChannels;
};

// WMV 8 video with WMA 2 sound. Profile 1 keeps the source's size and rate
// ("Original" WMV output uses the profile chosen last, profile 1 after start);
// then from modem rates upwards; index 37 (profile 38, the default of the
// settings) is broadband at 768 kbit/s in the source's size and rate.
std::span<const WriterProfile> WmvProfiles();

// RealVideo 2 with AC-3 sound. Index 6 (profile 7, the default of the
// settings and the writer's choice until another is selected) is broadband at
// 750 kbit/s in the source's size and rate. "The source's size" stops at
// 1920x1080 (a larger source keeps its shape), and the writer keeps every
// picture within what one RealMedia packet holds, so each profile writes any
// source.
std::span<const WriterProfile> RmProfiles();

}  // namespace orlisk
