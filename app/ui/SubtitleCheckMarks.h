#pragma once
// Keeps the subtitle checks of the list up to date: a short while after the
// list last changed, every row is checked again (a few milliseconds for
// thousands of rows), so typing never waits for them. The list shows a mark
// on each row with findings and their reasons in the row's tooltip.
#include <functional>
#include <vector>

#include <QObject>
#include <QStringList>
#include <QTimer>

#include "subtitles/SubtitleChecks.h"

namespace orlisk {

class Language;
class SubtitleListModel;

class SubtitleCheckMarks : public QObject {
  Q_OBJECT
 public:
  // `frameRate` gives the open video's frame rate, or 0 without one.
  SubtitleCheckMarks(const SubtitleDocument& document, SubtitleListModel& list, CheckLimits limits,
                     std::function<double()> frameRate, const Language& language, QObject* parent = nullptr);

  // Checks at once instead of after the pause.
  void recheckNow();
  std::uint16_t findings(int row) const;
  // One line a finding, in the interface's language.
  QStringList reasons(int row) const;
  // The rows with findings, in list order.
  std::vector<int> flaggedRows() const;

 signals:
  void rechecked();

 private:
  const SubtitleDocument& document_;
  SubtitleListModel& list_;
  CheckLimits limits_;
  std::function<double()> frameRate_;
  const Language& language_;
  std::vector<RowCheck> checks_;
  QTimer pause_;
};

}  // namespace orlisk
