// The style dialog's "OK" as a command: the outline and backdrop into the
// style in use and the settings file, the colours and outline into the
// subtitle at hand or every subtitle, as one undo step.
#include <gtest/gtest.h>

#include "FakeSeams.h"
#include "settings/SubtitleBackdrop.h"

namespace orlisk::testing {
namespace {

constexpr Colour kRed = 0x000000FF;
constexpr Colour kYellow = 0x0000FFFF;
const SubtitleBackdrop kBox{.Shape = SubtitleBackdrop::Kind::Box, .Opacity = 70};

// Three rows in white outlined in blue, a video open, nothing at hand.
struct StyleSession : UserSession {
  StyleSession() {
    for (const char* text : {"one", "two", "three"}) rig.addRow(0, 1000, text);
    for (SubtitleEntry& e : s.Document.entries()) e.BorderColor = SubtitleStyle{}.BorderColor;
    history.startFresh();
  }
  // Which rows have the chosen look: yellow text, red outline switched off.
  std::vector<bool> Restyled() const {
    std::vector<bool> restyled;
    for (const SubtitleEntry& e : s.Document.entries())
      restyled.push_back(e.TextColor == kYellow && e.BorderColor == kRed && !e.Border);
    return restyled;
  }
};

TEST(StyleCommand, GoesToTheSubtitleAtHandOrToEverySubtitleAsOneUndoStep) {
  struct Row {
    const char* name;
    std::function<void(StyleSession&)> atHand;
    StyleScope scope;
    std::vector<bool> restyled;
  };
  const Row rows[] = {
      {"row picked, at hand only",
       [](StyleSession& t) {
         t.rig.list.selected = 1;
         t.user([&] { t.c.SelectSubtitle(); });
       },
       StyleScope::SubtitleAtHand, {false, true, false}},
      {"new subtitle, at hand only", [](StyleSession& t) { t.user([&] { t.c.InsertSubtitle(); }); },
       StyleScope::SubtitleAtHand, {false, false, false, true}},
      {"row picked, every subtitle",
       [](StyleSession& t) {
         t.rig.list.selected = 0;
         t.user([&] { t.c.SelectSubtitle(); });
       },
       StyleScope::EverySubtitle, {true, true, true}},
      {"nothing at hand, every subtitle", [](StyleSession&) {}, StyleScope::EverySubtitle, {true, true, true}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    StyleSession t;
    row.atHand(t);
    const std::vector<SubtitleEntry> before = t.s.Document.entries();
    const std::size_t steps = t.history.undoCount();
    // The dialog runs inside the command that showed it: a text colour chosen
    // through "Set Font", then "OK".
    t.user([&] {
      t.s.Style.TextColor = kYellow;
      EXPECT_TRUE(t.c.editing().ApplyStyle(
          {.BorderColor = kRed, .BorderEnabled = false, .Backdrop = kBox, .Scope = row.scope}));
    });
    EXPECT_EQ(t.Restyled(), row.restyled);
    EXPECT_EQ(t.s.Style.BorderColor, kRed);
    EXPECT_FALSE(t.s.Style.BorderEnabled);
    EXPECT_EQ(t.s.Style.Backdrop, kBox);
    EXPECT_EQ(t.history.undoCount(), steps + 1);
    t.user([&] { t.c.Undo(); });
    EXPECT_EQ(t.s.Document.entries(), before);
  }
}

TEST(StyleCommand, NothingAtHandChangesOnlyWhatNewSubtitlesGetAndTheSettings) {
  StyleSession t;
  MainState& s = t.s;
  MainController& c = t.c;
  Rig& rig = t.rig;
  t.user([&] {
    EXPECT_TRUE(c.editing().ApplyStyle(
        {.BorderColor = kRed, .BorderEnabled = false, .Backdrop = kBox, .Scope = StyleScope::SubtitleAtHand}));
  });
  EXPECT_EQ(t.Restyled(), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(t.history.undoCount(), 0u);
  EXPECT_EQ(rig.settings.readString("Color", "borderColor", ""), "255");
  EXPECT_EQ(rig.settings.readString("Color", "Bborder", ""), "0");
  EXPECT_EQ(ReadSubtitleBackdrop(rig.settings), kBox);
  // A new subtitle is made in the chosen style and drawn with the backdrop.
  t.user([&] { c.InsertSubtitle(); });
  t.type("four");
  EXPECT_EQ(s.Document.entries().back().BorderColor, kRed);
  ASSERT_FALSE(rig.transform.draws.empty());
  EXPECT_EQ(rig.transform.draws.back().style.Backdrop, kBox);
}

TEST(StyleCommand, EverySubtitleWhileWritingIsRefusedAndChangesNothing) {
  StyleSession t;
  MainState& s = t.s;
  MainController& c = t.c;
  Rig& rig = t.rig;
  s.IsWriting = true;
  const SubtitleStyle style = s.Style;
  t.user([&] {
    EXPECT_FALSE(c.editing().ApplyStyle(
        {.BorderColor = kRed, .BorderEnabled = true, .Backdrop = {}, .Scope = StyleScope::EverySubtitle}));
  });
  EXPECT_EQ(rig.lastMessage(), "The subtitles are written to the video. please first stop writing.");
  EXPECT_EQ(s.Style, style);
  EXPECT_EQ(t.Restyled(), (std::vector<bool>{false, false, false}));
  for (const char* key : {"borderColor", "Bborder", "Backdrop", "BackdropOpacity"})
    EXPECT_EQ(rig.settings.readString("Color", key, "none"), "none") << key;
}

}  // namespace
}  // namespace orlisk::testing
