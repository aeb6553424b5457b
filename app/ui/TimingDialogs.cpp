#include "app/ui/TimingDialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTime>
#include <QTimeEdit>
#include <algorithm>
#include <iterator>

namespace orlisk {
namespace {

// The rates a list is made for, in the order the lists offer them.
struct OfferedRate {
  const char* Text;
  FrameRate Rate;
};
constexpr OfferedRate kRates[] = {
    {"23.976", {24000, 1001}}, {"24", {24, 1}}, {"25", {25, 1}}, {"29.97", {30000, 1001}}, {"30", {30, 1}}};

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* Label(QWidget* dialog, const char* name, const char* english, QWidget* buddy) {
  auto* label = Named(new QLabel(QString::fromUtf8(english), dialog), name);
  label->setBuddy(buddy);
  return label;
}

QTimeEdit* TimeBox(QWidget* dialog, const char* name) {
  auto* box = Named(new QTimeEdit(dialog), name);
  box->setDisplayFormat(QStringLiteral("HH:mm:ss,zzz"));
  box->setCurrentSection(QDateTimeEdit::SecondSection);
  return box;
}

SubtitleTime Milliseconds(const QTimeEdit* box) { return box->time().msecsSinceStartOfDay(); }

QTime TimeOf(SubtitleTime ms) { return QTime::fromMSecsSinceStartOfDay(std::clamp(ms, 0, 86399999)); }

// "OK" and "Cancel" on the last row; OK closes the dialog only when `apply`
// took the choice.
void AddButtons(QDialog* dialog, QGridLayout* layout, int row, std::function<bool()> apply) {
  auto* ok = Named(new QPushButton(QStringLiteral("OK"), dialog), "btnOK");
  auto* cancel = Named(new QPushButton(QStringLiteral("Cancel"), dialog), "btnCancel");
  ok->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons, row, 0, 1, layout->columnCount());
  layout->setSizeConstraint(QLayout::SetFixedSize);
  QObject::connect(ok, &QPushButton::clicked, dialog, [apply = std::move(apply)] { apply(); });
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

// Runs the dialog's command through the window's runner; closes the dialog
// when it took the choice.
bool AcceptWhen(QDialog& dialog, const TimingDialogParts& parts, const std::function<bool()>& command) {
  bool taken = false;
  parts.Run([&] { taken = command(); });
  if (taken) dialog.accept();
  return taken;
}

int RowsWithEntries(const MainState& state) {
  return std::min(state.Document.rowCount(), static_cast<int>(state.Document.entries().size()));
}

}  // namespace

ShiftTimesDialog::ShiftTimesDialog(QWidget* parent, TimingDialogParts parts)
    : QDialog(parent),
      cmbDirection(Named(new QComboBox(this), "cmbDirection")),
      edAmount(TimeBox(this, "edAmount")),
      rbAll(Named(new QRadioButton(QStringLiteral("&Every subtitle"), this), "rbAll")),
      rbFromAtHand(Named(new QRadioButton(QStringLiteral("&From the subtitle at hand on"), this), "rbFromAtHand")),
      parts_(std::move(parts)) {
  setObjectName(QStringLiteral("ShiftTimesDialog"));
  setWindowTitle(QStringLiteral("Shift Times"));
  cmbDirection->addItems({QStringLiteral("later"), QStringLiteral("earlier")});
  rbAll->setChecked(true);
  auto* layout = new QGridLayout(this);
  layout->addWidget(Label(this, "lblAmount", "&Shift by:", edAmount), 0, 0);
  layout->addWidget(edAmount, 0, 1);
  layout->addWidget(cmbDirection, 0, 2);
  layout->addWidget(rbAll, 1, 0, 1, 3);
  layout->addWidget(rbFromAtHand, 2, 0, 1, 3);
  AddButtons(this, layout, 3, [this] { return Apply(); });
}

SubtitleTime ShiftTimesDialog::Amount() const {
  const SubtitleTime amount = Milliseconds(edAmount);
  return cmbDirection->currentIndex() == 1 ? -amount : amount;
}

void ShiftTimesDialog::ShowModal() {
  const bool atHand = parts_.Timing.TargetRow() >= 0;
  rbFromAtHand->setEnabled(atHand);
  if (!atHand) rbAll->setChecked(true);
  edAmount->setFocus();
  edAmount->setSelectedSection(QDateTimeEdit::SecondSection);  // shifts are seconds more often than hours
  exec();
}

bool ShiftTimesDialog::Apply() {
  const ShiftScope scope = rbFromAtHand->isChecked() ? ShiftScope::FromSubtitleAtHand : ShiftScope::EverySubtitle;
  return AcceptWhen(*this, parts_, [&] { return parts_.Timing.ShiftTimes(Amount(), scope); });
}

TwoPointSyncDialog::TwoPointSyncDialog(QWidget* parent, TimingDialogParts parts)
    : QDialog(parent),
      spFirst(Named(new QSpinBox(this), "spFirst")),
      spSecond(Named(new QSpinBox(this), "spSecond")),
      lblFirstNow(Named(new QLabel(this), "lblFirstNow")),
      lblSecondNow(Named(new QLabel(this), "lblSecondNow")),
      edFirstRight(TimeBox(this, "edFirstRight")),
      edSecondRight(TimeBox(this, "edSecondRight")),
      parts_(std::move(parts)) {
  setObjectName(QStringLiteral("TwoPointSyncDialog"));
  setWindowTitle(QStringLiteral("Two-Point Sync"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(Label(this, "lblFirst", "&First subtitle:", spFirst), 0, 0);
  layout->addWidget(spFirst, 0, 1);
  layout->addWidget(lblFirstNow, 0, 2);
  layout->addWidget(Label(this, "lblFirstRight", "should begin at:", edFirstRight), 1, 0);
  layout->addWidget(edFirstRight, 1, 1);
  layout->addWidget(Label(this, "lblSecond", "&Second subtitle:", spSecond), 2, 0);
  layout->addWidget(spSecond, 2, 1);
  layout->addWidget(lblSecondNow, 2, 2);
  layout->addWidget(Label(this, "lblSecondRight", "should begin at:", edSecondRight), 3, 0);
  layout->addWidget(edSecondRight, 3, 1);
  for (QLabel* now : {lblFirstNow, lblSecondNow}) {
    now->setMinimumWidth(260);
    now->setTextFormat(Qt::PlainText);
  }
  AddButtons(this, layout, 4, [this] { return Apply(); });
  connect(spFirst, &QSpinBox::valueChanged, this, [this] { ShowSubtitle(spFirst, lblFirstNow, edFirstRight); });
  connect(spSecond, &QSpinBox::valueChanged, this, [this] { ShowSubtitle(spSecond, lblSecondNow, edSecondRight); });
}

void TwoPointSyncDialog::ShowSubtitle(QSpinBox* number, QLabel* now, QTimeEdit* right) {
  const int row = number->value() - 1;
  if (row < 0 || row >= RowsWithEntries(parts_.State)) {
    now->clear();
    return;
  }
  const SubtitleEntry& entry = parts_.State.Document.entries()[static_cast<std::size_t>(row)];
  // One line of the text is enough to tell the subtitle.
  const QString text =
      QString::fromStdString(parts_.State.Document.row(row).Subtitle).section(QStringLiteral("\r\n"), 0, 0);
  now->setText(QString::fromStdString(FormatSubtitleTime(entry.BeginTime)) + QStringLiteral("  ") + text.left(40));
  right->setTime(TimeOf(entry.BeginTime));
}

void TwoPointSyncDialog::ShowModal() {
  const int rows = RowsWithEntries(parts_.State);
  for (QSpinBox* number : {spFirst, spSecond}) number->setRange(1, std::max(rows, 1));
  spFirst->setValue(1);
  spSecond->setValue(std::max(rows, 1));
  ShowSubtitle(spFirst, lblFirstNow, edFirstRight);
  ShowSubtitle(spSecond, lblSecondNow, edSecondRight);
  edFirstRight->setFocus();
  exec();
}

bool TwoPointSyncDialog::Apply() {
  const SyncPoint first{spFirst->value() - 1, Milliseconds(edFirstRight)};
  const SyncPoint second{spSecond->value() - 1, Milliseconds(edSecondRight)};
  return AcceptWhen(*this, parts_, [&] { return parts_.Timing.SyncTwoPoints(first, second); });
}

FrameRateDialog::FrameRateDialog(QWidget* parent, TimingDialogParts parts)
    : QDialog(parent),
      cmbFrom(Named(new QComboBox(this), "cmbFrom")),
      cmbTo(Named(new QComboBox(this), "cmbTo")),
      parts_(std::move(parts)) {
  setObjectName(QStringLiteral("FrameRateDialog"));
  setWindowTitle(QStringLiteral("Convert Frame Rate"));
  for (const OfferedRate& offered : kRates) {
    cmbFrom->addItem(QString::fromLatin1(offered.Text));
    cmbTo->addItem(QString::fromLatin1(offered.Text));
  }
  auto* layout = new QGridLayout(this);
  layout->addWidget(Label(this, "lblFrom", "The list was made for (frames per second):", cmbFrom), 0, 0);
  layout->addWidget(cmbFrom, 0, 1);
  layout->addWidget(Label(this, "lblTo", "The video has (frames per second):", cmbTo), 1, 0);
  layout->addWidget(cmbTo, 1, 1);
  AddButtons(this, layout, 2, [this] { return Apply(); });
}

void FrameRateDialog::ShowModal() {
  const FrameRate video = FrameRateOf(parts_.Reader.GetFrameRate());
  for (int i = 0; i < static_cast<int>(std::size(kRates)); ++i) {
    // 25000/1000 is 25/1: compare the fractions, not their terms.
    if (kRates[i].Rate.Num * video.Den == video.Num * kRates[i].Rate.Den) cmbTo->setCurrentIndex(i);
  }
  // The usual pair: a PAL list for a film, or a film list for PAL.
  if (cmbFrom->currentIndex() == cmbTo->currentIndex()) cmbFrom->setCurrentIndex(cmbTo->currentIndex() == 2 ? 0 : 2);
  cmbFrom->setFocus();
  exec();
}

bool FrameRateDialog::Apply() {
  const FrameRate from = kRates[cmbFrom->currentIndex()].Rate;
  const FrameRate to = kRates[cmbTo->currentIndex()].Rate;
  return AcceptWhen(*this, parts_, [&] { return parts_.Timing.ConvertFrameRate(from, to); });
}

}  // namespace orlisk
