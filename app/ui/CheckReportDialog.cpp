#include "app/ui/CheckReportDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/language/Language.h"
#include "app/ui/SubtitleCheckMarks.h"
#include "subtitles/SubtitleDocument.h"

namespace orlisk {
namespace {

QString CheckText(const Language& language, const char* key, const char* english) {
  return QString::fromStdString(language.text("Checks", key, english));
}

}  // namespace

CheckReportDialog::CheckReportDialog(QWidget* parent, const SubtitleDocument& document, SubtitleCheckMarks& marks,
                                     const Language& language, std::function<void(int row)> goToRow)
    : QDialog(parent),
      document_(document),
      marks_(marks),
      language_(language),
      summary_(new QLabel(this)),
      findings_(new QTreeWidget(this)) {
  setObjectName(QStringLiteral("CheckReport"));
  resize(720, 360);
  findings_->setColumnCount(3);
  findings_->setRootIsDecorated(false);
  findings_->setUniformRowHeights(true);
  findings_->header()->setStretchLastSection(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(findings_);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
  connect(findings_, &QTreeWidget::itemActivated, this,
          [goToRow = std::move(goToRow)](QTreeWidgetItem* item) { goToRow(item->data(0, Qt::UserRole).toInt()); });
  connect(&marks_, &SubtitleCheckMarks::rechecked, this, [this] {
    if (isVisible()) Fill();
  });
}

void CheckReportDialog::ShowReport() {
  setWindowTitle(CheckText(language_, "Caption", "Check subtitles"));
  findings_->setHeaderLabels({CheckText(language_, "Number", "No"), CheckText(language_, "Time", "Time"),
                              CheckText(language_, "Problem", "Problem")});
  marks_.recheckNow();
  Fill();
  show();
  raise();
  activateWindow();
}

void CheckReportDialog::Fill() {
  // Keep the user's place while the list is mended under the report.
  const int current = findings_->currentItem() ? findings_->currentItem()->data(0, Qt::UserRole).toInt() : -1;
  findings_->clear();
  const std::vector<int> rows = marks_.flaggedRows();
  for (const int row : rows) {
    const QString time = row < document_.rowCount() ? QString::fromStdString(document_.row(row).Time) : QString();
    const QStringList reasons = marks_.reasons(row);
    auto* item = new QTreeWidgetItem(findings_, {QString::number(row + 1), time, reasons.join(QStringLiteral("; "))});
    item->setToolTip(2, reasons.join(QLatin1Char('\n')));
    item->setData(0, Qt::UserRole, row);
    if (row == current) findings_->setCurrentItem(item);
  }
  findings_->resizeColumnToContents(0);
  findings_->resizeColumnToContents(1);
  if (rows.empty()) {
    summary_->setText(CheckText(language_, "NoProblems", "No problems found in the subtitles."));
  } else if (rows.size() == 1) {
    summary_->setText(CheckText(language_, "SummaryOne", "1 subtitle needs a look. Double-click it to go to it."));
  } else {
    summary_->setText(
        CheckText(language_, "Summary", "%1 subtitles need a look. Double-click one to go to it.").arg(rows.size()));
  }
}

}  // namespace orlisk
