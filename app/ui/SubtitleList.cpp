#include "app/ui/SubtitleList.h"

#include <algorithm>

#include <QEvent>
#include <QHeaderView>

namespace orlisk {
namespace {

constexpr int kColumns = 3;
constexpr int kColumnWidths[kColumns] = {30, 150, 78};
constexpr int kTimeColumn = 1;

}  // namespace

SubtitleListModel::SubtitleListModel(SubtitleDocument& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document), shownRows_(document.rowCount()) {
  document_.setListener(this);
}

SubtitleListModel::~SubtitleListModel() { document_.setListener(nullptr); }

void SubtitleListModel::setHeaders(const QStringList& headers) {
  headers_ = headers;
  emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
}

int SubtitleListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shownRows_; }

int SubtitleListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant SubtitleListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= document_.rowCount()) return {};
  const SubtitleRow& row = document_.row(index.row());
  switch (index.column()) {
    case 0: return index.row() + 1;
    case 1: return QString::fromStdString(row.Time);
    case 2: return QString::fromStdString(row.Subtitle).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    default: return {};
  }
}

QVariant SubtitleListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= headers_.size()) {
    return {};
  }
  return headers_[section];
}

void SubtitleListModel::rowsReset() {
  beginResetModel();
  shownRows_ = document_.rowCount();
  endResetModel();
}

void SubtitleListModel::rowsInserted(int first, int count) {
  if (count <= 0) return;
  beginInsertRows(QModelIndex(), first, first + count - 1);
  shownRows_ += count;
  endInsertRows();
  // Row numbers below the insertion moved on by `count`.
  if (first + count < shownRows_) emit dataChanged(index(first + count, 0), index(shownRows_ - 1, 0));
}

void SubtitleListModel::rowsRemoved(int first, int count) {
  if (count <= 0) return;
  beginRemoveRows(QModelIndex(), first, first + count - 1);
  shownRows_ -= count;
  endRemoveRows();
  if (first < shownRows_) emit dataChanged(index(first, 0), index(shownRows_ - 1, 0));
}

void SubtitleListModel::rowChanged(int row) {
  emit dataChanged(index(row, 1), index(row, kColumns - 1), {Qt::DisplayRole});
}

SubtitleListView::SubtitleListView(QWidget* parent) : QTableView(parent) {
  setShowGrid(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setWordWrap(false);
  verticalHeader()->hide();
  // A fixed row height keeps scrolling and inserting independent of the row count.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
}

void SubtitleListView::setModel(QAbstractItemModel* model) {
  QTableView::setModel(model);
  SetColumnWidths();
}

void SubtitleListView::SetColumnWidths() {
  for (int column = 0; column < kColumns; ++column) setColumnWidth(column, kColumnWidths[column]);
  // A cut-off time range is useless: widen "Time" to a whole range in the
  // font actually in use.
  const int wholeRange = fontMetrics().horizontalAdvance(QStringLiteral("00:00:00,000 --> 00:00:00,000")) + 12;
  setColumnWidth(kTimeColumn, std::max(kColumnWidths[kTimeColumn], wholeRange));
}

void SubtitleListView::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange && model()) SetColumnWidths();
}

void SubtitleListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
  const QModelIndex current = currentIndex();
  if (current.isValid() && current.row() >= start && current.row() <= end) selectionModel()->clear();
  QTableView::rowsAboutToBeRemoved(parent, start, end);
}

}  // namespace orlisk

