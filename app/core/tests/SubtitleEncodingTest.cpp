// The user's choice of encoding for subtitle files: beside the file name in
// the open dialog, and "Reopen with encoding..." for the list just read.
#include <gtest/gtest.h>

#include <fstream>

#include "FakeSeams.h"
#include "app/core/SubtitleEncodings.h"

namespace orlisk::testing {
namespace {

// "Привет" in Windows-1251: one word, too little for the detection, so the
// English interface's Windows-1252 reads it as "Ïðèâåò".
constexpr const char* kOneWordFile = "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\n\r\n";
constexpr const char* kRussian = "Привет";
constexpr const char* kWestern = "Ïðèâåò";

int IndexOf(std::string_view charset) {
  const auto encodings = SubtitleEncodings();
  for (std::size_t i = 0; i < encodings.size(); ++i)
    if (charset == encodings[i].Charset) return static_cast<int>(i);
  return -1;
}

struct SubtitleEncodingChoice : ::testing::Test {
  Rig rig;
  MainState& s = rig.state;
  std::string path = rig.file("word.srt");
  void SetUp() override {
    std::ofstream(path, std::ios::binary) << kOneWordFile;
    s.FirstInsertHint = false;
    rig.openVideo();
  }
  void open(int encoding) {
    rig.dialogs.nextSubtitle = path;
    rig.dialogs.nextEncoding = encoding;
    rig.controller.OpenSubtitleFile();
  }
  void reopen(std::optional<int> encoding) {
    rig.dialogs.nextReopenEncoding = encoding;
    rig.controller.ReopenSubtitleFile();
  }
  std::string text() const { return s.Document.row(0).Subtitle; }
};

TEST_F(SubtitleEncodingChoice, TheOpenDialogOffersAutomaticFirstAndReadsInTheEncodingChosen) {
  open(IndexOf("WINDOWS-1251"));
  const EncodingList& offered = rig.dialogs.encodingLists.back();
  EXPECT_EQ(offered.Label, "Encoding:");
  EXPECT_EQ(offered.Names.front(), "Automatic");
  EXPECT_EQ(offered.Names.size(), SubtitleEncodings().size());
  EXPECT_EQ(offered.Chosen, 0);
  EXPECT_EQ(text(), kRussian);
  EXPECT_EQ(s.SubtitleCharset, "WINDOWS-1251");
}

TEST_F(SubtitleEncodingChoice, ReopenShowsTheEncodingReadInAndReadsTheFileAgainInTheOneChosen) {
  open(0);
  ASSERT_EQ(text(), kWestern);
  reopen(std::nullopt);  // cancelled: nothing changes
  EXPECT_EQ(text(), kWestern);
  EXPECT_EQ(rig.dialogs.encodingTitles.back(), "Reopen with Encoding");
  EXPECT_EQ(rig.dialogs.encodingLists.back().Chosen, IndexOf("WINDOWS-1252"));
  reopen(IndexOf("WINDOWS-1251"));
  EXPECT_EQ(text(), kRussian);
  EXPECT_TRUE(rig.messages.shown.empty());
}

TEST_F(SubtitleEncodingChoice, ChangesSinceReadingAreAskedAboutAndNeverSavedOverTheFile) {
  open(0);
  rig.list.selected = 0;
  rig.controller.EditSubtitle();
  rig.memo.type("changed");
  ASSERT_TRUE(s.Document.hasUnsavedChanges());
  rig.messages.answers = {false};
  reopen(IndexOf("WINDOWS-1251"));
  EXPECT_EQ(rig.messages.shown.back().kind, "question");
  EXPECT_EQ(rig.lastMessage(),
            "The subtitles have changed since the file was read. Reading it again loses those changes. Read it again?");
  EXPECT_NE(text(), kRussian);
  rig.messages.answers = {true};
  reopen(IndexOf("WINDOWS-1251"));
  EXPECT_EQ(text(), kRussian);
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), kOneWordFile);
}

}  // namespace
}  // namespace orlisk::testing
