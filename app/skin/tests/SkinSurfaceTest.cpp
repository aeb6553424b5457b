#include "app/skin/SkinSurface.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolTip>
#include <QHelpEvent>

#include "app/skin/SkinIcons.h"
#include "app/skin/tests/TestApplication.h"

namespace orlisk {
namespace {

const char* const kSkin = R"(
[skin]
kind = form
rect = 0, 0, 300, 200
color = #000000
[back]
kind = panel
rect = 0, 0, 300, 90
[play]
kind = button
rect = 10, 10, 40, 30
icon = play
hint = Play (F2)
active = #00ff00
[Stop]
kind = button
rect = 60, 10, 40, 30
caption = Stop
[playbar]
kind = scrollbar
rect = 10, 100, 210, 20
color = #0000ff
accent = #ff0000
text = #ffffff
[playtime]
kind = text
rect = 10, 150, 100, 20
caption = 00:00:00,000
[shpb]
kind = panel
rect = 0, 180, 300, 20
color = #00ff00
visible = no
[logo]
kind = image
rect = 250, 10, 40, 40
picture = pics/logo.png
)";

class SkinSurfaceTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(QDir(dir_.path()).mkpath("pics"));
    QImage logo(8, 8, QImage::Format_RGB32);
    logo.fill(Qt::yellow);
    ASSERT_TRUE(logo.save(dir_.filePath("pics/logo.png")));
    path_ = write("face.skn", kSkin);
    surface_.resize(300, 200);
    surface_.LoadSkin(path_);
  }

  QString write(const QString& name, const QByteArray& bytes) {
    QFile file(dir_.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  void send(QEvent::Type type, QPoint point, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(point), QPointF(surface_.mapToGlobal(point)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&surface_, &event);
  }
  void press(QPoint point, Qt::MouseButton button = Qt::LeftButton) {
    send(QEvent::MouseButtonPress, point, button, button);
  }
  void drag(QPoint point) { send(QEvent::MouseMove, point, Qt::NoButton, Qt::LeftButton); }
  void release(QPoint point, Qt::MouseButton button = Qt::LeftButton) {
    send(QEvent::MouseButtonRelease, point, button, Qt::NoButton);
  }
  void click(QPoint point) {
    press(point);
    release(point);
  }
  QColor pixel(QPoint point) { return surface_.grab().toImage().pixelColor(point); }

  test::ApplicationGuard application_;
  QTemporaryDir dir_;
  QString path_;
  SkinSurface surface_;
};

TEST_F(SkinSurfaceTest, ClickOnPlayNamesPlay) {
  QSignalSpy clicked(&surface_, &SkinSurface::objectClicked);
  click({30, 25});
  ASSERT_EQ(clicked.count(), 1);
  EXPECT_EQ(clicked.at(0).at(0).toString(), "play");
}

TEST_F(SkinSurfaceTest, ClickNeedsPressAndReleaseOnTheSameObjectWithTheLeftButton) {
  QSignalSpy clicked(&surface_, &SkinSurface::objectClicked);
  press({30, 25});
  release({80, 25});  // slid over to "Stop"
  press({30, 25}, Qt::RightButton);
  release({30, 25}, Qt::RightButton);
  EXPECT_EQ(clicked.count(), 0);
  click({80, 25});
  ASSERT_EQ(clicked.count(), 1);
  EXPECT_EQ(clicked.at(0).at(0).toString(), "Stop");
}

TEST_F(SkinSurfaceTest, FindsObjectsByExactName) {
  EXPECT_NE(surface_.FindObject("play"), nullptr);
  EXPECT_EQ(surface_.FindObject("Play"), nullptr);
  EXPECT_EQ(surface_.FindObject("stop"), nullptr);
  ASSERT_NE(surface_.FindObject("Stop"), nullptr);
  EXPECT_EQ(surface_.FindObject("Stop")->GetName(), "Stop");
  EXPECT_EQ(surface_.FindObject("playtime")->text(), "00:00:00,000");
}

TEST_F(SkinSurfaceTest, HiddenObjectsAreNotClicked) {
  QSignalSpy clicked(&surface_, &SkinSurface::objectClicked);
  surface_.FindObject("play")->SetVisible(false);
  click({30, 25});
  ASSERT_EQ(clicked.count(), 1);
  EXPECT_EQ(clicked.at(0).at(0).toString(), "back");  // the panel underneath
}

TEST_F(SkinSurfaceTest, PlaybarReportsPressTrackReleaseButNoClick) {
  QSignalSpy clicked(&surface_, &SkinSurface::objectClicked);
  QSignalSpy pressed(&surface_, &SkinSurface::playbarPressed);
  QSignalSpy tracked(&surface_, &SkinSurface::playbarTracked);
  QSignalSpy released(&surface_, &SkinSurface::playbarReleased);
  SkinObject* playbar = surface_.FindObject("playbar");

  press({115, 110});  // the middle of the thumb's travel (20..210)
  EXPECT_EQ(pressed.count(), 1);
  EXPECT_EQ(tracked.count(), 1);
  EXPECT_NEAR(playbar->GetScrollPosition(), 5000, 30);

  drag({400, 110});  // far past the right end, and off the bar
  EXPECT_EQ(playbar->GetScrollPosition(), 10000);
  drag({405, 20});  // still past the end: the thumb does not move
  EXPECT_EQ(tracked.count(), 2);
  drag({-40, 110});
  EXPECT_EQ(playbar->GetScrollPosition(), 0);
  EXPECT_EQ(tracked.count(), 3);

  release({-40, 110});
  EXPECT_EQ(released.count(), 1);
  drag({115, 110});  // no button held any more
  EXPECT_EQ(tracked.count(), 3);

  click({19, 110});  // pressing where the thumb already is moves nothing
  EXPECT_EQ(pressed.count(), 2);
  EXPECT_EQ(tracked.count(), 3);
  EXPECT_EQ(released.count(), 2);
  EXPECT_EQ(clicked.count(), 0);
}

TEST_F(SkinSurfaceTest, ScrollPositionIsClamped) {
  SkinObject* playbar = surface_.FindObject("playbar");
  const std::pair<int, int> rows[] = {{-5, 0}, {0, 0}, {5000, 5000}, {10000, 10000}, {10001, 10000}, {INT32_MAX, 10000}};
  for (const auto& [set, expected] : rows) {
    playbar->SetScrollPosition(set);
    EXPECT_EQ(playbar->GetScrollPosition(), expected) << set;
  }
  SkinObject* play = surface_.FindObject("play");
  play->SetScrollPosition(300);  // not a scroll bar
  EXPECT_EQ(play->GetScrollPosition(), 0);
}

TEST_F(SkinSurfaceTest, ThumbIsDrawnWhereThePositionSays) {
  SkinObject* playbar = surface_.FindObject("playbar");
  const QPoint rightEnd(210, 110);
  EXPECT_NE(pixel(rightEnd), QColor(Qt::white));
  playbar->SetScrollPosition(10000);
  EXPECT_EQ(pixel(rightEnd), QColor(Qt::white));
  EXPECT_EQ(pixel({120, 110}).red(), 255);  // the played part
}

TEST_F(SkinSurfaceTest, VisibilityShowsInThePaintedFace) {
  const QPoint insidePanel(150, 190);
  EXPECT_NE(pixel(insidePanel), QColor(Qt::green));
  surface_.FindObject("shpb")->SetVisible(true);
  EXPECT_EQ(pixel(insidePanel), QColor(Qt::green));
  EXPECT_EQ(pixel({270, 30}), QColor(Qt::yellow));  // the picture beside the skin file
}

TEST_F(SkinSurfaceTest, AButtonMarkedOnShowsItsActiveLook) {
  SkinObject* play = surface_.FindObject("play");
  const QPoint besideTheIcon(17, 30);
  EXPECT_NE(pixel(besideTheIcon), QColor(Qt::green));
  play->SetActive(true);
  EXPECT_TRUE(play->isActive());
  EXPECT_EQ(pixel(besideTheIcon), QColor(Qt::green));
  EXPECT_NE(pixel({13, 25}), QColor(Qt::green)) << "a ring inside the edge";
  play->SetActive(false);
  EXPECT_NE(pixel(besideTheIcon), QColor(Qt::green));
}

TEST_F(SkinSurfaceTest, ToolTipsNameTheCommandUnderTheMouse) {
  // The tip shown, or nothing when the surface passed on the request.
  const auto askAt = [&](QPoint point) {
    QHelpEvent event(QEvent::ToolTip, point, surface_.mapToGlobal(point));
    QApplication::sendEvent(&surface_, &event);
    return event.isAccepted() && QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  EXPECT_EQ(askAt({30, 25}), "Play (F2)");
  EXPECT_EQ(surface_.FindObject("play")->hint(), "Play (F2)");
  EXPECT_EQ(askAt({80, 25}), "") << "Stop has no hint";
}

TEST_F(SkinSurfaceTest, SizeHintIsTheFormSize) { EXPECT_EQ(surface_.sizeHint(), QSize(300, 200)); }

struct LoadFault {
  const char* fileName;  // empty: the file is not written
  QByteArray bytes;
  const char* messageEnd;
};

TEST_F(SkinSurfaceTest, BrokenFilesThrowNamingTheFileAndKeepTheSkin) {
  const LoadFault rows[] = {
      {"missing.skn", {}, "missing.skn: cannot open the skin file (No such file or directory)"},
      {"typo.skn", "[skin]\nkind = form\nrect = 0,0,9,9\n[p]\nkind = buton\n", "typo.skn line 5: unknown kind 'buton'"},
      {"latin1.skn", "[skin]\nkind = form\nrect = 0,0,9,9\ncaption = caf\xe9\n", "latin1.skn: the skin file is not UTF-8 text"},
      {"nopic.skn", "[skin]\nkind = form\nrect = 0,0,9,9\n[i]\nkind = image\nrect=0,0,1,1\npicture = gone.png\n",
       "nopic.skn line 4: picture 'gone.png' cannot be read"},
  };
  for (const LoadFault& row : rows) {
    const QString path = row.bytes.isEmpty() ? dir_.filePath(row.fileName) : write(row.fileName, row.bytes);
    try {
      surface_.LoadSkin(path);
      ADD_FAILURE() << "no error for " << row.fileName;
    } catch (const SkinError& error) {
      const std::string message = error.what();
      EXPECT_EQ(message, path.left(path.size() - qsizetype(strlen(row.fileName))).toStdString() + row.messageEnd);
    }
    EXPECT_NE(surface_.FindObject("play"), nullptr) << row.fileName;
  }
}

// A pipe, a device, a folder or a huge file in the skin's or a picture's
// place ends the load at once with a message naming the file.
TEST_F(SkinSurfaceTest, SpecialOrHugeFilesAreRefusedAtOnce) {
  const QString folder = dir_.path() + "/";
  ASSERT_EQ(::mkfifo((folder + "pipe.skn").toStdString().c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((folder + "pipe.png").toStdString().c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", (folder + "zero.skn").toStdString());
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.skn"));
  write("huge.skn", "[skin]\nkind = form\nrect = 0,0,9,9\n");
  std::filesystem::resize_file((folder + "huge.skn").toStdString(), 5 << 20);
  write("pipepic.skn", "[skin]\nkind = form\nrect = 0,0,9,9\n[i]\nkind = image\nrect=0,0,1,1\npicture = pipe.png\n");
  const std::pair<const char*, const char*> rows[] = {
      {"pipe.skn", "pipe.skn: cannot open the skin file (it is a folder, pipe or device, not an ordinary file)"},
      {"zero.skn", "zero.skn: cannot open the skin file (it is a folder, pipe or device, not an ordinary file)"},
      {"folder.skn", "folder.skn: cannot open the skin file (it is a folder, pipe or device, not an ordinary file)"},
      {"huge.skn", "huge.skn: cannot open the skin file (it is larger than 4 MB)"},
      {"pipepic.skn", "pipepic.skn line 4: picture 'pipe.png' cannot be read"}};
  for (const auto& [name, message] : rows) {
    try {
      surface_.LoadSkin(folder + name);
      ADD_FAILURE() << "no error for " << name;
    } catch (const SkinError& error) {
      EXPECT_EQ(std::string(error.what()), folder.toStdString() + message);
    }
    EXPECT_NE(surface_.FindObject("play"), nullptr) << name;
  }
}

TEST_F(SkinSurfaceTest, ReloadingReplacesTheObjects) {
  surface_.LoadSkin(write("small.skn", "[skin]\nkind = form\nrect = 0,0,50,40\n[go]\nkind=button\nrect=0,0,50,40\n"));
  EXPECT_EQ(surface_.FindObject("play"), nullptr);
  EXPECT_NE(surface_.FindObject("go"), nullptr);
  EXPECT_EQ(surface_.sizeHint(), QSize(50, 40));
}

}  // namespace
}  // namespace orlisk

namespace orlisk {
namespace {

TEST(SkinIcons, EveryNamedIconDrawsAndUnknownNamesDrawNothing) {
  const char* const names[] = {"play", "pause", "stop", "fastback", "fastforward", "open", "save",
                               "subtitle", "insert", "begin", "end", "remove", "clear", "write",
                               "stopwrite", "help", "edit", "settings", "gift", "film", "plus"};
  const auto inkOf = [](const QString& name) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    DrawSkinIcon(painter, name, QRectF(4, 4, 24, 24), Qt::white);
    painter.end();
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) ink += qAlpha(image.pixel(x, y)) > 128;
    return ink;
  };
  for (const char* name : names) {
    EXPECT_TRUE(IsSkinIcon(name)) << name;
    EXPECT_GT(inkOf(name), 25) << name;
  }
  EXPECT_FALSE(IsSkinIcon("Play"));
  EXPECT_EQ(inkOf("rewind"), 0);
}

}  // namespace
}  // namespace orlisk
