#include "app/ui/ReactionDelayDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "settings/ReactionDelay.h"

namespace orlisk {

namespace {

constexpr SubtitleTime kExamplePress = 10000;

QString Text(const Language& language, const char* key, const char* englishDefault) {
  return QString::fromStdString(language.text("ReactionDelay", key, englishDefault));
}

// A translation that lost its place holders would show them raw: the English
// sentence is better than a broken one.
QString Filled(QString pattern, const QString& englishPattern, const QString& first, const QString& second) {
  if (!pattern.contains(QLatin1String("%1")) || !pattern.contains(QLatin1String("%2"))) pattern = englishPattern;
  return pattern.arg(first, second);
}

}  // namespace

QString ReactionDelayExplanation(const Language& language, int delayMs) {
  if (delayMs <= 0) {
    return Text(language, "Explain0", "F3 and F4 stamp the play time at the moment you press them.");
  }
  const char* english =
      "F3 and F4 stamp the play time %1 ms before the moment you press them: a key pressed at 00:00:10,000 "
      "stamps %2. No stamp is earlier than 00:00:00,000.";
  const QString stamped = QString::fromStdString(FormatSubtitleTime(CompensateReaction(kExamplePress, delayMs)));
  return Filled(Text(language, "Explain", english), QString::fromLatin1(english), QString::number(delayMs), stamped);
}

ReactionDelayDialog::ReactionDelayDialog(QWidget* parent, ProfileFile& settings, const Language& language)
    : QDialog(parent),
      settings_(settings),
      language_(language),
      label_(new QLabel(this)),
      delay_(new QSpinBox(this)),
      explanation_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
  setObjectName(QStringLiteral("ReactionDelayDialog"));
  delay_->setRange(0, kMaxReactionDelayMs);
  delay_->setSingleStep(10);
  delay_->setAccelerated(true);
  label_->setBuddy(delay_);
  explanation_->setWordWrap(true);
  explanation_->setMinimumWidth(360);
  explanation_->setMinimumHeight(explanation_->fontMetrics().lineSpacing() * 3);
  explanation_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* layout = new QGridLayout(this);
  layout->addWidget(label_, 0, 0);
  layout->addWidget(delay_, 0, 1);
  layout->setColumnStretch(2, 1);
  layout->addWidget(explanation_, 1, 0, 1, 3);
  layout->addWidget(buttons_, 2, 0, 1, 3);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(delay_, &QSpinBox::valueChanged, this,
          [this](int value) { explanation_->setText(ReactionDelayExplanation(language_, value)); });
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void ReactionDelayDialog::ApplyCaptions() {
  setWindowTitle(Text(language_, "Title", "Reaction Delay"));
  label_->setText(Text(language_, "Label", "&Reaction delay:"));
  // Profile values lose their outer blanks: the space before the unit is ours.
  delay_->setSuffix(QLatin1Char(' ') + Text(language_, "Unit", "ms"));
  buttons_->button(QDialogButtonBox::Ok)->setText(Text(language_, "OK", "OK"));
  buttons_->button(QDialogButtonBox::Cancel)->setText(Text(language_, "Cancel", "Cancel"));
}

void ReactionDelayDialog::ShowModal() {
  ApplyCaptions();
  delay_->setValue(ReadReactionDelay(settings_));
  explanation_->setText(ReactionDelayExplanation(language_, delay_->value()));
  delay_->setFocus();
  delay_->selectAll();
  if (exec() == QDialog::Accepted) WriteReactionDelay(settings_, delay_->value());
}

}  // namespace orlisk
