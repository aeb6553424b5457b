#include "app/ui/OtherWindows.h"

#include <QCheckBox>
#include <QEnterEvent>
#include <QFrame>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <utility>

#include "app/core/OnlineCommands.h"
#include "app/ui/AppIcon.h"
#include "app/ui/AppLook.h"

namespace orlisk {
namespace {

constexpr char kProductName[] = "Veldrane Orlisk";

void SetUpDialog(QDialog& dialog, const QString& caption, QSize size) {
  dialog.setWindowTitle(caption);
  dialog.setModal(true);
  dialog.resize(size);
}

}  // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setCursor(Qt::PointingHandCursor);
  setColour(look::kLink);
}

void LinkLabel::setColour(const QColor& colour) {
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, colour);
  setPalette(palette);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  setColour(look::kLinkHover);
  QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
  setColour(look::kLink);
  QLabel::leaveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  // A press dragged off the link and let go elsewhere is no click.
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

Tfm_about::Tfm_about(QWidget* parent)
    : QDialog(parent),
      Image1(new QLabel(this)),
      Label1(new QLabel(QString::fromLatin1(kProductName), this)),
      lblVersion(new QLabel(QString::fromLatin1(ORLISK_VERSION), this)),
      Label4(new QLabel(QStringLiteral("\u00A9 Veldrane Orlisk. All rights reserved."), this)),
      lbl_web(new LinkLabel(QStringLiteral("Visit our web"), this)),
      Panel1(new QFrame(this)),
      btn_contact(new QPushButton(QStringLiteral("Contact us "), this)),
      btn_close(new QPushButton(QStringLiteral("Close"), this)) {
  SetUpDialog(*this, QStringLiteral("About"), {293, 208});
  setFixedSize(293, 208);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setObjectName(QStringLiteral("Tfm_about"));
  // The narrow sans serif of the desktop's dialogs, 13 pixels high.
  QFont dialogFont;
  dialogFont.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Sans Serif")});
  dialogFont.setPixelSize(13);
  setFont(dialogFont);

  Image1->setGeometry(24, 20, 36, 36);
  Image1->setPixmap(ApplicationIcon().pixmap(QSize(36, 36), devicePixelRatioF()));
  QFont bold = dialogFont;
  bold.setBold(true);
  Label1->setFont(bold);
  Label1->move(71, 29);
  Label1->adjustSize();
  // After the name, on its line.
  lblVersion->move(Label1->x() + Label1->width() + 6, 29);
  Label4->move(22, 92);
  QFont linkFont = dialogFont;
  linkFont.setPixelSize(11);
  lbl_web->setFont(linkFont);
  lbl_web->move(187, 125);
  Panel1->setGeometry(14, 150, 270, 2);
  Panel1->setFrameShape(QFrame::HLine);
  Panel1->setFrameShadow(QFrame::Sunken);
  btn_contact->setGeometry(41, 165, 75, 25);
  btn_close->setGeometry(180, 165, 75, 25);
  btn_close->setDefault(true);
  for (QLabel* label : {lblVersion, Label4, static_cast<QLabel*>(lbl_web)}) label->adjustSize();

  for (auto [widget, name] : {std::pair<QWidget*, const char*>{Image1, "Image1"}, {Label1, "Label1"},
                              {lblVersion, "lblVersion"}, {Label4, "Label4"}, {lbl_web, "lbl_web"}, {Panel1, "Panel1"},
                              {btn_contact, "btn_contact"}, {btn_close, "btn_close"}}) {
    widget->setObjectName(QString::fromLatin1(name));
  }
  connect(lbl_web, &LinkLabel::clicked, this, &Tfm_about::webSiteRequested);
  connect(btn_contact, &QPushButton::clicked, this, &Tfm_about::contactRequested);
  connect(btn_close, &QPushButton::clicked, this, &QDialog::accept);
}

void Tfm_about::showBeside(const QWidget& mainWindow) {
  move(mainWindow.frameGeometry().topLeft() + QPoint(160, 100));
  exec();
}

Tfm_update::Tfm_update(QWidget* parent, OnlineCommands& commands, Runner run)
    : QDialog(parent),
      commands_(commands),
      run_(std::move(run)),
      Memo1(new QPlainTextEdit(this)),
      lblVersions(new QLabel(this)),
      Button1(new QPushButton(QStringLiteral("Download Update"), this)),
      Button2(new QPushButton(QStringLiteral("Close"), this)),
      ck_update(new QCheckBox(QStringLiteral("Do not remind me"), this)) {
  // The client area of the designed 470 x 410 window: less a 4-pixel border
  // each side and the caption.
  SetUpDialog(*this, QStringLiteral("Veldrane Orlisk Update"), {462, 376});
  setFixedSize(462, 376);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setObjectName(QStringLiteral("Tfm_update"));
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Button1->setObjectName(QStringLiteral("Button1"));
  Button2->setObjectName(QStringLiteral("Button2"));
  ck_update->setObjectName(QStringLiteral("ck_update"));
  Memo1->setGeometry(-1, 0, 450, 305);
  // Between the text and the buttons; what the description names is shown
  // as it is, never as markup.
  lblVersions->setObjectName(QStringLiteral("lblVersions"));
  lblVersions->setTextFormat(Qt::PlainText);
  lblVersions->setGeometry(15, 307, 432, 19);
  Button1->setGeometry(15, 328, 129, 25);
  Button2->setGeometry(179, 328, 113, 25);
  // Wide enough for its caption in this system's font, which may be wider
  // than the one the window was designed with.
  ck_update->setGeometry(320, 331, std::max(113, ck_update->sizeHint().width()), 17);
  // The published text is news to read, not something to edit.
  Memo1->setReadOnly(true);
  Button1->setAutoDefault(false);
  Button2->setAutoDefault(false);

  connect(ck_update, &QCheckBox::clicked, this,
          [this](bool ticked) { run_([this, ticked] { commands_.ck_updateClick(ticked); }); });
  connect(Button1, &QPushButton::clicked, this, [this] {
    run_([this] { commands_.DownloadUpdate(); });
    close();
  });
  connect(Button2, &QPushButton::clicked, this, &QDialog::close);
}

void Tfm_update::ShowModal() {
  move(499, 162);
  exec();
}

void Tfm_update::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  run_([this] {
    const OnlineCommands::UpdateWindowText shown = commands_.UpdateWindowShow();
    Memo1->setPlainText(QString::fromStdString(shown.Content));
    lblVersions->setText(QString::fromStdString(shown.Versions));
    ck_update->setChecked(shown.DoNotRemind);
  });
}

void Tfm_update::done(int result) {
  run_([this] { commands_.UpdateWindowClose(); });
  QDialog::done(result);
}

}  // namespace orlisk
