#include "WriterProfiles.h"

#include <cstdio>
#include <vector>

namespace orlisk {
namespace {

struct Row {
  const char* purpose;
  int videoKbps;
  int width;
  int height;
  double frameRate;
  int audioKbps;
  int audioRate;  // 0: the source's rate
  int channels;
};

// "Broadband 768 Kbps, 640x480, 25 fps, stereo 128 Kbps": what a user needs to
// choose, in one line.
std::string NameOf(const Row& row) {
  char size[32];
  if (row.width > 0) {
    std::snprintf(size, sizeof size, "%dx%d", row.width, row.height);
  } else {
    std::snprintf(size, sizeof size, "source size");
  }
  char rate[32];
  if (row.frameRate > 0) {
    std::snprintf(rate, sizeof rate, "%g fps", row.frameRate);
  } else {
    std::snprintf(rate, sizeof rate, "source frame rate");
  }
  char name[160];
  std::snprintf(name, sizeof name, "%s %d Kbps, %s, %s, %s %d Kbps", row.purpose, row.videoKbps, size, rate,
                row.channels == 1 ? "mono" : "stereo", row.audioKbps);
  return name;
}

std::vector<WriterProfile> Build(std::initializer_list<Row> rows) {
  std::vector<WriterProfile> profiles;
  for (const Row& row : rows) {
    profiles.push_back(
        {NameOf(row), row.videoKbps, row.width, row.height, row.frameRate, row.audioKbps, row.audioRate, row.channels});
  }
  return profiles;
}

}  // namespace

std::span<const WriterProfile> WmvProfiles() {
  // WMA 2 needs at least 24 kbit/s, so the modem profiles spend less on
  // pictures than their names' line rates suggest.
  static const std::vector<WriterProfile> profiles = Build({
      {"Same as source", 1500, 0, 0, 0, 128, 0, 2},
      {"Dial-up modem", 16, 160, 120, 8, 24, 16000, 1},
      {"Dial-up modem", 24, 160, 120, 10, 24, 16000, 1},
      {"Dial-up modem, more sound", 16, 160, 120, 6, 32, 22050, 1},
      {"Dial-up modem", 32, 176, 144, 10, 24, 22050, 1},
      {"ISDN", 40, 176, 144, 12, 24, 22050, 1},
      {"ISDN", 48, 176, 144, 15, 32, 22050, 1},
      {"ISDN, more sound", 40, 176, 144, 12, 48, 32000, 2},
      {"ISDN", 64, 240, 180, 15, 32, 22050, 1},
      {"Dual ISDN", 80, 240, 180, 15, 32, 22050, 2},
      {"Dual ISDN", 96, 320, 240, 15, 32, 22050, 2},
      {"Dual ISDN, more sound", 80, 320, 240, 15, 48, 32000, 2},
      {"Dual ISDN", 112, 320, 240, 15, 48, 32000, 2},
      {"DSL/cable", 128, 320, 240, 15, 48, 32000, 2},
      {"DSL/cable", 150, 320, 240, 20, 48, 44100, 2},
      {"DSL/cable", 200, 320, 240, 25, 64, 44100, 2},
      {"DSL/cable", 250, 320, 240, 30, 64, 44100, 2},
      {"DSL/cable, wide", 250, 424, 240, 25, 64, 44100, 2},
      {"DSL/cable", 300, 384, 288, 25, 64, 44100, 2},
      {"DSL/cable", 350, 384, 288, 30, 64, 44100, 2},
      {"Broadband", 400, 480, 360, 25, 96, 44100, 2},
      {"Broadband", 450, 480, 360, 30, 96, 44100, 2},
      {"Broadband, wide", 450, 640, 360, 25, 96, 44100, 2},
      {"Broadband", 500, 640, 480, 25, 96, 44100, 2},
      {"Broadband", 500, 640, 480, 30, 96, 44100, 2},
      {"Broadband, wide", 600, 640, 360, 30, 96, 44100, 2},
      {"Broadband", 600, 640, 480, 25, 128, 44100, 2},
      {"Broadband", 600, 640, 480, 30, 128, 44100, 2},
      {"Broadband", 300, 0, 0, 15, 64, 0, 2},
      {"Broadband", 400, 0, 0, 0, 96, 0, 2},
      {"Broadband", 500, 0, 0, 0, 96, 0, 2},
      {"Broadband, PAL", 700, 720, 576, 25, 128, 44100, 2},
      {"Broadband, NTSC", 700, 720, 480, 29.97, 128, 44100, 2},
      {"Broadband, wide", 700, 854, 480, 25, 128, 44100, 2},
      {"Broadband, wide", 700, 854, 480, 29.97, 128, 44100, 2},
      {"Broadband", 768, 640, 480, 25, 128, 44100, 2},
      {"Broadband", 768, 640, 480, 30, 128, 44100, 2},
      {"Broadband", 768, 0, 0, 0, 128, 0, 2},
      {"LAN", 1000, 0, 0, 0, 128, 0, 2},
      {"LAN, PAL", 1200, 720, 576, 25, 160, 44100, 2},
      {"High quality", 2000, 0, 0, 0, 160, 0, 2},
      {"High definition", 3000, 1280, 720, 0, 192, 48000, 2},
      {"Very high quality", 5000, 0, 0, 0, 192, 0, 2},
  });
  return profiles;
}

std::span<const WriterProfile> RmProfiles() {
  // AC-3 takes 32, 44.1 and 48 kHz only; RealVideo 2 sizes are multiples of 4.
  static const std::vector<WriterProfile> profiles = Build({
      {"Dial-up modem", 20, 176, 144, 10, 32, 32000, 1},
      {"Dual ISDN", 64, 240, 180, 15, 48, 32000, 1},
      {"DSL/cable", 150, 320, 240, 15, 64, 44100, 1},
      {"DSL/cable", 250, 320, 240, 25, 96, 44100, 2},
      {"Broadband", 350, 384, 288, 25, 96, 44100, 2},
      {"Broadband", 450, 480, 360, 0, 128, 44100, 2},
      {"Broadband", 750, 0, 0, 0, 128, 0, 2},
      {"High quality", 1500, 0, 0, 0, 192, 0, 2},
      {"Very high quality", 3000, 0, 0, 0, 256, 0, 2},
  });
  return profiles;
}

}  // namespace orlisk
