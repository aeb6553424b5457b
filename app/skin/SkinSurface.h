#pragma once
// The skinned face of the main window: draws every object of a skin file and
// reports clicks on them by name. Skin objects are found by name (exact,
// case-sensitive). The window places its own controls (video view, list,
// memo, edit boxes) over the surface at fixed positions.
#include <QString>
#include <QWidget>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/skin/PlaybarWaveform.h"

namespace orlisk {

// A skin file that is missing or broken; what() names the file and the fault.
class SkinError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SkinDocument;  // the parsed skin file (SkinFile.h)
struct SkinObjectData;

// One named object of the loaded skin. Owned by the surface; valid until the
// next LoadSkin.
class SkinObject {
 public:
  SkinObject(class SkinSurface& surface, SkinObjectData& data) : surface_(surface), data_(data) {}
  QString GetName() const;
  void SetVisible(bool visible);
  bool isVisible() const;
  void Refresh();  // redraws the object after a change
  void SetText(const QString& text);
  QString text() const;
  int GetScrollPosition() const;  // 0..10000, scroll bars only
  void SetScrollPosition(int position);
  QRect rect() const;
  // Marks a button as on (drawn in its "active" look) or off.
  void SetActive(bool on);
  bool isActive() const;
  QString hint() const;

 private:
  SkinSurface& surface_;
  SkinObjectData& data_;
};

class SkinSurface : public QWidget {
  Q_OBJECT
 public:
  explicit SkinSurface(QWidget* parent = nullptr);
  ~SkinSurface() override;

  // Loads and shows a skin file; throws SkinError naming the file when it is
  // missing or cannot be read.
  void LoadSkin(const QString& path);
  // The object of that name, or nullptr.
  SkinObject* FindObject(const QString& name);
  // The size of the skin's form object (the window's face) once a skin is loaded.
  QSize sizeHint() const override;
  // What the playbar's track shows behind the thumb: the plain track until
  // it has sound. Redraw the playbar after changing it.
  PlaybarWaveform& playbarWaveform();

 signals:
  // A click (press and release on the same object) on any object but the playbar.
  void objectClicked(const QString& name);
  // The playbar: press, drag (the thumb has moved; read its position) and release.
  void playbarPressed();
  void playbarTracked();
  void playbarReleased();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  bool event(QEvent* event) override;  // tool tips: the hint of the object under the mouse

 private:
  friend class SkinObject;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orlisk
