#include "app/ui/SubtitleStyleDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/SubtitleFontDialog.h"

namespace orlisk {

void StoreOutline(MainState& state, ProfileFile& settings, Colour borderColor, bool borderEnabled) {
  state.Style.BorderColor = borderColor;
  settings.writeInteger("Color", "borderColor", static_cast<std::int32_t>(borderColor));
  settings.writeBool("Color", "Bborder", borderEnabled);
  state.Style.BorderEnabled = borderEnabled;
}

Tfm_setfont::Tfm_setfont(QWidget* parent, SubtitleStyleParts parts)
    : QDialog(parent),
      Button1(new QPushButton(QStringLiteral("Set Font"), this)),
      Button2(new QPushButton(QStringLiteral("Border Color"), this)),
      cb_Bborder(new QCheckBox(QStringLiteral("Subtitle Border"), this)),
      Button3(new QPushButton(QStringLiteral("OK"), this)),
      Button4(new QPushButton(QStringLiteral("Cancel"), this)),
      ColorDialog1(new QColorDialog(this)),
      parts_(std::move(parts)) {
  setWindowTitle(QStringLiteral("Subtitle Settings"));
  setObjectName(QStringLiteral("Tfm_setfont"));
  setModal(true);
  setFixedSize(489, 234);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  const std::pair<QWidget*, const char*> names[] = {{Button1, "Button1"}, {Button2, "Button2"},
                                                    {cb_Bborder, "cb_Bborder"}, {Button3, "Button3"},
                                                    {Button4, "Button4"}, {ColorDialog1, "ColorDialog1"}};
  for (const auto& [widget, name] : names) widget->setObjectName(QString::fromLatin1(name));
  ColorDialog1->setCurrentColor(Qt::black);

  Button3->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, [this] { parts_.ChooseSubtitleFont(); });
  connect(Button2, &QPushButton::clicked, this, [this] { parts_.Run([this] { Button2Click(); }); });
  connect(Button3, &QPushButton::clicked, this, [this] { parts_.Run([this] { Button3Click(); }); });
  connect(Button4, &QPushButton::clicked, this, &QDialog::reject);

  auto* group = new QGroupBox(QStringLiteral("Subtitle Settings"), this);
  group->setObjectName(QStringLiteral("grpSubtitle"));
  auto* groupLayout = new QHBoxLayout(group);
  groupLayout->addWidget(Button1);
  groupLayout->addWidget(Button2);
  groupLayout->addSpacing(12);
  groupLayout->addWidget(cb_Bborder);
  groupLayout->addStretch();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button3);
  buttons->addWidget(Button4);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group, 1);
  layout->addLayout(buttons);
  // Keyboard order: the group's controls, then "OK" and "Cancel".
  setTabOrder(Button1, Button2);
  setTabOrder(Button2, cb_Bborder);
  setTabOrder(cb_Bborder, Button3);
  setTabOrder(Button3, Button4);
}

void Tfm_setfont::ShowModal() {
  FormShow();
  exec();
}

void Tfm_setfont::FormShow() {
  cb_Bborder->setChecked(parts_.Settings.readBool("Color", "Bborder", true));
  BorderColorChosen = false;
}

void Tfm_setfont::Button2Click() {
  // The colour dialog opens with the colour last confirmed in it, not with
  // the outline colour in use.
  ColorDialog1->setCurrentColor(ToQColor(confirmedColour_));
  if (ColorDialog1->exec() != QDialog::Accepted) return;
  confirmedColour_ = FromQColor(ColorDialog1->selectedColor());
  BorderColorChosen = true;
}

void Tfm_setfont::Button3Click() {
  const Colour border = BorderColorChosen ? confirmedColour_ : parts_.State.Style.BorderColor;
  StoreOutline(parts_.State, parts_.Settings, border, cb_Bborder->isChecked());
  accept();
}

}  // namespace orlisk
