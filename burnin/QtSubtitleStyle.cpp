#include "QtSubtitleStyle.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace orlisk {
namespace {

// Faces common in subtitle files and their metric twins on Linux systems.
struct FaceTwin {
  const char* Face;
  const char* Twin;
};
constexpr FaceTwin kFaceTwins[] = {
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
};
constexpr const char* kChineseFallback = "WenQuanYi Micro Hei";

// Qt takes the first installed family of the list for each character, so the
// chosen face wins when installed, its twin stands in otherwise, and Chinese
// characters missing from both come from the fallback.
QStringList FamiliesFor(const std::string& face) {
  QStringList families{QString::fromStdString(face)};
  for (const FaceTwin& twin : kFaceTwins) {
    if (families.front().compare(QLatin1String(twin.Face), Qt::CaseInsensitive) == 0) {
      if (!QFontDatabase::hasFamily(families.front())) families.prepend(QLatin1String(twin.Twin));
      else families.append(QLatin1String(twin.Twin));
    }
  }
  families.append(QLatin1String(kChineseFallback));
  return families;
}

}  // namespace

QColor ToQColor(Colour colour) {
  // 0x00BBGGRR: red sits in the low byte.
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

Colour FromQColor(const QColor& colour) {
  return static_cast<Colour>(colour.red()) | (static_cast<Colour>(colour.green()) << 8) |
         (static_cast<Colour>(colour.blue()) << 16);
}

QFont ToQFont(const SubtitleFont& font) {
  QFont result;
  result.setFamilies(FamiliesFor(font.Face));
  result.setWeight(font.Bold ? QFont::Bold : QFont::Normal);
  result.setItalic(font.Italic);
  result.setUnderline(font.Underline);
  result.setStrikeOut(font.StrikeOut);
  result.setStyleStrategy(QFont::PreferAntialias);
  if (font.Height < 0) {
    result.setPixelSize(-font.Height);
  } else if (font.Height > 0) {
    // A positive height is the whole cell (ascent plus descent): shrink the
    // character size by the face's own cell-to-size ratio.
    result.setPixelSize(font.Height);
    const int cell = QFontMetrics(result).height();
    if (cell > 0) {
      result.setPixelSize(std::max(1, static_cast<int>(std::lround(
                                          double(font.Height) * font.Height / cell))));
    }
  } else {
    // Pixels rather than points, so the size does not depend on the screen.
    result.setPixelSize(std::max(1, static_cast<int>(std::lround(font.PointSize * 96.0 / 72.0))));
  }
  return result;
}

SubtitleFont FromQFont(const QFont& font) {
  SubtitleFont result;
  result.Face = font.family().toStdString();
  const int pixels = font.pixelSize() > 0 ? font.pixelSize()
                                          : static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
  result.Height = -pixels;
  result.PointSize = static_cast<std::int32_t>(std::lround(pixels * 72.0 / 96.0));
  result.Bold = font.bold();
  result.Italic = font.italic();
  result.Underline = font.underline();
  result.StrikeOut = font.strikeOut();
  return result;
}

double FontCellPerEm(const SubtitleFont& font) {
  const QFont qfont = ToQFont(font);
  return qfont.pixelSize() > 0 ? QFontMetricsF(qfont).height() / qfont.pixelSize() : 1.0;
}

}  // namespace orlisk
