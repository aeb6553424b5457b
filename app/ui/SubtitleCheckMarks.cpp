#include "app/ui/SubtitleCheckMarks.h"

#include <algorithm>

#include "app/language/Language.h"
#include "app/ui/SubtitleList.h"

namespace orlisk {
namespace {

// Long enough that a typed word is one check, short enough to feel live.
constexpr int kPauseMs = 250;

QString CheckText(const Language& language, const char* key, const char* english) {
  return QString::fromStdString(language.text("Checks", key, english));
}

QString Seconds(SubtitleTime ms) { return QString::number(ms / 1000.0, 'g', 3); }

}  // namespace

SubtitleCheckMarks::SubtitleCheckMarks(const SubtitleDocument& document, SubtitleListModel& list, CheckLimits limits,
                                       std::function<double()> frameRate, const Language& language, QObject* parent)
    : QObject(parent),
      document_(document),
      list_(list),
      limits_(limits),
      frameRate_(std::move(frameRate)),
      language_(language) {
  pause_.setSingleShot(true);
  pause_.setInterval(kPauseMs);
  connect(&pause_, &QTimer::timeout, this, &SubtitleCheckMarks::recheckNow);
  const auto later = [this] { pause_.start(); };
  connect(&list_, &QAbstractItemModel::modelReset, this, later);
  connect(&list_, &QAbstractItemModel::rowsInserted, this, later);
  connect(&list_, &QAbstractItemModel::rowsRemoved, this, later);
  connect(&list_, &QAbstractItemModel::dataChanged, this,
          [this, later](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
            // The marks' own repaint is no change of the list.
            if (roles != SubtitleListModel::kCheckRoles) later();
          });
}

void SubtitleCheckMarks::recheckNow() {
  pause_.stop();
  std::vector<RowCheck> checks = CheckSubtitles(document_, limits_, frameRate_());
  const int rows = std::min<int>(static_cast<int>(checks.size()), list_.rowCount());
  int first = rows;
  int last = -1;
  for (int row = 0; row < rows; ++row) {
    const auto at = static_cast<std::size_t>(row);
    if (at < checks_.size() && checks_[at] == checks[at]) continue;
    first = std::min(first, row);
    last = row;
  }
  checks_ = std::move(checks);
  if (last >= first) list_.checksChanged(first, last);
  emit rechecked();
}

std::uint16_t SubtitleCheckMarks::findings(int row) const {
  return row >= 0 && static_cast<std::size_t>(row) < checks_.size() ? checks_[static_cast<std::size_t>(row)].Findings
                                                                     : 0;
}

QStringList SubtitleCheckMarks::reasons(int row) const {
  const std::uint16_t found = findings(row);
  if (found == 0) return {};
  const RowCheck& check = checks_[static_cast<std::size_t>(row)];
  QStringList lines;
  if (found & kOverlap) lines << CheckText(language_, "Overlap", "Overlaps another subtitle");
  if (found & kNoEnd) lines << CheckText(language_, "NoEnd", "No end time, or the end is before the begin");
  if (found & kTooShort) {
    lines << CheckText(language_, "TooShort", "Shorter than %1 s").arg(Seconds(limits_.MinDuration));
  }
  if (found & kTooLong) lines << CheckText(language_, "TooLong", "Longer than %1 s").arg(Seconds(limits_.MaxDuration));
  if (found & kSmallGap) {
    lines << CheckText(language_, "SmallGap", "Less than %1 frames before the next subtitle").arg(limits_.MinGapFrames);
  }
  if (found & kTooFast) {
    lines << CheckText(language_, "TooFast", "Too fast to read: %1 characters a second (at most %2)")
                 .arg(QString::number(check.CharsPerSecond, 'f', 1))
                 .arg(limits_.MaxCharsPerSecond);
  }
  if (found & kLongLine) {
    lines << CheckText(language_, "LongLine", "A line of %1 characters (at most %2)")
                 .arg(check.MeasuredLine)
                 .arg(check.MeasuredLineIsCJK ? limits_.MaxLineLengthCJK : limits_.MaxLineLength);
  }
  if (found & kEmptyText) lines << CheckText(language_, "EmptyText", "No text");
  return lines;
}

std::vector<int> SubtitleCheckMarks::flaggedRows() const {
  std::vector<int> rows;
  for (std::size_t row = 0; row < checks_.size(); ++row) {
    if (checks_[row].Findings != 0) rows.push_back(static_cast<int>(row));
  }
  return rows;
}

}  // namespace orlisk
