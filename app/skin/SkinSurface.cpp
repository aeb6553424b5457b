#include "app/skin/SkinSurface.h"

#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QStringDecoder>
#include <QToolTip>
#include <algorithm>
#include <map>

#include "app/skin/PlaybarWaveformPainter.h"
#include "app/skin/SkinFile.h"
#include "app/skin/SkinPainter.h"
#include "files/SafeFile.h"

namespace orlisk {

namespace {

const QString kPlaybarName = QStringLiteral("playbar");

SkinError FileError(const QString& path, const QString& what) {
  return SkinError(QStringLiteral("%1: %2").arg(path, what).toStdString());
}

// The bytes of a regular file of at most kMaxSkinFileBytes: a pipe or device
// in the skin's place would hold up the start, a huge file fill the memory.
QByteArray ReadSkinBytes(const QString& path) {
  const std::string bytes = ReadRegularFile(path.toStdString(), kMaxSkinFileBytes);
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

SkinDocument ReadSkinFile(const QString& path) {
  QByteArray bytes;
  try {
    bytes = ReadSkinBytes(path);
  } catch (const FileReadError& error) {
    throw FileError(path, QStringLiteral("cannot open the skin file (%1)").arg(QString::fromStdString(error.reason())));
  }
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8(bytes);
  if (utf8.hasError()) throw FileError(path, QStringLiteral("the skin file is not UTF-8 text"));

  SkinDocument document = ParseSkin(text, path);
  const QDir folder = QFileInfo(path).absoluteDir();
  for (SkinObjectData& object : document.objects) {
    if (object.picture.isEmpty()) continue;
    try {
      object.pictureImage = QImage::fromData(ReadSkinBytes(folder.filePath(object.picture)));
    } catch (const FileReadError&) {
      object.pictureImage = QImage();
    }
    if (object.pictureImage.isNull())
      throw SkinError(QStringLiteral("%1 line %2: picture '%3' cannot be read")
                          .arg(path)
                          .arg(object.line)
                          .arg(object.picture)
                          .toStdString());
  }
  return document;
}

bool ReactsToMouse(const SkinObjectData& object) {
  return object.kind == SkinKind::Button || object.kind == SkinKind::Scrollbar ||
         (object.kind == SkinKind::Label && object.hover.isValid());
}

}  // namespace

struct SkinSurface::Impl {
  SkinDocument document;
  std::map<QString, std::unique_ptr<SkinObject>> handles;
  int hovered = -1;  // indexes into document.objects; -1 for none
  int pressed = -1;
  bool trackingPlaybar = false;
  PlaybarWaveform waveform;

