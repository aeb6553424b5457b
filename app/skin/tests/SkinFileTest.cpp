#include "app/skin/SkinFile.h"

#include <gtest/gtest.h>

namespace orlisk {
namespace {

const char* const kForm = "[skin]\nkind = form\nrect = 0, 0, 200, 100\n";

TEST(SkinFile, ReadsEveryProperty) {
  const QString text = QString::fromUtf8(
      "\xEF\xBB\xBF# face of a test window\r\n"
      "[skin]\r\nkind = form\r\nrect = 0, 0, 200, 100\r\nfamily = Liberation Sans\r\n"
      "; a comment\n"
      "[play]\n kind = button \nrect = 10, 20, 30, 40\ncaption = \"  Play \"\n"
      "color = #102030\ncolor2 = #80102030\nhover = #405060\npressed = #708090\n"
      "text = #a0b0c0\nborder = #d0e0f0\naccent = #010203\nradius = 6\nfontsize = 15\n"
      "bold = yes\nalign = left\nicon = play\npicture = skin/p.png\nvisible = no\n"
      "hint = \"Play (F2)\"\nactive = #0a0b0c\n"
      "[时间]\nkind = text\nrect = 1,2,3,4\ncaption = 字幕 = subtitle\n");
  SkinDocument document = ParseSkin(text, "t.skn");
  ASSERT_EQ(document.objects.size(), 3u);
  EXPECT_EQ(document.form().name, "skin");
  EXPECT_EQ(document.form().family, "Liberation Sans");

  const SkinObjectData* play = document.find("play");
  ASSERT_NE(play, nullptr);
  EXPECT_EQ(play->kind, SkinKind::Button);
  EXPECT_EQ(play->rect, QRect(10, 20, 30, 40));
  EXPECT_EQ(play->text, "  Play ");
  EXPECT_EQ(play->color, QColor(0x10, 0x20, 0x30));
  EXPECT_EQ(play->color2, QColor(0x10, 0x20, 0x30, 0x80));
  EXPECT_EQ(play->hover, QColor(0x40, 0x50, 0x60));
  EXPECT_EQ(play->pressed, QColor(0x70, 0x80, 0x90));
  EXPECT_EQ(play->textColor, QColor(0xa0, 0xb0, 0xc0));
  EXPECT_EQ(play->border, QColor(0xd0, 0xe0, 0xf0));
  EXPECT_EQ(play->accent, QColor(1, 2, 3));
  EXPECT_EQ(play->radius, 6);
  EXPECT_EQ(play->fontSize, 15);
  EXPECT_TRUE(play->bold);
  EXPECT_EQ(play->align, SkinAlign::Left);
  EXPECT_EQ(play->hint, "Play (F2)");
  EXPECT_EQ(play->active, QColor(0x0a, 0x0b, 0x0c));
  EXPECT_FALSE(play->on);
  EXPECT_EQ(play->icon, "play");
  EXPECT_EQ(play->picture, "skin/p.png");
  EXPECT_FALSE(play->visible);
  EXPECT_EQ(play->line, 7);

  const SkinObjectData* time = document.find(QString::fromUtf8("时间"));
  ASSERT_NE(time, nullptr);
  EXPECT_EQ(time->text, QString::fromUtf8("字幕 = subtitle"));  // only the first '=' splits
  EXPECT_FALSE(time->color.isValid());  // no fill unless given
  EXPECT_TRUE(time->visible);
}

TEST(SkinFile, NamesAreCaseSensitive) {
  SkinDocument document = ParseSkin(QString(kForm) + "[Play]\nkind=button\nrect=0,0,1,1\n", "t.skn");
  EXPECT_EQ(document.find("play"), nullptr);
  EXPECT_NE(document.find("Play"), nullptr);
  // Names differing in case are two objects, not a duplicate.
  EXPECT_NO_THROW(ParseSkin(QString(kForm) + "[a]\nkind=label\nrect=0,0,1,1\n[A]\nkind=label\nrect=0,0,1,1\n", "t"));
}

struct BrokenSkin {
  const char* body;  // follows the four lines of kForm
  const char* message;
};

class SkinFileErrors : public testing::TestWithParam<BrokenSkin> {};

TEST_P(SkinFileErrors, NameTheFileAndLine) {
  const QString text = QString(kForm) + QString::fromUtf8(GetParam().body);
  try {
    ParseSkin(text, "skn.skn");
    FAIL() << "no error for: " << GetParam().body;
  } catch (const SkinError& error) {
    EXPECT_STREQ(error.what(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SkinFileErrors,
    testing::Values(
        BrokenSkin{"[play]\nkind = buton\n", "skn.skn line 5: unknown kind 'buton'"},
        BrokenSkin{"[play]\nkind = button\nrect = 1, 2, 3\n", "skn.skn line 6: rect '1, 2, 3' needs left, top, width, height"},
        BrokenSkin{"[play]\nkind = button\nrect = 1, 2, -3, 4\n", "skn.skn line 6: '-3' is not a number from 0 to 10000"},
        BrokenSkin{"[play]\nkind = button\nrect = 1, 2, x, 4\n", "skn.skn line 6: 'x' is not a number from 0 to 10000"},
        BrokenSkin{"[play]\ncolour = #ffffff\n", "skn.skn line 5: unknown property 'colour'"},
        BrokenSkin{"[play]\ncolor = red\n", "skn.skn line 5: colour 'red' is not #rrggbb or #aarrggbb"},
        BrokenSkin{"[play]\ncolor = #12345g\n", "skn.skn line 5: colour '#12345g' is not #rrggbb or #aarrggbb"},
        BrokenSkin{"[play]\nicon = rewind\n", "skn.skn line 5: unknown icon 'rewind'"},
        BrokenSkin{"[play]\nbold = true\n", "skn.skn line 5: 'true' is not yes or no"},
        BrokenSkin{"[play]\nalign = middle\n", "skn.skn line 5: unknown alignment 'middle'"},
        BrokenSkin{"[play]\nfontsize = 0\n", "skn.skn line 5: '0' is not a number from 4 to 200"},
        BrokenSkin{"[play]\nkind = button\nkind = text\n", "skn.skn line 6: 'kind' given twice"},
        BrokenSkin{"[play\n", "skn.skn line 4: object header '[play' lacks ']'"},
        BrokenSkin{"[ ]\n", "skn.skn line 4: object without a name"},
        BrokenSkin{"just words\n", "skn.skn line 4: 'just words' is not 'key = value'"},
        BrokenSkin{"[play]\nrect = 0,0,1,1\n[stop]\n", "skn.skn line 4: object 'play' has no kind"},
        BrokenSkin{"[play]\nkind = button\n", "skn.skn line 4: object 'play' has no rect"},
        BrokenSkin{"[skin]\nkind = button\n", "skn.skn line 4: second object named 'skin'"},
        BrokenSkin{"[other]\nkind = form\nrect = 0,0,5,5\n", "skn.skn line 4: second form object 'other'"}));

TEST(SkinFile, WholeFileFaults) {
  EXPECT_THROW(ParseSkin("kind = form\n", "skn.skn"), SkinError);  // before any object
  try {
    ParseSkin("[a]\nkind = panel\nrect = 0,0,1,1\n", "skn.skn");
    FAIL();
  } catch (const SkinError& error) {
    EXPECT_STREQ(error.what(), "skn.skn: no form object");
  }
  try {
    ParseSkin("rect = 1,1,1,1\n", "x.skn");
    FAIL();
  } catch (const SkinError& error) {
    EXPECT_STREQ(error.what(), "x.skn line 1: 'rect' outside an object");
  }
}

}  // namespace
}  // namespace orlisk
