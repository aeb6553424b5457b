#include "app/skin/SkinPainter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <algorithm>
#include <cmath>

#include "app/skin/SkinIcons.h"

namespace orlisk {

namespace {

const QColor kDefaultText(0xe8, 0xeb, 0xf1);
const QColor kDefaultTrack(0x3a, 0x3f, 0x4b);
const QColor kDefaultAccent(0x4c, 0x8d, 0xff);

QFont FontOf(const SkinObjectData& object, const SkinObjectData& form) {
  QFont font;
  const QString family = object.family.isEmpty() ? form.family : object.family;
  if (!family.isEmpty()) font.setFamilies({family});
  font.setPixelSize(object.fontSize);
  font.setBold(object.bold);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

QColor TextColourOf(const SkinObjectData& object) {
  return object.textColor.isValid() ? object.textColor : kDefaultText;
}

// Fills (and outlines) the object's rectangle. A missing fill leaves the
// background showing through.
void PaintBox(QPainter& painter, const QRectF& rect, const SkinObjectData& object, const QColor& fill,
              const QColor& fill2) {
  if (!fill.isValid() && !object.border.isValid()) return;
  painter.save();
  // Half a pixel inwards puts a one-pixel outline exactly on pixel rows.
  const QRectF box = object.border.isValid() ? rect.adjusted(0.5, 0.5, -0.5, -0.5) : rect;
  if (fill.isValid() && fill2.isValid()) {
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, fill);
    gradient.setColorAt(1, fill2);
    painter.setBrush(gradient);
  } else if (fill.isValid()) {
    painter.setBrush(fill);
  } else {
    painter.setBrush(Qt::NoBrush);
  }
  painter.setPen(object.border.isValid() ? QPen(object.border, 1) : QPen(Qt::NoPen));
  const double radius = std::min<double>(object.radius, std::min(box.width(), box.height()) / 2);
  painter.drawRoundedRect(box, radius, radius);
  painter.restore();
}

Qt::Alignment AlignmentOf(const SkinObjectData& object) {
  switch (object.align) {
    case SkinAlign::Left: return Qt::AlignLeft | Qt::AlignVCenter;
    case SkinAlign::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case SkinAlign::Center: break;
  }
  return Qt::AlignCenter;
}

void PaintCaption(QPainter& painter, const QRectF& rect, const SkinObjectData& object,
                  const SkinObjectData& form, const QColor& colour) {
  if (object.text.isEmpty()) return;
  // Text off a filled box keeps a little distance from its rounded edge.
  const double inset = object.color.isValid() && object.align != SkinAlign::Center ? 8 : 0;
  painter.setFont(FontOf(object, form));
  painter.setPen(colour);
  painter.drawText(rect.adjusted(inset, 0, -inset, 0), AlignmentOf(object), object.text);
}

void PaintButton(QPainter& painter, const SkinObjectData& object, const SkinObjectData& form,
                 SkinObjectState state) {
  QColor fill = object.color;
  QColor fill2 = object.color2;
  if (state == SkinObjectState::Pressed) {
    fill = object.pressed.isValid() ? object.pressed : (fill.isValid() ? fill.darker(125) : fill);
    fill2 = QColor();
  } else if (state == SkinObjectState::Hover) {
    fill = object.hover.isValid() ? object.hover : (fill.isValid() ? fill.lighter(125) : fill);
    fill2 = fill2.isValid() ? fill2.lighter(125) : fill2;
  }
  // On (the play button while playing): its own fill, lit under the mouse,
  // and a ring inside the edge, so the state reads at a glance.
  if (object.on && object.active.isValid()) {
    fill = state == SkinObjectState::Hover ? object.active.lighter(115) : object.active;
    fill2 = QColor();
  }
  const QRectF rect(object.rect);
  PaintBox(painter, rect, object, fill, fill2);
  if (object.on) {
    QColor ring = TextColourOf(object);
    ring.setAlphaF(0.55);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ring, 2));
    const QRectF inner = rect.adjusted(3, 3, -3, -3);
    const double radius = std::max(0.0, std::min<double>(object.radius, std::min(rect.width(), rect.height()) / 2) - 3);
    painter.drawRoundedRect(inner, radius, radius);
    painter.restore();
  }

