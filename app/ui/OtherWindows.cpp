#include "app/ui/OtherWindows.h"

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

Tfm_update::Tfm_update(QWidget* parent) : QDialog(parent) {
  SetUpDialog(*this, QStringLiteral("Veldrane Orlisk Update"), {420, 300});
}

}  // namespace orlisk
