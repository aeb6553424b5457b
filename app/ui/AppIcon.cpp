#include "app/ui/AppIcon.h"

namespace orlisk {

QIcon ApplicationIcon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/orlisk.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace orlisk