  // The face sinks a pixel while pressed.
  const QRectF face = state == SkinObjectState::Pressed ? rect.translated(0, 1) : rect;
  const QColor colour = TextColourOf(object);
  const bool hasIcon = !object.icon.isEmpty();
  const bool hasText = !object.text.isEmpty();
  if (hasIcon && !hasText) {
    const double side = std::min(face.width(), face.height()) * 0.5;
    DrawSkinIcon(painter, object.icon, QRectF(0, 0, side, side).translated(face.center() - QPointF(side, side) / 2),
                 colour);
    return;
  }
  if (!hasIcon) {
    PaintCaption(painter, face, object, form, colour);
    return;
  }
  const QFont font = FontOf(object, form);
  const QFontMetricsF metrics(font);
  painter.setFont(font);
  painter.setPen(colour);
  if (face.height() >= 52) {
    // Tall buttons: the icon above its caption.
    const double side = std::min(face.height() * 0.42, 28.0);
    const double total = side + 4 + metrics.height();
    const double top = face.top() + (face.height() - total) / 2;
    DrawSkinIcon(painter, object.icon, QRectF(face.center().x() - side / 2, top, side, side), colour);
    painter.drawText(QRectF(face.left(), top + side + 4, face.width(), metrics.height()), Qt::AlignCenter,
                     object.text);
    return;
  }
  const double side = std::min(face.height() - 10, object.fontSize * 1.4);
  const double gap = 7;
  const double total = side + gap + metrics.horizontalAdvance(object.text);
  double left = face.left() + (face.width() - total) / 2;
  if (object.align == SkinAlign::Left) left = face.left() + 10;
  if (object.align == SkinAlign::Right) left = face.right() - 10 - total;
  DrawSkinIcon(painter, object.icon, QRectF(left, face.center().y() - side / 2, side, side), colour);
  painter.drawText(QRectF(left + side + gap, face.top(), face.right() - left - side - gap, face.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, object.text);
}

void PaintScrollbar(QPainter& painter, const SkinObjectData& object, SkinObjectState state) {
  const QRectF rect(object.rect);
  const double trackHeight = std::max(4.0, std::round(rect.height() / 3.5));
  const double centreY = rect.center().y();
  const double thumbX = ScrollThumbCentre(object.rect, object.scrollPosition);
  const QColor accent = ScrollbarAccentOf(object);

  painter.save();
  painter.setPen(Qt::NoPen);
  const QRectF track(rect.left() + rect.height() / 2.0 - trackHeight / 2, centreY - trackHeight / 2,
                     rect.width() - rect.height() + trackHeight, trackHeight);
  painter.setBrush(ScrollbarTrackOf(object));
  painter.drawRoundedRect(track, trackHeight / 2, trackHeight / 2);
  QRectF played = track;
  played.setRight(std::max(track.left() + trackHeight, thumbX));
  painter.setBrush(accent);
  painter.drawRoundedRect(played, trackHeight / 2, trackHeight / 2);
  painter.restore();
  PaintScrollbarThumb(painter, object, state);
}

void PaintImage(QPainter& painter, const SkinObjectData& object) {
  const QRectF rect(object.rect);
  PaintBox(painter, rect, object, object.color, object.color2);
  if (!object.pictureImage.isNull()) {
    const QSizeF size = QSizeF(object.pictureImage.size()).scaled(rect.size(), Qt::KeepAspectRatio);
    const QRectF target(rect.center() - QPointF(size.width(), size.height()) / 2, size);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, object.pictureImage);
    painter.restore();
  }
  if (!object.icon.isEmpty()) DrawSkinIcon(painter, object.icon, rect, TextColourOf(object));
}

}  // namespace

QColor ScrollbarTrackOf(const SkinObjectData& object) {
  return object.color.isValid() ? object.color : kDefaultTrack;
}

QColor ScrollbarAccentOf(const SkinObjectData& object) {
  return object.accent.isValid() ? object.accent : kDefaultAccent;
}

double ScrollThumbCentre(const QRect& bar, int position) {
  const double radius = bar.height() / 2.0;
  const double travel = std::max(0.0, bar.width() - 2 * radius);
  return bar.left() + radius + travel * std::clamp(position, 0, kScrollRange) / kScrollRange;
}

int ScrollPositionAt(const QRect& bar, int x) {
  const double radius = bar.height() / 2.0;
  const double travel = bar.width() - 2 * radius;
  if (travel <= 0) return 0;
  const double fraction = (x + 0.5 - (bar.left() + radius)) / travel;
  return std::clamp(static_cast<int>(std::lround(fraction * kScrollRange)), 0, kScrollRange);
}

void PaintScrollbarThumb(QPainter& painter, const SkinObjectData& object, SkinObjectState state) {
  const QRectF rect(object.rect);
  const double thumbX = ScrollThumbCentre(object.rect, object.scrollPosition);
  const double thumbRadius = rect.height() / 2.0 - (state == SkinObjectState::Normal ? 1.5 : 0.5);
  const QColor accent = ScrollbarAccentOf(object);
  painter.save();
  painter.setBrush(object.textColor.isValid() ? object.textColor : QColor(Qt::white));
  painter.setPen(QPen(accent, state == SkinObjectState::Normal ? 1.5 : 2.5));
  painter.drawEllipse(QPointF(thumbX, rect.center().y()), thumbRadius - 1, thumbRadius - 1);
  painter.restore();
}

void PaintSkinObject(QPainter& painter, const SkinObjectData& object, const SkinObjectData& form,
                     SkinObjectState state) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const QRectF rect(object.rect);
  switch (object.kind) {
    case SkinKind::Form:
      painter.save();
      painter.setPen(Qt::NoPen);
      if (object.color.isValid() && object.color2.isValid()) {
        QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
        gradient.setColorAt(0, object.color);
        gradient.setColorAt(1, object.color2);
        painter.setBrush(gradient);
      } else {
        painter.setBrush(object.color.isValid() ? object.color : QColor(0x16, 0x18, 0x1d));
      }
      painter.drawRect(rect);
      painter.restore();
      if (!object.pictureImage.isNull()) painter.drawImage(rect, object.pictureImage);
      break;
    case SkinKind::Panel:
      PaintBox(painter, rect, object, object.color, object.color2);
      PaintCaption(painter, rect, object, form, TextColourOf(object));
      break;
    case SkinKind::Button:
      PaintButton(painter, object, form, state);
      break;
    case SkinKind::Text:
    case SkinKind::Label: {
      PaintBox(painter, rect, object, object.color, object.color2);
      // Labels with a hover colour are links: the text lights up under the mouse.
      const bool lit = object.kind == SkinKind::Label && state != SkinObjectState::Normal && object.hover.isValid();
      PaintCaption(painter, rect, object, form, lit ? object.hover : TextColourOf(object));
      break;
    }
    case SkinKind::Scrollbar:
      PaintScrollbar(painter, object, state);
      break;
    case SkinKind::Image:
      PaintImage(painter, object);
      break;
  }
}

}  // namespace orlisk
