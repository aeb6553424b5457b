#pragma once
// A transform that draws nothing and remembers every call, so tests can check
// what the renderers asked for and in which order.
#include <string>
#include <vector>

#include "burnin/TextTransform.h"

namespace orlisk::testing {

struct DrawCall {
  double Strength = 0;
  SubtitlePlacement Place;
  std::string Text;
  SubtitleStyle Style;
};

class RecordingTransform : public TextTransform {
 public:
  void LoadFrame(const Frame& frame) override {
    calls.push_back("LoadFrame");
    loaded = frame;
  }
  void DrawText(double strength, const SubtitlePlacement& place, const std::string& text,
                const SubtitleStyle& style) override {
    calls.push_back("DrawText");
    draws.push_back({strength, place, text, style});
  }
  TextArea DrawnArea(int, const SubtitlePlacement&, const std::string&, const SubtitleStyle&) override { return {}; }
  Frame TakeFrame() override {
    calls.push_back("TakeFrame");
    return loaded;
  }

  void clear() {
    calls.clear();
    draws.clear();
  }

  std::vector<std::string> calls;
  std::vector<DrawCall> draws;
  Frame loaded;
};

}  // namespace orlisk::testing
