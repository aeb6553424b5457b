#pragma once
// The text transform over Qt's raster painter: the loaded frame's pixels are
// painted in place through a QImage that wraps them (Format_RGB32 is the
// frame layout; Format_ARGB32_Premultiplied for a Premultiplied frame), so a frame costs one copy in LoadFrame and none in TakeFrame.
// Places and font sizes are in the frame's place pixels (Frame::PlaceWidth),
// whatever size its picture was scaled to.
// Needs a QGuiApplication for fonts. User-interface thread only.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "QtSubtitleStyle.h"
#include "TextTransform.h"

class QPainter;

namespace orlisk {

// Width in pixels of one line of UTF-8 text in the font, as DrawText draws it.
int TextPixelWidth(const std::string& utf8Line, const SubtitleFont& font);

class QtTextTransform : public TextTransform {
 public:
  QtTextTransform();
  ~QtTextTransform() override;
  QtTextTransform(const QtTextTransform&) = delete;
  QtTextTransform& operator=(const QtTextTransform&) = delete;

  // Throws std::invalid_argument when the frame's sizes do not match its pixels.
  void LoadFrame(const Frame& frame) override;
  void DrawText(double strength, int x, int y, const std::string& text, const SubtitleFont& font,
                Colour colour, int level) override;
  void DrawCentredText(double strength, int dx, int y, const std::string& text, const SubtitleFont& font,
                       Colour colour, int level) override;
  // Hands the buffer back; the transform is empty until the next LoadFrame.
  Frame TakeFrame() override;

 private:
  // One measuring object per font in use.
  struct CachedFont {
    SubtitleFont Key;
    QFont Font;
    QFontMetrics Metrics;
  };
  const CachedFont& FontFor(const SubtitleFont& font);
  // Each line starts at `x`, or when `centred`, at its centred place plus `x`.
  void DrawLines(int x, bool centred, int y, const std::string& text, const SubtitleFont& font, Colour colour);
  void EndPainting();

  Frame frame_;
  QImage surface_;  // wraps frame_.Pixels while a frame is loaded
  std::unique_ptr<QPainter> painter_;
  std::vector<CachedFont> fonts_;
};

}  // namespace orlisk
