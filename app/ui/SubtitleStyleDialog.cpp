#include "app/ui/SubtitleStyleDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ui/StyleSample.h"
#include "app/ui/SubtitleFontDialog.h"
#include "settings/SubtitleBackdrop.h"

namespace orlisk {
namespace {

constexpr QSize kSampleSize(449, 96);

QIcon Swatch(Colour colour) {
  QPixmap swatch(14, 14);
  swatch.fill(ToQColor(colour));
  return QIcon(swatch);
}

// "Arial, Bold, 16 pt": the face the user chose, its style in Qt's words
// (translated with Qt), and the size.
QString FontDescription(const SubtitleFont& font) {
  return QStringLiteral("%1, %2, %3 pt")
      .arg(QString::fromStdString(font.Face), QFontDatabase::styleString(ToQFont(font)))
      .arg(font.PointSize);
}

}  // namespace

Tfm_setfont::Tfm_setfont(QWidget* parent, SubtitleStyleParts parts)
    : QDialog(parent),
      Button1(new QPushButton(QStringLiteral("Set Font"), this)),
      Button2(new QPushButton(QStringLiteral("Border Color"), this)),
      cb_Bborder(new QCheckBox(QStringLiteral("Subtitle Border"), this)),
      Button3(new QPushButton(QStringLiteral("OK"), this)),
      Button4(new QPushButton(QStringLiteral("Cancel"), this)),
      ColorDialog1(new QColorDialog(this)),
      lblFontName(new QLabel(this)),
      cmbBackdrop(new QComboBox(this)),
      spnOpacity(new QSpinBox(this)),
      lblSample(new QLabel(this)),
      rbApplyAtHand(new QRadioButton(QStringLiteral("The subtitle at hand only"), this)),
      rbApplyAll(new QRadioButton(QStringLiteral("Every subtitle"), this)),
      parts_(std::move(parts)) {
  setWindowTitle(QStringLiteral("Subtitle Settings"));
  setObjectName(QStringLiteral("Tfm_setfont"));
  setModal(true);
  setFixedSize(489, 430);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  auto* oneForAll = new QLabel(QStringLiteral("The font and what stands behind the text are one for all subtitles; "
                                              "subtitle files keep each subtitle's colours and outline."),
                               this);
  auto* backdropLabel = new QLabel(QStringLiteral("Behind the text:"), this);
  auto* opacityLabel = new QLabel(QStringLiteral("Opacity:"), this);
  const std::pair<QWidget*, const char*> names[] = {
      {Button1, "Button1"},         {Button2, "Button2"},         {cb_Bborder, "cb_Bborder"},
      {Button3, "Button3"},         {Button4, "Button4"},         {ColorDialog1, "ColorDialog1"},
      {lblFontName, "lblFontName"}, {cmbBackdrop, "cmbBackdrop"}, {spnOpacity, "spnOpacity"},
      {lblSample, "lblSample"},     {oneForAll, "lblOneForAll"},  {backdropLabel, "lblBackdrop"},
      {opacityLabel, "lblOpacity"}, {rbApplyAtHand, "rbApplyAtHand"}, {rbApplyAll, "rbApplyAll"}};
  for (const auto& [widget, name] : names) widget->setObjectName(QString::fromLatin1(name));
  ColorDialog1->setCurrentColor(Qt::black);
  oneForAll->setWordWrap(true);
  // Items in the order of SubtitleBackdrop::Kind.
  cmbBackdrop->addItems({QStringLiteral("Nothing"), QStringLiteral("Shadow"), QStringLiteral("Box")});
  spnOpacity->setRange(kMinBackdropOpacity, 100);
  spnOpacity->setSingleStep(10);
  spnOpacity->setSuffix(QStringLiteral(" %"));
  lblSample->setFixedSize(kSampleSize);
  lblSample->setFrameShape(QFrame::StyledPanel);
  rbApplyAtHand->setChecked(true);

  Button3->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { parts_.Run([this] { Button2Click(); }); });
  connect(Button3, &QPushButton::clicked, this, [this] { parts_.Run([this] { Button3Click(); }); });
  connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
  connect(cb_Bborder, &QCheckBox::toggled, this, [this] { ShowStyle(); });
  connect(cmbBackdrop, &QComboBox::currentIndexChanged, this, [this] { ShowStyle(); });
  connect(spnOpacity, &QSpinBox::valueChanged, this, [this] { ShowStyle(); });

