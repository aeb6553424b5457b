#pragma once
// The seams over the main window's own widgets: the skin's four objects, the
// subtitle memo `ed_text` and the list's selection (the time boxes: TypedTimeBox).
#include <QString>

#include "app/core/Seams.h"

class QPlainTextEdit;
class QProgressBar;
class QAbstractItemView;

namespace orlisk {

class SkinSurface;
class SkinObject;

// "playbar", "playtime", "videotime" and "shpb" of the loaded skin.
class SkinSurfaceObjects : public SkinObjects {
 public:
  // Looks the four objects up in the surface's loaded skin; throws SkinError
  // naming the skin file and the missing object when one is not there.
  void lookUp(SkinSurface& surface, const QString& skinFile);

  int playbarPosition() const override;
  void setPlaybarPosition(int position) override;
  std::string playtimeText() const override;
  void setPlaytimeText(const std::string& text) override;
  void setVideotimeText(const std::string& text) override;
  void setProgressPanelVisible(bool visible) override;

 private:
  SkinObject& need(SkinObject* object) const;

  SkinObject* playbar_ = nullptr;
  SkinObject* playtime_ = nullptr;
  SkinObject* videotime_ = nullptr;
  SkinObject* shpb_ = nullptr;
};

// The text with Windows line ends ("\r\n"); the widget itself works with "\n".
class PlainTextMemo : public TextMemo {
 public:
  explicit PlainTextMemo(QPlainTextEdit& edit) : edit_(edit) {}
  std::string text() const override;
  // Fires the widget's textChanged, so the window's change handler runs as it
  // does for typing.
  void setText(const std::string& text) override;
  bool isEnabled() const override;
  void setEnabled(bool enabled) override;
  void setFocus() override;
  // The widget's placeholder: shown greyed while the text is empty.
  void showStatus(const std::string& status) override;

 private:
  QPlainTextEdit& edit_;
};

// The write job's progress bar and the memo that makes room for it.
class WriteProgressWidgets : public WriteProgressDisplay {
 public:
  WriteProgressWidgets(QProgressBar& bar, QPlainTextEdit& memo) : bar_(bar), memo_(memo) {}
  void setProgressVisible(bool visible) override;
  void setProgress(int position) override;
  void changeMemoHeight(int deltaPixels) override;

 private:
  QProgressBar& bar_;
  QPlainTextEdit& memo_;
};

// Lets the queued events of every window through, once.
class QtEventPump : public EventPump {
 public:
  void processPendingEvents() override;
};

class ListViewSelection : public SubtitleListSelection {
 public:
  explicit ListViewSelection(QAbstractItemView& view) : view_(view) {}
  int selectedRow() const override;
  void selectRow(int row) override;

 private:
  QAbstractItemView& view_;
};

}  // namespace orlisk
