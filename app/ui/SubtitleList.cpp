#include "app/ui/SubtitleList.h"

#include <algorithm>

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>

#include "app/ui/SubtitleCheckMarks.h"

namespace orlisk {
namespace {

constexpr int kColumns = 3;
constexpr int kNumberColumn = 0;
constexpr int kTimeColumn = 1;
constexpr int kTextColumn = 2;
constexpr int kCellPadding = 12;
constexpr int kMarkSize = 8;  // the check mark beside a row's number, and its gap

// The list is narrow, and the subtitle's text needs the room: a range within
// the first hour is shown without its "00:" hours ("00:01,000 --> 00:02,500").
// Anything else, a time read as it stood in a file included, shows as it is.
QString ShownTimeRange(const std::string& time) {
  static const QRegularExpression firstHour(
      QStringLiteral("^00:(\\d\\d:\\d\\d,\\d\\d\\d) --> 00:(\\d\\d:\\d\\d,\\d\\d\\d)$"));
  const QString text = QString::fromStdString(time);
  const QRegularExpressionMatch match = firstHour.match(text);
  if (!match.hasMatch()) return text;
  return match.captured(1) + QStringLiteral(" --> ") + match.captured(2);
}

// A small amber dot: it reads on the dark list and leaves the number legible.
QPixmap CheckMark() {
  QPixmap mark(kMarkSize, kMarkSize);
  mark.fill(Qt::transparent);
  QPainter painter(&mark);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0xF0, 0xA0, 0x20));
  painter.drawEllipse(0, 0, kMarkSize, kMarkSize);
  return mark;
}

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
  if (!index.isValid() || index.row() >= document_.rowCount()) return {};
  const SubtitleRow& row = document_.row(index.row());
  if (role == Qt::DecorationRole) {
    if (index.column() != kNumberColumn || !marks_ || marks_->findings(index.row()) == 0) return {};
    static const QPixmap mark = CheckMark();
    return mark;
  }
  // The findings, then the whole text line under line, whatever the column shows of it.
  if (role == Qt::ToolTipRole) {
    QStringList tip = marks_ ? marks_->reasons(index.row()) : QStringList();
    if (!row.Subtitle.empty()) {
      if (!tip.isEmpty()) tip << QString();
      tip << QString::fromStdString(row.Subtitle).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    return tip.isEmpty() ? QVariant() : QVariant(tip.join(QLatin1Char('\n')));
  }
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case 0: return index.row() + 1;
    case 1: return ShownTimeRange(row.Time);
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

void SubtitleListModel::checksChanged(int first, int last) {
  emit dataChanged(index(first, 0), index(last, kColumns - 1), kCheckRoles);
}

void SubtitleListModel::rowChanged(int row) { rowsChanged(row, 1); }

void SubtitleListModel::rowsChanged(int first, int count) {
  emit dataChanged(index(first, 1), index(first + count - 1, kColumns - 1), {Qt::DisplayRole, Qt::ToolTipRole});
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
  horizontalHeader()->setMinimumSectionSize(16);
}

void SubtitleListView::setModel(QAbstractItemModel* model) {
  QTableView::setModel(model);
  SetColumnWidths();
}

void SubtitleListView::SetColumnWidths() {
  // The number and the time range just fit their texts in the font in use (a
  // cut-off time range is useless); the text column stretches over the rest.
  const QFontMetrics metrics = fontMetrics();
  setColumnWidth(kNumberColumn, metrics.horizontalAdvance(QStringLiteral("999")) + kCellPadding + kMarkSize + 4);
  setColumnWidth(kTimeColumn, metrics.horizontalAdvance(QStringLiteral("00:00,000 --> 00:00,000")) + kCellPadding);
  FitTextColumn();
}

void SubtitleListView::FitTextColumn() {
  // The text takes whatever the number and the time range leave of the
  // visible width, which changes with the list's size and its scroll bar.
  const int rest = viewport()->width() - columnWidth(kNumberColumn) - columnWidth(kTimeColumn);
  setColumnWidth(kTextColumn, std::max(horizontalHeader()->minimumSectionSize(), rest));
}

void SubtitleListView::updateGeometries() {
  QTableView::updateGeometries();
  if (model() && !fittingTextColumn_) {
    fittingTextColumn_ = true;
    FitTextColumn();
    fittingTextColumn_ = false;
  }
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

