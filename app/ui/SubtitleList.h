#pragma once
// The subtitle list `lv`: a report view over the subtitle document. The model
// follows the document's change notices one row at a time, so a list of
// thousands of subtitles stays quick to edit.
#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>

#include "subtitles/SubtitleDocument.h"

namespace orlisk {

class SubtitleCheckMarks;

// Columns "No" (the 1-based row index), "Time" and "Subtitle" (line breaks
// shown as spaces). Listens to the document for as long as it lives.
class SubtitleListModel : public QAbstractTableModel, public SubtitleDocument::Listener {
  Q_OBJECT
 public:
  explicit SubtitleListModel(SubtitleDocument& document, QObject* parent = nullptr);
  ~SubtitleListModel() override;

  void setHeaders(const QStringList& headers);
  // Rows with check findings show a mark by their number and the reasons
  // above the text in their tooltip.
  void setCheckMarks(const SubtitleCheckMarks* marks) { marks_ = marks; }
  void checksChanged(int first, int last);
  // The roles a change of the marks repaints.
  static inline const QList<int> kCheckRoles{Qt::DecorationRole, Qt::ToolTipRole};

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void rowsReset() override;
  void rowsInserted(int first, int count) override;
  void rowsRemoved(int first, int count) override;
  void rowChanged(int row) override;
  void rowsChanged(int first, int count) override;

 private:
  SubtitleDocument& document_;
  // The rows the views know of. The document tells of a change after making
  // it, and the views must hear "rows about to go" while the rows still count.
  int shownRows_ = 0;
  const SubtitleCheckMarks* marks_ = nullptr;
  QStringList headers_{QStringLiteral("No"), QStringLiteral("Time"), QStringLiteral("Subtitle")};
};

// Read-only, grid lines, whole-row single selection, fixed row height.
class SubtitleListView : public QTableView {
  Q_OBJECT
 public:
  explicit SubtitleListView(QWidget* parent = nullptr);
  void setModel(QAbstractItemModel* model) override;

 protected:
  // A removed row takes its selection with it; Qt's views would otherwise
  // select a neighbour on their own, which the commands do themselves.
  void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
  void changeEvent(QEvent* event) override;
  void updateGeometries() override;

 private:
  void SetColumnWidths();
  void FitTextColumn();
  bool fittingTextColumn_ = false;  // setting a width updates the geometries again
};

}  // namespace orlisk
