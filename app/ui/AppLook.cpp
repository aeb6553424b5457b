#include "app/ui/AppLook.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTranslator>
#include <algorithm>
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

// Fusion draws the boxes of check boxes and radio buttons with an outline a
// shade darker than the window: on a dark window they vanish. These have a
// visible edge, and the accent colour when ticked.
class DarkStyle : public QProxyStyle {
 public:
  DarkStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

  // Qt's stock icons on dialog buttons (a green tick on OK, a red cross on
  // Cancel) are drawn for light desktops; the buttons read well without them.
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element != PE_IndicatorCheckBox && element != PE_IndicatorRadioButton) {
      QProxyStyle::drawPrimitive(element, option, painter, widget);
      return;
    }
    const bool enabled = option->state & State_Enabled;
    const bool on = option->state & (State_On | State_NoChange);
    const bool hover = enabled && (option->state & State_MouseOver);
    QColor edge = on ? look::kAccent : (hover ? look::kAccent : look::kBorder.lighter(150));
    QColor fill = on ? look::kAccent : look::kBase;
    if (!enabled) {
      edge = look::kBorder;
      fill = on ? look::kBorder : look::kWindow;
    }
    const QRectF box = QRectF(option->rect).adjusted(1.5, 1.5, -1.5, -1.5);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(edge, 1.2));
    painter->setBrush(fill);
    if (element == PE_IndicatorRadioButton) {
      painter->drawEllipse(box);
      if (on) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(enabled ? Qt::white : look::kDisabledText);
        const double dot = box.width() * 0.4;
        painter->drawEllipse(box.center(), dot / 2, dot / 2);
      }
    } else {
      painter->drawRoundedRect(box, 2.5, 2.5);
      QPen mark(enabled ? Qt::white : look::kDisabledText, std::max(1.5, box.width() / 7), Qt::SolidLine,
                Qt::RoundCap, Qt::RoundJoin);
      painter->setPen(mark);
      painter->setBrush(Qt::NoBrush);
      if (option->state & State_NoChange) {
        painter->drawLine(QPointF(box.left() + box.width() * 0.25, box.center().y()),
                          QPointF(box.right() - box.width() * 0.25, box.center().y()));
      } else if (on) {
        QPainterPath tick;
        tick.moveTo(box.left() + box.width() * 0.22, box.top() + box.height() * 0.52);
        tick.lineTo(box.left() + box.width() * 0.42, box.top() + box.height() * 0.72);
        tick.lineTo(box.left() + box.width() * 0.78, box.top() + box.height() * 0.30);
        painter->drawPath(tick);
      }
    }
    painter->restore();
  }
};

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
  QApplication::setStyle(new DarkStyle);
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
