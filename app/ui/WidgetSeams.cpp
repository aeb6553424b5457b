#include "app/ui/WidgetSeams.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QProgressBar>

#include "app/skin/SkinSurface.h"

namespace orlisk {

void SkinSurfaceObjects::lookUp(SkinSurface& surface, const QString& skinFile) {
  auto find = [&](const char* name) {
    SkinObject* object = surface.FindObject(QString::fromLatin1(name));
    if (!object) {
      throw SkinError("The skin file " + skinFile.toStdString() + " has no object \"" + name +
                      "\"; the editor cannot start with it.");
    }
    return object;
  };
  playbar_ = find("playbar");
  playtime_ = find("playtime");
  videotime_ = find("videotime");
  shpb_ = find("shpb");
}

SkinObject& SkinSurfaceObjects::need(SkinObject* object) const {
  if (!object) throw std::logic_error("the skin objects are used before the skin was loaded");
  return *object;
}

int SkinSurfaceObjects::playbarPosition() const { return need(playbar_).GetScrollPosition(); }

void SkinSurfaceObjects::setPlaybarPosition(int position) {
  need(playbar_).SetScrollPosition(position);
  playbar_->Refresh();
}

std::string SkinSurfaceObjects::playtimeText() const { return need(playtime_).text().toStdString(); }

void SkinSurfaceObjects::setPlaytimeText(const std::string& text) {
  need(playtime_).SetText(QString::fromStdString(text));
  playtime_->Refresh();
}

void SkinSurfaceObjects::setVideotimeText(const std::string& text) {
  need(videotime_).SetText(QString::fromStdString(text));
  videotime_->Refresh();
}

void SkinSurfaceObjects::setProgressPanelVisible(bool visible) {
  need(shpb_).SetVisible(visible);
  shpb_->Refresh();
}

std::string PlainTextMemo::text() const {
  return edit_.toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString();
}

void PlainTextMemo::setText(const std::string& text) {
  edit_.setPlainText(QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

bool PlainTextMemo::isEnabled() const { return edit_.isEnabled(); }
void PlainTextMemo::setEnabled(bool enabled) { edit_.setEnabled(enabled); }
void PlainTextMemo::setFocus() { edit_.setFocus(Qt::OtherFocusReason); }
void PlainTextMemo::showStatus(const std::string& status) {
  edit_.setPlaceholderText(QString::fromStdString(status));
}

int ListViewSelection::selectedRow() const {
  const QItemSelectionModel* selection = view_.selectionModel();
  if (!selection) return -1;
  const QModelIndexList rows = selection->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void ListViewSelection::selectRow(int row) {
  QItemSelectionModel* selection = view_.selectionModel();
  if (!selection) return;
  if (row < 0 || !view_.model() || row >= view_.model()->rowCount()) {
    selection->clearSelection();
    return;
  }
  const QModelIndex index = view_.model()->index(row, 0);
  selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  view_.scrollTo(index);
}

void WriteProgressWidgets::setProgressVisible(bool visible) { bar_.setVisible(visible); }

void WriteProgressWidgets::setProgress(int position) { bar_.setValue(position); }

void WriteProgressWidgets::changeMemoHeight(int deltaPixels) {
  memo_.resize(memo_.width(), memo_.height() + deltaPixels);
}

void QtEventPump::processPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

}  // namespace orlisk
