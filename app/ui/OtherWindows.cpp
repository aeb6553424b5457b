#include "app/ui/OtherWindows.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "app/core/OnlineCommands.h"

namespace orlisk {
namespace {

void SetUpDialog(QDialog& dialog, const QString& caption, QSize size) {
  dialog.setWindowTitle(caption);
  dialog.setModal(true);
  dialog.resize(size);
}

}  // namespace

Tfm_about::Tfm_about(QWidget* parent) : QDialog(parent) {
  SetUpDialog(*this, QStringLiteral("About"), {293, 208});
  setFixedSize(293, 208);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
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
      Button1(new QPushButton(QStringLiteral("Download Update"), this)),
      Button2(new QPushButton(QStringLiteral("Close"), this)),
      ck_update(new QCheckBox(QStringLiteral("Do not remind me"), this)) {
  // The client area of the designed 470 x 410 window: less a 4-pixel border
  // each side and the caption.
  SetUpDialog(*this, QStringLiteral("Veldrane Orlisk Update"), {462, 376});
  setFixedSize(462, 376);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Button1->setObjectName(QStringLiteral("Button1"));
  Button2->setObjectName(QStringLiteral("Button2"));
  ck_update->setObjectName(QStringLiteral("ck_update"));
  Memo1->setGeometry(-1, 0, 450, 305);
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
    ck_update->setChecked(shown.DoNotRemind);
  });
}

void Tfm_update::done(int result) {
  run_([this] { commands_.UpdateWindowClose(); });
  QDialog::done(result);
}

}  // namespace orlisk
