#pragma once
// The text transform over Qt's raster painter: the loaded frame's pixels are
// painted in place through a QImage that wraps them (Format_RGB32 is the
// frame layout; Format_ARGB32_Premultiplied for a Premultiplied frame), so a frame costs one copy in LoadFrame and none in TakeFrame.
// Places and font sizes are in the frame's place pixels (Frame::PlaceWidth),
// whatever size its picture was scaled to.
//
// The letters are glyph outlines (one path per text), filled in the text
// colour; the outline is that path stroked with a round pen whose width
// follows the font's pixel size (1 pixel outside the letters at 21 pixels,
// the start-up size, as much more as the font is larger); the shadow is the
// outlined letters again, moved down and right by about a twelfth of the
// size; the box is a band behind each line that holds its outline. Shadow and
// box are black at the backdrop's opacity.
// Needs a QGuiApplication for fonts. User-interface thread only.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QRectF>
#include <QTransform>
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
  void DrawText(double strength, const SubtitlePlacement& place, const std::string& text,
                const SubtitleStyle& style) override;
  TextArea DrawnArea(int placeWidth, const SubtitlePlacement& place, const std::string& text,
                     const SubtitleStyle& style) override;
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
  // What a text at a place is drawn as, in place pixels. The last one is
  // kept: preview and writing draw one subtitle on many frames running.
  struct Layout {
    int PlaceWidth = 0;
    SubtitlePlacement Place;
    std::string Text;
    SubtitleStyle Style;
    QPainterPath Letters;
    double OutlineWidth = 0;  // how far the stroke reaches outside the letters; 0 without outline
    QRectF OutlinedBounds;    // the letters with their outline
    QPointF ShadowOffset;     // (0, 0) without a shadow
    QPainterPath Box;         // empty without a box
    TextArea Area;
    // The outlined letters (and their shadow) drawn once in the frame's own
    // pixels for the painter's transform `LayersFor`, cut to the frame's
    // rectangle `LayersClip`: stroking the outline costs far more than laying
    // a finished layer on each frame. A layer is null where nothing falls on
    // the frame.
    bool HasLayers = false;
    QTransform LayersFor;
    QRect LayersClip;
    QImage Ink;
    QPoint InkAt;
    QImage Shadow;  // opaque black; laid at the backdrop's opacity
    QPoint ShadowAt;
  };
  Layout& LayoutFor(int placeWidth, const SubtitlePlacement& place, const std::string& text,
                    const SubtitleStyle& style);
  void MakeLayers(Layout& layout, const QTransform& device, const QRect& clip);
  void EndPainting();

  Frame frame_;
  QImage surface_;  // wraps frame_.Pixels while a frame is loaded
  std::unique_ptr<QPainter> painter_;
  std::vector<CachedFont> fonts_;
  std::unique_ptr<Layout> layout_;
};

}  // namespace orlisk