  auto* group = new QGroupBox(QStringLiteral("Subtitle Settings"), this);
  group->setObjectName(QStringLiteral("grpSubtitle"));
  auto* grid = new QGridLayout(group);
  grid->addWidget(Button1, 0, 0);
  grid->addWidget(lblFontName, 0, 1, 1, 3);
  grid->addWidget(oneForAll, 1, 0, 1, 4);
  grid->addWidget(Button2, 2, 0);
  grid->addWidget(cb_Bborder, 2, 1, 1, 3);
  grid->addWidget(backdropLabel, 3, 0);
  grid->addWidget(cmbBackdrop, 3, 1);
  grid->addWidget(opacityLabel, 3, 2, Qt::AlignRight);
  grid->addWidget(spnOpacity, 3, 3);
  grid->addWidget(lblSample, 4, 0, 1, 4, Qt::AlignHCenter);
  grid->setColumnStretch(1, 1);

  auto* apply = new QGroupBox(QStringLiteral("Apply the colours and outline to"), this);
  apply->setObjectName(QStringLiteral("grpApply"));
  auto* applyLayout = new QHBoxLayout(apply);
  applyLayout->addWidget(rbApplyAtHand);
  applyLayout->addWidget(rbApplyAll);
  applyLayout->addStretch();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button3);
  buttons->addWidget(Button4);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group, 1);
  layout->addWidget(apply);
  layout->addLayout(buttons);
  // Keyboard order: the group's controls, the choice of subtitles, then "OK" and "Cancel".
  QWidget* order[] = {Button1,       Button2,    cb_Bborder, cmbBackdrop, spnOpacity,
                      rbApplyAtHand, rbApplyAll, Button3,    Button4};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void Tfm_setfont::ShowModal() {
  FormShow();
  exec();
}

void Tfm_setfont::FormShow() {
  BorderColorChosen = false;
  const QSignalBlocker quietBorder(cb_Bborder), quietShape(cmbBackdrop), quietOpacity(spnOpacity);
  cb_Bborder->setChecked(parts_.Settings.readBool("Color", "Bborder", true));
  const SubtitleBackdrop& backdrop = parts_.State.Style.Backdrop;
  cmbBackdrop->setCurrentIndex(static_cast<int>(backdrop.Shape));
  spnOpacity->setValue(backdrop.Opacity);
  rbApplyAtHand->setChecked(true);
  ShowStyle();
}

SubtitleStyle Tfm_setfont::ShownStyle() const {
  SubtitleStyle shown = parts_.State.Style;
  if (BorderColorChosen) shown.BorderColor = confirmedColour_;
  shown.BorderEnabled = cb_Bborder->isChecked();
  shown.Backdrop = {.Shape = static_cast<SubtitleBackdrop::Kind>(cmbBackdrop->currentIndex()),
                    .Opacity = spnOpacity->value()};
  return shown;
}

void Tfm_setfont::ShowStyle() {
  const SubtitleStyle shown = ShownStyle();
  lblFontName->setText(FontDescription(shown.Font));
  Button1->setIcon(Swatch(shown.TextColor));
  Button2->setIcon(Swatch(shown.BorderColor));
  spnOpacity->setEnabled(shown.Backdrop.Shape != SubtitleBackdrop::Kind::None);
  lblSample->setPixmap(QPixmap::fromImage(DrawStyleSample(parts_.Transform, shown, kSampleSize)));
}

void Tfm_setfont::Button1Click() {
  parts_.ChooseSubtitleFont();
  ShowStyle();
}

void Tfm_setfont::Button2Click() {
  // The colour dialog opens with the colour last confirmed in it, not with
  // the outline colour in use.
  ColorDialog1->setCurrentColor(ToQColor(confirmedColour_));
  if (ColorDialog1->exec() != QDialog::Accepted) return;
  confirmedColour_ = FromQColor(ColorDialog1->selectedColor());
  BorderColorChosen = true;
  ShowStyle();
}

void Tfm_setfont::Button3Click() {
  const SubtitleStyle shown = ShownStyle();
  const StyleChoice choice{.BorderColor = shown.BorderColor,
                           .BorderEnabled = shown.BorderEnabled,
                           .Backdrop = shown.Backdrop,
                           .Scope = rbApplyAll->isChecked() ? StyleScope::EverySubtitle : StyleScope::SubtitleAtHand};
  if (parts_.ApplyStyle(choice)) accept();
}

}  // namespace orlisk
