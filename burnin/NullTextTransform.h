#pragma once
// A transform that draws nothing: the frame taken is the frame loaded. For a
// program or a test that shows pictures without their subtitles.
#include <utility>

#include "TextTransform.h"

namespace orlisk {

class NullTextTransform : public TextTransform {
 public:
  void LoadFrame(const Frame& frame) override { frame_ = frame; }
  void DrawText(double, const SubtitlePlacement&, const std::string&, const SubtitleStyle&) override {}
  TextArea DrawnArea(int, const SubtitlePlacement&, const std::string&, const SubtitleStyle&) override { return {}; }
  // Hands the frame back; empty until the next LoadFrame.
  Frame TakeFrame() override { return std::exchange(frame_, Frame{}); }

 private:
  Frame frame_;
};

}  // namespace orlisk
