// The two skins shipped with the program offer every object the main window
// uses, leave the window's own controls uncovered, and load without error.
#include <gtest/gtest.h>

#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QStringList>
#include <string>
#include <vector>

#include "app/skin/SkinFile.h"
#include "app/skin/SkinSurface.h"
#include "app/skin/tests/TestApplication.h"

namespace orlisk {
namespace {

struct ShippedSkin {
  const char* label;
  const char* fileName;
  int helpMenuX;  // where the window pops the help menu up
  bool chinese;
};

// Controls the window lays over the face (left, top, width, height).
const QRect kControls[] = {{20, 154, 566, 378}, {606, 146, 264, 366}, {12, 568, 858, 63},
                           {393, 649, 112, 24}, {650, 649, 112, 24}, {16, 623, 850, 13},
                           {176, 714, 121, 17}};

QString SkinPath(const char* fileName) { return QStringLiteral(ORLISK_DATA_DIR "/") + fileName; }

SkinDocument ReadShipped(const char* fileName) {
  QFile file(SkinPath(fileName));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << fileName;
  return ParseSkin(QString::fromUtf8(file.readAll()), fileName);
}

class ShippedSkinTest : public testing::TestWithParam<ShippedSkin> {};

TEST_P(ShippedSkinTest, OffersEveryObjectTheWindowUses) {
  SkinDocument document = ReadShipped(GetParam().fileName);
  const QStringList names = QString(
      "openvideo opensubtitle savesubtitle start stop play pause playstop stopplay insertsubtitle "
      "setbegintime setendtime remove clear file edit settings tools help help1 help2 help3 help4 "
      "fastback fastforward lvinsert lvedit").split(' ');
  for (const QString& name : names) {
    const SkinObjectData* object = document.find(name);
    ASSERT_NE(object, nullptr) << name.toStdString();
    EXPECT_TRUE(object->kind == SkinKind::Button || object->kind == SkinKind::Label) << name.toStdString();
  }
  EXPECT_EQ(document.form().name, "skin");
  EXPECT_EQ(document.form().rect, QRect(0, 0, 988, 765));
  ASSERT_NE(document.find("playbar"), nullptr);
  EXPECT_EQ(document.find("playbar")->kind, SkinKind::Scrollbar);
  ASSERT_NE(document.find("playtime"), nullptr);
  EXPECT_EQ(document.find("playtime")->kind, SkinKind::Text);
  EXPECT_EQ(document.find("playtime")->text, "00:00:00,000");
  ASSERT_NE(document.find("videotime"), nullptr);
  EXPECT_EQ(document.find("videotime")->kind, SkinKind::Text);
  EXPECT_EQ(document.find("videotime")->text, "/ 00:00:00,000");
  const SkinObjectData* progress = document.find("shpb");
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(progress->kind, SkinKind::Panel);
  EXPECT_FALSE(progress->visible);
  EXPECT_TRUE(progress->rect.contains(QRect(16, 623, 850, 13))) << "shpb frames the write progress bar";
}

TEST_P(ShippedSkinTest, MenusOpenUnderTheirButtons) {
  SkinDocument document = ReadShipped(GetParam().fileName);
  const QRect file = document.find("file")->rect;
  const QRect help = document.find("help")->rect;
  EXPECT_TRUE(file.left() <= 27 && 27 <= file.right() && file.bottom() < 64) << "file";
  EXPECT_TRUE(help.left() <= GetParam().helpMenuX && GetParam().helpMenuX <= help.right() && help.bottom() < 64)
      << "help";
}

TEST_P(ShippedSkinTest, LeavesTheControlsUncovered) {
  SkinDocument document = ReadShipped(GetParam().fileName);
  for (const SkinObjectData& object : document.objects) {
    EXPECT_TRUE(document.form().rect.contains(object.rect)) << object.name.toStdString();
    if (object.kind == SkinKind::Form || object.kind == SkinKind::Panel || object.kind == SkinKind::Image)
      continue;
    for (const QRect& control : kControls)
      EXPECT_FALSE(object.rect.intersects(control)) << object.name.toStdString() << " covers a control";
  }
}

// The panels (with the list and the memo the window places) sit on one grid:
// the same margin to the window's edges and under the header, the same gap
// between neighbours, and none touches another.
TEST_P(ShippedSkinTest, LaysItsPanelsOnOneGrid) {
  constexpr int kGrid = 12;
  SkinDocument document = ReadShipped(GetParam().fileName);
  const QRect form = document.form().rect;
  const auto rect = [&](const char* name) {
    const SkinObjectData* object = document.find(name);
    EXPECT_NE(object, nullptr) << name;
    return object ? object->rect : QRect();
  };
  const QRect toolbar = rect("openvideo").united(rect("savesubtitle"));
  const QRect list = kControls[1].united(rect("clear"));
  const QRect memo = kControls[2];
  const std::vector<std::pair<std::string, QRect>> panels = {
      {"toolbar", toolbar}, {"screen", rect("screen")},     {"list", list},
      {"memo", memo},       {"timing", rect("timingcard")}, {"transport", rect("transportcard")},
      {"sidebar", rect("sidebar")}};

  EXPECT_EQ(rect("header").bottom() + 1 + kGrid, toolbar.top());
  EXPECT_EQ(rect("header").bottom() + 1 + kGrid, rect("sidebar").top());
  for (const auto& [name, place] : panels) {
    EXPECT_GE(place.left(), kGrid) << name;
    EXPECT_LE(place.right(), form.right() - kGrid) << name;
    EXPECT_LE(place.bottom(), form.bottom() - kGrid) << name;
  }
  // The main column, top to bottom, and the sidebar beside it.
  QRect above = toolbar;
  for (const auto& [name, place] : {std::pair{"screen", rect("screen")}, {"memo", memo}, {"timing", rect("timingcard")},
                                    {"transport", rect("transportcard")}}) {
    EXPECT_EQ(place.left(), kGrid) << name;
    EXPECT_EQ(place.top(), above.bottom() + 1 + kGrid) << name;
    if (std::string(name) != "screen") EXPECT_EQ(place.right(), list.right()) << name;
    above = place;
  }
  EXPECT_EQ(above.bottom(), form.bottom() - kGrid);
  EXPECT_EQ(rect("sidebar").bottom(), form.bottom() - kGrid);
  EXPECT_EQ(rect("sidebar").right(), form.right() - kGrid);
  EXPECT_EQ(rect("screen").right() + 1 + kGrid, list.left());
  EXPECT_EQ(list.right() + 1 + kGrid, rect("sidebar").left());
  EXPECT_EQ(list.top(), rect("screen").top());
  EXPECT_EQ(list.bottom(), rect("screen").bottom());
  for (std::size_t a = 0; a < panels.size(); ++a)
    for (std::size_t b = a + 1; b < panels.size(); ++b)
      EXPECT_FALSE(panels[a].second.adjusted(-kGrid + 1, -kGrid + 1, kGrid - 1, kGrid - 1).intersects(panels[b].second))
          << panels[a].first << " and " << panels[b].first << " are closer than the grid's gap";
}

// Buttons without a caption say what they do in a tool tip, in the skin's
// language, with the function key that does the same.
TEST_P(ShippedSkinTest, IconOnlyButtonsNameTheirCommandAndKey) {
  SkinDocument document = ReadShipped(GetParam().fileName);
  int iconOnly = 0;
  for (const SkinObjectData& object : document.objects) {
    if (object.kind != SkinKind::Button || !object.text.isEmpty()) continue;
    ++iconOnly;
    EXPECT_FALSE(object.hint.isEmpty()) << object.name.toStdString();
    if (GetParam().chinese) {
      EXPECT_TRUE(object.hint.contains(QRegularExpression(QStringLiteral("\\p{Han}")))) << object.name.toStdString();
    }
  }
  EXPECT_GE(iconOnly, 5);
  const std::pair<const char*, const char*> keys[] = {
      {"play", "F2"}, {"insertsubtitle", "F3"}, {"setendtime", "F4"}, {"pause", "F5"},
      {"stopplay", "F6"}, {"playstop", "F6"}, {"start", "F7"}, {"stop", "F8"}};
  for (const auto& [name, key] : keys) {
    const SkinObjectData* object = document.find(name);
    ASSERT_NE(object, nullptr) << name;
    EXPECT_TRUE(object->hint.contains(QStringLiteral("(%1)").arg(key))) << name << ": " << object->hint.toStdString();
  }
  // The play button has a look for "playing".
  EXPECT_TRUE(document.find("play")->active.isValid());
}

TEST_P(ShippedSkinTest, LoadsOntoTheSurface) {
  test::EnsureApplication();
  SkinSurface surface;
  ASSERT_NO_THROW(surface.LoadSkin(SkinPath(GetParam().fileName)));
  surface.resize(surface.sizeHint());
  // Set ORLISK_SKIN_SNAPSHOT_DIR to look at the face as the user sees it.
  const QString snapshots = qEnvironmentVariable("ORLISK_SKIN_SNAPSHOT_DIR");
  if (!snapshots.isEmpty()) {
    surface.FindObject("playbar")->SetScrollPosition(3300);
    const QPoint overOpenVideo = surface.FindObject("openvideo")->rect().center();
    QMouseEvent hover(QEvent::MouseMove, overOpenVideo, surface.mapToGlobal(overOpenVideo), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&surface, &hover);
    QPixmap face = surface.grab();
    // Outline where the window's own controls will sit.
    QPainter painter(&face);
    painter.setPen(QColor(255, 0, 255, 160));
    for (const QRect& control : kControls) painter.drawRect(control.adjusted(0, 0, -1, -1));
    painter.end();
    face.save(snapshots + "/" + GetParam().fileName + ".png");
  }
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedSkinTest,
                         testing::Values(ShippedSkin{"English", "skn.skn", 265, false},
                                         ShippedSkin{"Chinese", "skncn.skn", 248, true}),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace orlisk
