#include "app/skin/SkinIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <map>

namespace orlisk {

namespace {

// Every icon is drawn on a 24 x 24 grid; the painter is scaled to the box.
// Filled shapes use the brush, outlined ones a 2-unit pen with round ends.
using IconDrawer = std::function<void(QPainter&)>;

void Outline(QPainter& p) { p.setBrush(Qt::NoBrush); }

QPainterPath Triangle(QPointF a, QPointF b, QPointF c) {
  QPainterPath path(a);
  path.lineTo(b);
  path.lineTo(c);
  path.closeSubpath();
  return path;
}

void DrawPlay(QPainter& p) { p.drawPath(Triangle({7, 4.5}, {19.5, 12}, {7, 19.5})); }

void DrawPause(QPainter& p) {
  p.drawRoundedRect(QRectF(6, 5, 4.2, 14), 1, 1);
  p.drawRoundedRect(QRectF(13.8, 5, 4.2, 14), 1, 1);
}

void DrawStop(QPainter& p) { p.drawRoundedRect(QRectF(6, 6, 12, 12), 1.5, 1.5); }

void DrawFastBack(QPainter& p) {
  p.drawPath(Triangle({12, 6}, {3, 12}, {12, 18}));
  p.drawPath(Triangle({21, 6}, {12, 12}, {21, 18}));
}

void DrawFastForward(QPainter& p) {
  p.drawPath(Triangle({3, 6}, {12, 12}, {3, 18}));
  p.drawPath(Triangle({12, 6}, {21, 12}, {12, 18}));
}

void DrawOpen(QPainter& p) {
  Outline(p);
  QPainterPath folder(QPointF(3, 18.5));
  folder.lineTo(3, 6);
  folder.lineTo(9, 6);
  folder.lineTo(11, 8);
  folder.lineTo(19, 8);
  folder.lineTo(19, 10.5);
  p.drawPath(folder);
  QPainterPath front(QPointF(3, 18.5));
  front.lineTo(6, 10.5);
  front.lineTo(21.5, 10.5);
  front.lineTo(18.5, 18.5);
  front.closeSubpath();
  p.drawPath(front);
}

void DrawSave(QPainter& p) {
  Outline(p);
  p.drawLine(QPointF(12, 3.5), QPointF(12, 14));
  p.drawPolyline(QPolygonF({{7.5, 10}, {12, 14.5}, {16.5, 10}}));
  p.drawPolyline(QPolygonF({{4, 15}, {4, 20}, {20, 20}, {20, 15}}));
}

void DrawSubtitle(QPainter& p) {
  Outline(p);
  p.drawRoundedRect(QRectF(3, 5, 18, 14), 2.5, 2.5);
  p.drawLine(QPointF(6.5, 13), QPointF(11, 13));
  p.drawLine(QPointF(13.5, 13), QPointF(17.5, 13));
  p.drawLine(QPointF(6.5, 16), QPointF(14, 16));
}

void DrawPlus(QPainter& p) {
  Outline(p);
  p.drawLine(QPointF(12, 5), QPointF(12, 19));
  p.drawLine(QPointF(5, 12), QPointF(19, 12));
}

void DrawInsert(QPainter& p) {
  Outline(p);
  p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 3, 3);
  p.drawLine(QPointF(12, 8), QPointF(12, 16));
  p.drawLine(QPointF(8, 12), QPointF(16, 12));
}

// "Mark in" and "mark out": a bracket and an arrow pointing into it.
void DrawBegin(QPainter& p) {
  Outline(p);
  p.drawPolyline(QPolygonF({{9, 4}, {5, 4}, {5, 20}, {9, 20}}));
  p.drawLine(QPointF(19.5, 12), QPointF(9.5, 12));
  p.drawPolyline(QPolygonF({{13.5, 8}, {9.5, 12}, {13.5, 16}}));
}

void DrawEnd(QPainter& p) {
  Outline(p);
  p.drawPolyline(QPolygonF({{15, 4}, {19, 4}, {19, 20}, {15, 20}}));
  p.drawLine(QPointF(4.5, 12), QPointF(14.5, 12));
  p.drawPolyline(QPolygonF({{10.5, 8}, {14.5, 12}, {10.5, 16}}));
}

void DrawRemove(QPainter& p) {
  Outline(p);
  p.drawEllipse(QRectF(3.5, 3.5, 17, 17));
  p.drawLine(QPointF(8, 12), QPointF(16, 12));
}

void DrawClear(QPainter& p) {
  Outline(p);
  p.drawLine(QPointF(4, 6.5), QPointF(20, 6.5));
  p.drawPolyline(QPolygonF({{9, 6.5}, {9, 4}, {15, 4}, {15, 6.5}}));
  p.drawPolyline(QPolygonF({{6, 6.5}, {7, 20}, {17, 20}, {18, 6.5}}));
  p.drawLine(QPointF(10.5, 10), QPointF(10.5, 16.5));
  p.drawLine(QPointF(13.5, 10), QPointF(13.5, 16.5));
}

// Writing subtitles into a video: a record dot inside a ring.
void DrawWrite(QPainter& p) {
  const QBrush brush = p.brush();
  Outline(p);
  p.drawEllipse(QRectF(3, 3, 18, 18));
  p.setBrush(brush);
  p.drawEllipse(QRectF(7.5, 7.5, 9, 9));
}

void DrawStopWrite(QPainter& p) {
  const QBrush brush = p.brush();
  Outline(p);
  p.drawEllipse(QRectF(3, 3, 18, 18));
  p.setBrush(brush);
  p.drawRoundedRect(QRectF(8.5, 8.5, 7, 7), 1, 1);
}

void DrawHelp(QPainter& p) {
  Outline(p);
  p.drawEllipse(QRectF(3, 3, 18, 18));
  QPainterPath hook(QPointF(9.3, 9.6));
  hook.cubicTo(9.3, 6.2, 15, 6.2, 15, 9.4);
  hook.cubicTo(15, 11.6, 12, 11.8, 12, 14);
  p.drawPath(hook);
  p.drawPoint(QPointF(12, 17.2));
}

void DrawEdit(QPainter& p) {
  Outline(p);
  p.drawPolygon(QPolygonF({{15.5, 4.5}, {19.5, 8.5}, {9, 19}, {4.5, 19.5}, {5, 15}}));
  p.drawLine(QPointF(13, 7), QPointF(17, 11));
}

void DrawSettings(QPainter& p) {
  Outline(p);
  p.drawLine(QPointF(4, 7), QPointF(20, 7));
  p.drawLine(QPointF(4, 12), QPointF(20, 12));
  p.drawLine(QPointF(4, 17), QPointF(20, 17));
  const QBrush knob(p.pen().color());
  p.setBrush(knob);
  p.drawEllipse(QPointF(15, 7), 2.2, 2.2);
  p.drawEllipse(QPointF(8, 12), 2.2, 2.2);
  p.drawEllipse(QPointF(13, 17), 2.2, 2.2);
}

void DrawGift(QPainter& p) {
  Outline(p);
  p.drawRect(QRectF(4, 9, 16, 4));
  p.drawPolyline(QPolygonF({{5.5, 13}, {5.5, 20}, {18.5, 20}, {18.5, 13}}));
  p.drawLine(QPointF(12, 9), QPointF(12, 20));
  QPainterPath bow(QPointF(12, 9));
  bow.cubicTo(9, 3, 5, 6, 8, 9);
  bow.moveTo(12, 9);
  bow.cubicTo(15, 3, 19, 6, 16, 9);
  p.drawPath(bow);
}

void DrawFilm(QPainter& p) {
  Outline(p);
  p.drawRoundedRect(QRectF(3, 4, 18, 16), 2, 2);
  p.drawLine(QPointF(7, 4), QPointF(7, 20));
  p.drawLine(QPointF(17, 4), QPointF(17, 20));
  for (double y : {8.0, 12.0, 16.0}) {
    p.drawLine(QPointF(3, y), QPointF(7, y));
    p.drawLine(QPointF(17, y), QPointF(21, y));
  }
}

const std::map<QString, IconDrawer>& Icons() {
  static const std::map<QString, IconDrawer> icons{
      {"play", DrawPlay},         {"pause", DrawPause},       {"stop", DrawStop},
      {"fastback", DrawFastBack}, {"fastforward", DrawFastForward},
      {"open", DrawOpen},         {"save", DrawSave},         {"subtitle", DrawSubtitle},
      {"insert", DrawInsert},     {"begin", DrawBegin},       {"end", DrawEnd},
      {"remove", DrawRemove},     {"clear", DrawClear},       {"write", DrawWrite},
      {"stopwrite", DrawStopWrite}, {"help", DrawHelp},       {"edit", DrawEdit},
      {"settings", DrawSettings}, {"gift", DrawGift},         {"film", DrawFilm},
      {"plus", DrawPlus}};
  return icons;
}

}  // namespace

bool IsSkinIcon(const QString& name) { return Icons().count(name) != 0; }

void DrawSkinIcon(QPainter& painter, const QString& name, const QRectF& box, const QColor& colour) {
  const auto icon = Icons().find(name);
  if (icon == Icons().end() || box.isEmpty()) return;
  const double side = std::min(box.width(), box.height());
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(box.center().x() - side / 2, box.center().y() - side / 2);
  painter.scale(side / 24.0, side / 24.0);
  // Thin strokes stay at least about 1.4 device pixels wide on small icons.
  painter.setPen(QPen(colour, std::max(1.8, 1.4 * 24.0 / side), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(colour);
  icon->second(painter);
  painter.restore();
}

}  // namespace orlisk