  int objectAt(const QPoint& point) const {
    for (int index = static_cast<int>(document.objects.size()) - 1; index >= 0; --index) {
      const SkinObjectData& object = document.objects[index];
      if (object.visible && object.rect.contains(point)) return index;
    }
    return -1;
  }
  SkinObjectData* at(int index) { return index < 0 ? nullptr : &document.objects[index]; }
};

// SkinObject ---------------------------------------------------------------

QString SkinObject::GetName() const { return data_.name; }

void SkinObject::SetVisible(bool visible) {
  if (data_.visible == visible) return;
  data_.visible = visible;
  Refresh();
}

bool SkinObject::isVisible() const { return data_.visible; }

void SkinObject::Refresh() { surface_.update(data_.rect.adjusted(-1, -1, 1, 1)); }

void SkinObject::SetText(const QString& text) {
  data_.text = text;
  Refresh();
}

QString SkinObject::text() const { return data_.text; }

int SkinObject::GetScrollPosition() const { return data_.scrollPosition; }

void SkinObject::SetScrollPosition(int position) {
  if (data_.kind != SkinKind::Scrollbar) return;
  data_.scrollPosition = std::clamp(position, 0, kScrollRange);
  Refresh();
}

QRect SkinObject::rect() const { return data_.rect; }

void SkinObject::SetActive(bool on) {
  if (data_.on == on) return;
  data_.on = on;
  Refresh();
}

bool SkinObject::isActive() const { return data_.on; }

QString SkinObject::hint() const { return data_.hint; }

// SkinSurface --------------------------------------------------------------

SkinSurface::SkinSurface(QWidget* parent) : QWidget(parent), impl_(std::make_unique<Impl>()) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

SkinSurface::~SkinSurface() = default;

void SkinSurface::LoadSkin(const QString& path) {
  // Read everything first: a broken file leaves the current skin in place.
  SkinDocument document = ReadSkinFile(path);
  impl_->handles.clear();
  impl_->document = std::move(document);
  impl_->hovered = impl_->pressed = -1;
  impl_->trackingPlaybar = false;
  for (SkinObjectData& object : impl_->document.objects)
    impl_->handles.emplace(object.name, std::make_unique<SkinObject>(*this, object));
  setMinimumSize(impl_->document.form().rect.size());
  updateGeometry();
  update();
}

SkinObject* SkinSurface::FindObject(const QString& name) {
  const auto found = impl_->handles.find(name);
  return found == impl_->handles.end() ? nullptr : found->second.get();
}

PlaybarWaveform& SkinSurface::playbarWaveform() { return impl_->waveform; }

QSize SkinSurface::sizeHint() const {
  if (impl_->document.objects.empty()) return QWidget::sizeHint();
  return impl_->document.form().rect.size();
}

void SkinSurface::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (impl_->document.objects.empty()) {
    painter.fillRect(event->rect(), palette().window());
    return;
  }
  const SkinObjectData& form = impl_->document.form();
  for (int index = 0; index < static_cast<int>(impl_->document.objects.size()); ++index) {
    const SkinObjectData& object = impl_->document.objects[index];
    if (!object.visible || !event->rect().intersects(object.rect.adjusted(-1, -1, 1, 1))) continue;
    SkinObjectState state = SkinObjectState::Normal;
    if (impl_->pressed == index && (impl_->hovered == index || impl_->trackingPlaybar))
      state = SkinObjectState::Pressed;
    else if (impl_->hovered == index && impl_->pressed < 0)
      state = SkinObjectState::Hover;
    painter.save();
    if (object.kind == SkinKind::Scrollbar && object.name == kPlaybarName && impl_->waveform.hasSound())
      PaintPlaybarWithWaveform(painter, object, state, impl_->waveform);
    else
      PaintSkinObject(painter, object, form, state);
    painter.restore();
  }
}

void SkinSurface::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint point = event->position().toPoint();
  impl_->pressed = impl_->objectAt(point);
  SkinObjectData* object = impl_->at(impl_->pressed);
  if (!object) return;
  update(object->rect.adjusted(-1, -1, 1, 1));
  if (object->name != kPlaybarName || object->kind != SkinKind::Scrollbar) return;

  impl_->trackingPlaybar = true;
  emit playbarPressed();
  // The thumb jumps to the mouse, as on a seek bar.
  const int position = ScrollPositionAt(object->rect, point.x());
  if (position != object->scrollPosition) {
    FindObject(kPlaybarName)->SetScrollPosition(position);
    emit playbarTracked();
  }
}

void SkinSurface::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  const int hovered = impl_->objectAt(point);
  if (hovered != impl_->hovered) {
    if (SkinObjectData* old = impl_->at(impl_->hovered)) update(old->rect.adjusted(-1, -1, 1, 1));
    impl_->hovered = hovered;
    SkinObjectData* now = impl_->at(hovered);
    if (now) update(now->rect.adjusted(-1, -1, 1, 1));
    if (now && ReactsToMouse(*now))
      setCursor(Qt::PointingHandCursor);
    else
      unsetCursor();
  }
  if (!impl_->trackingPlaybar) return;
  SkinObject* playbar = FindObject(kPlaybarName);
  const int position = ScrollPositionAt(playbar->rect(), point.x());
  if (position == playbar->GetScrollPosition()) return;
  playbar->SetScrollPosition(position);
  emit playbarTracked();
}

void SkinSurface::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int pressed = impl_->pressed;
  const bool wasTracking = impl_->trackingPlaybar;
  impl_->pressed = -1;
  impl_->trackingPlaybar = false;
  SkinObjectData* object = impl_->at(pressed);
  if (!object) return;
  update(object->rect.adjusted(-1, -1, 1, 1));
  if (wasTracking) {
    emit playbarReleased();
    return;
  }
  // A click is a press and a release on the same object; the playbar only
  // reports its press, drag and release.
  if (impl_->objectAt(event->position().toPoint()) != pressed || object->name == kPlaybarName) return;
  const QString name = object->name;  // a handler may load another skin
  emit objectClicked(name);
}

bool SkinSurface::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const SkinObjectData* object = impl_->at(impl_->objectAt(help->pos()));
  if (object && !object->hint.isEmpty()) {
    QToolTip::showText(help->globalPos(), object->hint, this, object->rect);
  } else {
    QToolTip::hideText();
    event->ignore();
  }
  return true;
}

void SkinSurface::leaveEvent(QEvent* event) {
  if (SkinObjectData* old = impl_->at(impl_->hovered)) update(old->rect.adjusted(-1, -1, 1, 1));
  impl_->hovered = -1;
  unsetCursor();
  QWidget::leaveEvent(event);
}

}  // namespace orlisk
