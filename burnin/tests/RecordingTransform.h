#pragma once
// A transform that draws nothing and remembers every call, so tests can check
// what the renderers asked for and in which order.
#include <string>
#include <vector>

#include "burnin/TextTransform.h"

namespace orlisk::testing {

struct DrawCall {
  double Strength = 0;
  int X = 0;
  int Y = 0;
  std::string Text;
  orlisk::Colour Color = 0;
  int Level = 0;
  bool Centred = false;  // DrawCentredText: X is the shift from the centred place
};

class RecordingTransform : public TextTransform {
 public:
  void LoadFrame(const Frame& frame) override {
    calls.push_back("LoadFrame");
    loaded = frame;
  }
  void DrawText(double strength, int x, int y, const std::string& text, const SubtitleFont& font,
                orlisk::Colour colour, int level) override {
    calls.push_back("DrawText");
    draws.push_back({strength, x, y, text, colour, level});
    fonts.push_back(font);
  }
  void DrawCentredText(double strength, int dx, int y, const std::string& text, const SubtitleFont& font,
                       orlisk::Colour colour, int level) override {
    calls.push_back("DrawCentredText");
    draws.push_back({strength, dx, y, text, colour, level, true});
    fonts.push_back(font);
  }
  Frame TakeFrame() override {
    calls.push_back("TakeFrame");
    return loaded;
  }

  void clear() {
    calls.clear();
    draws.clear();
    fonts.clear();
  }

  std::vector<std::string> calls;
  std::vector<DrawCall> draws;
  std::vector<SubtitleFont> fonts;
  Frame loaded;
};

}  // namespace orlisk::testing
