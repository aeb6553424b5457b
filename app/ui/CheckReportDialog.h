#pragma once
// "Check subtitles": every row the subtitle checks found something in, with
// its time and the reasons; activating a line goes to that subtitle in the
// list. The window stays open beside the main one and follows the list as it
// is mended.
#include <functional>

#include <QDialog>

class QLabel;
class QTreeWidget;

namespace orlisk {

class Language;
class SubtitleCheckMarks;
class SubtitleDocument;

class CheckReportDialog : public QDialog {
  Q_OBJECT
 public:
  // `goToRow` picks that row in the list as a click on it would.
  CheckReportDialog(QWidget* parent, const SubtitleDocument& document, SubtitleCheckMarks& marks,
                    const Language& language, std::function<void(int row)> goToRow);

  // Checks the list now and shows the findings.
  void ShowReport();

  QTreeWidget* findingsList() const { return findings_; }
  QLabel* summary() const { return summary_; }

 private:
  void Fill();

  const SubtitleDocument& document_;
  SubtitleCheckMarks& marks_;
  const Language& language_;
  QLabel* summary_;
  QTreeWidget* findings_;
};

}  // namespace orlisk
