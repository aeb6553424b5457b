#include "app/ui/AppLook.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>
#include <memory>

namespace orlisk {
namespace {

// What the palette alone leaves light or flat under Fusion.
constexpr const char* kDarkStyleSheet = R"(
QMenu {
  background: #1f232a; color: #e9ecf2; border: 1px solid #333946; padding: 4px 0;
}
QMenu::item { padding: 5px 24px 5px 20px; background: transparent; }
QMenu::item:selected { background: #3f83f8; color: #ffffff; }
QMenu::item:disabled { color: #5d6472; }
QMenu::separator { height: 1px; background: #333946; margin: 4px 8px; }
QToolTip { background: #242832; color: #e9ecf2; border: 1px solid #3f4654; padding: 3px 6px; }
)";

}  // namespace

QPalette DarkPalette() {
  using namespace look;
  QPalette palette;
  palette.setColor(QPalette::Window, kWindow);
  palette.setColor(QPalette::WindowText, kText);
  palette.setColor(QPalette::Base, kBase);
  palette.setColor(QPalette::AlternateBase, kAlternateBase);
  palette.setColor(QPalette::ToolTipBase, kButton);
  palette.setColor(QPalette::ToolTipText, kText);
  palette.setColor(QPalette::PlaceholderText, kMutedText);
  palette.setColor(QPalette::Text, kText);
  palette.setColor(QPalette::Button, kButton);
  palette.setColor(QPalette::ButtonText, kText);
  palette.setColor(QPalette::BrightText, Qt::white);
  palette.setColor(QPalette::Light, kBorder.lighter(130));
  palette.setColor(QPalette::Midlight, kBorder);
  palette.setColor(QPalette::Mid, kPanel);
  palette.setColor(QPalette::Dark, kBase);
  palette.setColor(QPalette::Shadow, Qt::black);
  palette.setColor(QPalette::Highlight, kAccent);
  palette.setColor(QPalette::HighlightedText, Qt::white);
  palette.setColor(QPalette::Link, kLink);
  palette.setColor(QPalette::LinkVisited, kLink.darker(120));
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    palette.setColor(QPalette::Disabled, role, kDisabledText);
  }
  palette.setColor(QPalette::Disabled, QPalette::Base, kWindow);
  palette.setColor(QPalette::Disabled, QPalette::Button, kPanel);
  palette.setColor(QPalette::Disabled, QPalette::Highlight, kBorder);
  return palette;
}

void ApplyDarkLook(QApplication& app) {
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
  QApplication::setPalette(DarkPalette());
  app.setStyleSheet(QString::fromLatin1(kDarkStyleSheet));
  // The desktop's own file and colour dialogs would keep their light look and
  // their own language.
  QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

QString QtTranslationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

QTranslator* InstallQtTranslations(QApplication& app, bool chinese) {
  if (!chinese) return nullptr;
  auto translator = std::make_unique<QTranslator>(&app);
  if (!translator->load(QStringLiteral("qtbase_zh_CN"), QtTranslationsFolder())) return nullptr;
  QApplication::installTranslator(translator.get());
  return translator.release();
}

}  // namespace orlisk
