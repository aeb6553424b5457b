#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "FakeSeams.h"
#include "subtitles/SubRipFile.h"

namespace orlisk::testing {
namespace {

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
void Spit(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}
// Files in a folder, to see that no temporary file was left behind.
std::size_t FileCount(const fs::path& folder) {
  std::size_t n = 0;
  for (const auto& e : fs::directory_iterator(folder)) n += e.is_regular_file() ? 1 : 0;
  return n;
}

constexpr const char* kAviHeader = "RIFF\x10\x00\x00\x00" "AVI LIST";

struct SubtitleFiles : ::testing::Test {
  Rig rig;
  MainState& s = rig.state;
  MainController& c = rig.controller;
  fs::path dir = rig.folder.path() / "subs";
  void SetUp() override {
    fs::create_directories(dir);
    rig.openVideo();  // 320 x 240; SubtitleX 10, SubtitleY 177
  }
  void save(const std::string& name) {
    rig.dialogs.nextSave = (dir / name).string();
    c.SaveSubtitleFile();
  }
  void saveAs(const std::string& name) {
    rig.dialogs.nextSave = (dir / name).string();
    c.SaveSubtitleFileAs();
  }
  void open(const fs::path& file) {
    rig.dialogs.nextSubtitle = file.string();
    c.OpenSubtitleFile();
  }
  void twoRows() {
    rig.addRow(1000, 2500, "Hello");
    rig.addRow(3000, 4000, "A\r\nB");
    auto& e = s.Document.entries();
    e[0].Place.X = 40;
    e[0].Place.Y = 150;
    e[0].Tag = 0;
    e[0].TextColor = 0x00FF00;
    e[0].BorderColor = 0x0000FF;
    e[0].Border = false;
    e[1].Place.X = 50;
    e[1].Place.Y = 160;
    e[1].Tag = 1;
    e[1].Place.DrawLevel = 200;
  }
};

TEST_F(SubtitleFiles, OpeningGuardsInOrder) {
  Rig none;
  none.dialogs.nextSubtitle = "x.srt";
  none.controller.OpenSubtitleFile();
  EXPECT_EQ(none.lastMessage(), "please first add video file");
  c.Play();
  open(dir / "x.srt");
  EXPECT_EQ(rig.lastMessage(), "please first stop play.");
  EXPECT_TRUE(rig.dialogs.startFolders.size() == 1u);  // only the video dialog was shown
  s.IsWriting = true;
  s.IsPlaying = false;
  rig.dialogs.nextSubtitle = (dir / "x.srt").string();
  c.OpenSubtitleFile();  // while writing the refusal comes after the dialog
  EXPECT_EQ(rig.dialogs.startFolders.size(), 2u);
  EXPECT_EQ(rig.lastMessage(), "The subtitles are written to the video. please first stop writing.");
}

TEST_F(SubtitleFiles, PlacesAndStylesMadeByTypingComeBackAfterSavingAndReading) {
  // As the user makes them: insert, type, drag the text elsewhere.
  rig.skin.playtime = "00:00:01,000";
  c.InsertSubtitle();
  rig.memo.type("top line");
  const Colour firstColour = s.Style.TextColor;
  rig.skin.playtime = "00:00:03,000";
  s.Placement.X = 77;
  s.Placement.Y = 20;
  s.Style.TextColor = 0x0000FF;
  c.InsertSubtitle();
  rig.memo.type("bottom line");
  ASSERT_EQ(s.Document.entries()[0].Tag, 1);  // the cursor at capture: position + 1

  save("film");
  c.ClearSubtitles();
  s.Placement.X = 10;  // back at the opening place, so only text at it is centred
  s.Placement.Y = 177;
  open(dir / "film.srt");
  const auto& e = s.Document.entries();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].TextColor, firstColour);
  EXPECT_EQ(e[1].Place.X, 77);
  EXPECT_EQ(e[1].Place.Y, 20);
  EXPECT_EQ(e[1].TextColor, 0x0000FFu);
}

TEST_F(SubtitleFiles, SaveWritesTheTextAndRecordsAndReadsThemBack) {
  twoRows();
  save("film");
  EXPECT_EQ(Slurp(dir / "film.srt"),
            "0\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n \r\n"
            "1\r\n00:00:03,000 --> 00:00:04,000\r\nA\r\nB\r\n \r\n");
  EXPECT_EQ(fs::file_size(dir / "film.dat"), 2 * kCompanionRecordSize);
  EXPECT_EQ(FileCount(dir), 2u);

  c.ClearSubtitles();
  open(dir / "film.srt");
  ASSERT_EQ(s.Document.rowCount(), 2);
  EXPECT_EQ(s.Document.row(0), (SubtitleRow{"00:00:01,000 --> 00:00:02,500", "Hello"}));
  EXPECT_EQ(s.Document.row(1), (SubtitleRow{"00:00:03,000 --> 00:00:04,000", "A\r\nB"}));
  const auto& e = s.Document.entries();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].Place.X, 40);
  EXPECT_EQ(e[0].Place.Y, 150);
  EXPECT_EQ(e[0].TextColor, 0x00FF00u);
  EXPECT_EQ(e[0].BorderColor, 0x0000FFu);
  EXPECT_FALSE(e[0].Border);
  EXPECT_EQ(e[0].BeginTime, 1000);
  EXPECT_EQ(e[0].EndTime, 2500);
  EXPECT_EQ(e[1].Place.X, 50);
  EXPECT_EQ(e[1].Place.DrawLevel, 200);
  EXPECT_EQ(e[1].Text, "A\r\nB");
  EXPECT_EQ(s.SubtitleCursor, 2);
}

TEST_F(SubtitleFiles, ReadingWithoutCompanionCentresAndCreatesAnEmptyOne) {
  Spit(dir / "plain.srt", "0\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\nthere\r\n \r\n");
  open(dir / "plain.srt");
  ASSERT_EQ(s.Document.rowCount(), 1);
  const SubtitleEntry& e = s.Document.entries()[0];
  EXPECT_TRUE(e.Place.Centred);
  EXPECT_EQ(e.Place.X, 10);
  EXPECT_EQ(e.Place.Y, 177 + 21);        // one more line moves the text down by the font height
  EXPECT_EQ(e.Place.DrawLevel, 240);
  EXPECT_TRUE(e.Border);
  EXPECT_EQ(e.TextColor, s.Style.TextColor);
  ASSERT_TRUE(fs::exists(dir / "plain.dat"));
  EXPECT_EQ(fs::file_size(dir / "plain.dat"), 0u);
}

TEST_F(SubtitleFiles, AFileFromElsewhereIsReadWholeAndOneMessageSaysWhatWasRepaired) {
  Spit(dir / "web.srt", "00:00:01,000 --> 00:00:02,000\nOne\n\n0:00:03,000 --> 0:00:04,000\nTwo\n");
  rig.messages.shown.clear();
  open(dir / "web.srt");
  ASSERT_EQ(s.Document.rowCount(), 2);
  EXPECT_EQ(s.Document.row(1).Time, "00:00:03,000 --> 00:00:04,000");
  EXPECT_EQ(rig.messages.texts(),
            std::vector<std::string>{"This subtitle file was read the way other players read it, with these repairs:\n"
                                     "Subtitles without a number: 2\n"
                                     "Times with one-digit hours, minutes or seconds: 2"});
  // Saved, it is this program's own pair: read again without a word.
  c.SaveSubtitleFile();
  rig.messages.shown.clear();
  open(dir / "web.srt");
  EXPECT_EQ(s.Document.rowCount(), 2);
  EXPECT_TRUE(rig.messages.texts().empty());
}

TEST_F(SubtitleFiles, ANameTypedWithItsSrtKeepsItAndTheCompanionTakesItsPlace) {
  twoRows();
  for (const char* typed : {"first.srt", "second.SRT", "third"}) saveAs(typed);
  EXPECT_TRUE(fs::exists(dir / "first.srt"));
  EXPECT_TRUE(fs::exists(dir / "first.dat"));
  EXPECT_TRUE(fs::exists(dir / "second.SRT"));
  EXPECT_TRUE(fs::exists(dir / "second.dat"));
  EXPECT_TRUE(fs::exists(dir / "third.srt"));
  EXPECT_TRUE(fs::exists(dir / "third.dat"));
  EXPECT_FALSE(fs::exists(dir / "first.srt.srt"));
  c.ClearSubtitles();
  open(dir / "second.SRT");
  ASSERT_EQ(s.Document.rowCount(), 2);
  EXPECT_EQ(s.Document.entries()[0].Place.X, 40);  // from second.dat
}

TEST_F(SubtitleFiles, AFileSavedWithADoubledExtensionStillFindsItsCompanion) {
  twoRows();
  save("film.srt");
  fs::rename(dir / "film.srt", dir / "film.srt.srt");
  fs::rename(dir / "film.dat", dir / "film.srt.dat");
  c.ClearSubtitles();
  open(dir / "film.srt.srt");
  ASSERT_EQ(s.Document.rowCount(), 2);
  EXPECT_EQ(s.Document.entries()[0].Place.X, 40);  // from film.srt.dat
}

TEST_F(SubtitleFiles, OverwriteQuestionNoKeepsTheFile) {
  Spit(dir / "film.srt", "old");
  twoRows();
  rig.messages.answers = {false};
  save("film");
  EXPECT_EQ(rig.messages.shown.back().kind, "question");
  EXPECT_EQ(rig.lastMessage(), "File already exists, overwrite?");
  EXPECT_EQ(Slurp(dir / "film.srt"), "old");
  EXPECT_FALSE(fs::exists(dir / "film.dat"));
  // The folder is remembered even so.
  EXPECT_EQ(rig.settings.readString("SaveDialog1", "InitialDir", ""), dir.string());
}

TEST_F(SubtitleFiles, OverwriteQuestionYesReplacesBoth) {
  Spit(dir / "film.srt", "old");
  Spit(dir / "film.dat", std::string(kCompanionRecordSize * 3, '\0'));
  twoRows();
  save("film");
  EXPECT_EQ(rig.messages.shown.size(), 1u);  // an old companion is replaced without asking
  EXPECT_EQ(fs::file_size(dir / "film.dat"), 2 * kCompanionRecordSize);
  EXPECT_NE(Slurp(dir / "film.srt"), "old");
}

TEST_F(SubtitleFiles, AVideoWithTheCompanionsNameIsNotOverwrittenSilently) {
  std::string video = std::string(kAviHeader, 16) + std::string(1000, 'v');
  Spit(dir / "film.dat", video);
  twoRows();
  rig.messages.answers = {false};
  save("film");
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_EQ(rig.messages.shown[0].kind, "question");
  EXPECT_EQ(Slurp(dir / "film.dat"), video);
  EXPECT_FALSE(fs::exists(dir / "film.srt"));

  rig.messages.answers = {true};
  save("film");
  EXPECT_EQ(fs::file_size(dir / "film.dat"), 2 * kCompanionRecordSize);
}

TEST_F(SubtitleFiles, AVideoWithTheCompanionsNameIsNotReadAsRecords) {
  // A whole number of records that starts like an MPEG program stream.
  std::string video(kCompanionRecordSize * 2, '\x07');
  video[0] = 0;
  video[1] = 0;
  video[2] = 1;
  video[3] = static_cast<char>(0xBA);
  Spit(dir / "film.dat", video);
  Spit(dir / "film.srt", "0\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n \r\n");
  open(dir / "film.srt");
  ASSERT_EQ(s.Document.rowCount(), 1);
  EXPECT_TRUE(s.Document.entries()[0].Place.Centred);
  EXPECT_EQ(s.Document.entries()[0].Place.DrawLevel, 240);
  EXPECT_EQ(Slurp(dir / "film.dat"), video);
}

TEST_F(SubtitleFiles, AMissingFileAsksWithHelpAndKeepsTheList) {
  twoRows();
  s.Document.markSaved();  // no save question first
  open(dir / "nowhere.srt");
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_EQ(rig.messages.shown[0].kind, "help");
  EXPECT_EQ(rig.messages.shown[0].text, "Not find subtitle file.");
  EXPECT_EQ(s.Document.rowCount(), 2);
  EXPECT_FALSE(fs::exists(dir / "nowhere.dat"));
}

// A folder, a pipe, a link to a device or a huge file in the subtitle file's
// place: refused at once with a message, the list and the folder as they were.
TEST_F(SubtitleFiles, ASpecialOrHugeFileIsRefusedWithAMessageAndChangesNothing) {
  twoRows();
  s.Document.markSaved();  // no save question first
  fs::create_directories(dir / "folder.srt");
  ASSERT_EQ(::mkfifo((dir / "pipe.srt").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", dir / "zero.srt");
  Spit(dir / "huge.srt", "0\r\n");
  fs::resize_file(dir / "huge.srt", (64ull << 20) + 1);
  for (const char* name : {"folder", "pipe", "zero", "huge"}) {
    rig.messages.shown.clear();
    open(dir / (std::string(name) + ".srt"));
    EXPECT_EQ(rig.messages.texts(),
              std::vector<std::string>{
                  "The subtitle file cannot be read: it is not an ordinary file, or it is larger than 64 MB."})
        << name;
    EXPECT_EQ(s.Document.rowCount(), 2) << name;
    EXPECT_EQ(s.Document.row(0).Subtitle, "Hello") << name;
    EXPECT_FALSE(fs::exists(dir / (std::string(name) + ".dat"))) << name;
  }
}

// The old text beside the companion of a later save, as a save stopped
// between its two files once left them: the companion is not used, and the
// user is told.
TEST_F(SubtitleFiles, ACompanionOfAnotherSaveIsNotUsedAndTheUserIsTold) {
  twoRows();
  save("film");
  const std::string firstText = Slurp(dir / "film.srt");
  s.Document.entries()[1].Place.X = 77;
  rig.addRow(5000, 6000, "third");
  save("film");
  Spit(dir / "film.srt", firstText);
  rig.messages.shown.clear();
  open(dir / "film.srt");
  EXPECT_EQ(rig.messages.texts(),
            std::vector<std::string>{"The position and style file (.dat) beside this subtitle file belongs to another "
                                     "save; the subtitles were given the current position and style."});
  ASSERT_EQ(s.Document.rowCount(), 2);
  EXPECT_EQ(s.Document.entries()[0].Tag, -1);
  EXPECT_EQ(s.Document.entries()[1].Place.DrawLevel, 240);
}

TEST_F(SubtitleFiles, ASaveThatCannotCompleteLeavesTheOldFiles) {
  Spit(dir / "film.dat", std::string(kCompanionRecordSize, '\0'));
  fs::create_directories(dir / "film.srt");  // the text file cannot take its place
  twoRows();
  try {
    save("film");
    FAIL() << "the save reported success";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("film.srt"), std::string::npos);
  }
  EXPECT_EQ(fs::file_size(dir / "film.dat"), kCompanionRecordSize);
  EXPECT_EQ(FileCount(dir), 1u);
}

TEST_F(SubtitleFiles, DialogFoldersStartAtHomeAndFollowTheChoice) {
  Spit(dir / "film.srt", "");
  open(dir / "film.srt");
  EXPECT_EQ(rig.dialogs.startFolders.back(), (rig.folder.path() / "home").string());
  EXPECT_EQ(rig.dialogs.filters.back(), "SubTitle Files(*.srt;*.vtt;*.ass;*.ssa);|*.srt;*.vtt;*.ass;*.ssa;");
  EXPECT_EQ(rig.settings.readString("OpenDialog2", "InitialDir", ""), dir.string());
  save("out");
  // Saving starts in the open video's folder until a save remembers one.
  EXPECT_EQ(rig.dialogs.startFolders.back(), rig.folder.path().string());
  EXPECT_EQ(rig.dialogs.filters.back(), "Subtitle Files(*.srt);|*.srt;");
  EXPECT_EQ(rig.settings.readString("SaveDialog1", "InitialDir", ""), dir.string());
  // Cancelling writes nothing.
  rig.settings.writeString("SaveDialog1", "InitialDir", "/elsewhere");
  c.SaveSubtitleFileAs();
  EXPECT_EQ(rig.settings.readString("SaveDialog1", "InitialDir", ""), "/elsewhere");
  EXPECT_EQ(rig.dialogs.startFolders.back(), "/elsewhere");
}

TEST_F(SubtitleFiles, AFileWithoutSubtitlesIsRefusedNamingItAndChangesNothing) {
  for (const char* bytes : {"", "garbage, not a subtitle\r\nat all\r\n", "\r\n\r\n"}) {
    Rig r;
    r.openVideo();
    r.addRow(1000, 2500, "Kept");
    const fs::path file = r.folder.path() / "garbage.srt";
    Spit(file, bytes);
    r.dialogs.nextSubtitle = file.string();
    r.controller.OpenSubtitleFile();
    ASSERT_EQ(r.state.Document.rowCount(), 1) << bytes;
    EXPECT_EQ(r.state.Document.row(0).Subtitle, "Kept");
    EXPECT_EQ(r.lastMessage(), file.string() +
                                   "\n\nNo subtitle was found in this file; the subtitle list was not changed.");
    EXPECT_FALSE(fs::exists(r.folder.path() / "garbage.dat")) << "nothing is written to disk";
  }
}

TEST_F(SubtitleFiles, TheSaveDialogProposesTheVideosNameInTheRememberedFolder) {
  // The video is clip.avi in the rig's folder; nothing remembered yet.
  rig.dialogs.nextSave = std::nullopt;
  c.SaveSubtitleFile();
  EXPECT_EQ(rig.dialogs.proposedNames.back(), "clip.srt");
  EXPECT_EQ(rig.dialogs.startFolders.back(), rig.folder.path().string());
  save("out");
  c.SaveSubtitleFileAs();
  EXPECT_EQ(rig.dialogs.startFolders.back(), dir.string());
}

TEST_F(SubtitleFiles, ASettingsFileThatCannotBeWrittenNeverStopsASave) {
  twoRows();
  // The settings file is a link into a folder that does not exist: it reads
  // as empty and every write to it fails.
  fs::remove(rig.folder.path() / "orlisk.ini");
  fs::create_symlink(rig.folder.path() / "missing" / "orlisk.ini", rig.folder.path() / "orlisk.ini");
  ASSERT_THROW(rig.settings.writeString("SaveDialog1", "InitialDir", "/x"), std::exception);
  rig.dialogs.nextSave = (dir / "kept").string();
  EXPECT_TRUE(c.SaveSubtitleFile());
  EXPECT_TRUE(fs::exists(dir / "kept.srt"));
  EXPECT_TRUE(fs::exists(dir / "kept.dat"));
}

TEST_F(SubtitleFiles, SavingRefusesWhileWriting) {
  s.IsWriting = true;
  save("film");
  EXPECT_EQ(rig.lastMessage(), "The subtitles are written to the video. please first stop writing.");
  EXPECT_FALSE(fs::exists(dir / "film.srt"));
}

// Ctrl+S, the menu item, the skin's button and the error handler's offer:
// a list read from or saved to a file goes back to that file.
TEST_F(SubtitleFiles, AListWithAFileIsSavedToItWithoutADialogAndSaveAsAsks) {
  Spit(dir / "read.srt", "0\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n \r\n");
  open(dir / "read.srt");
  rig.addRow(3000, 4000, "added");
  const std::size_t dialogs = rig.dialogs.proposedNames.size();
  rig.messages.shown.clear();
  ASSERT_TRUE(c.SaveSubtitleFile());
  EXPECT_EQ(rig.dialogs.proposedNames.size(), dialogs);
  EXPECT_TRUE(rig.messages.shown.empty()) << "no overwrite question for the list's own file";
  EXPECT_EQ(Slurp(dir / "read.srt"),
            "0\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n \r\n1\r\n00:00:03,000 --> 00:00:04,000\r\nadded\r\n \r\n");
  EXPECT_EQ(fs::file_size(dir / "read.dat"), 2 * kCompanionRecordSize);
  EXPECT_EQ(FileCount(dir), 2u);
  EXPECT_FALSE(s.Document.hasUnsavedChanges());

  saveAs("copy");
  EXPECT_EQ(rig.dialogs.proposedNames.size(), dialogs + 1);
  EXPECT_EQ(s.SubtitlePath, (dir / "copy.srt").string());
  EXPECT_EQ(Slurp(dir / "copy.srt"), Slurp(dir / "read.srt"));
}

TEST_F(SubtitleFiles, TheListsOwnCompanionIsStillCheckedBeforeItIsReplaced) {
  twoRows();
  save("film");
  const std::string video = std::string(kAviHeader, 16) + std::string(1000, 'v');
  Spit(dir / "film.dat", video);
  rig.messages.answers = {false};
  EXPECT_FALSE(c.SaveSubtitleFile());
  EXPECT_EQ(rig.lastMessage(),
            "A file that is not a subtitle companion already has the name of the companion file (.dat) to be "
            "written. Replace it?");
  EXPECT_EQ(Slurp(dir / "film.dat"), video);
}

// F3 without F4, or an end set before the begin: offered an end before saving.
struct WithoutEnd : SubtitleFiles {
  static constexpr const char* kQuestion =
      "Some subtitles have no end time, and players leave such subtitles out. Yes gives each of them the begin of "
      "the next subtitle or 3 seconds after its own begin, whichever comes first; No saves them as they are; "
      "Cancel goes back without saving.\n\nSubtitles without an end: 3";
  void SetUp() override {
    SubtitleFiles::SetUp();
    rig.addRow(0, 0, "never timed");       // kept: no begin either
    rig.addRow(5400, 0, "next is near");   // -> 6000, the next begin
    rig.addRow(6000, 7000, "timed");
    rig.addRow(9000, 8000, "end before");  // -> 12000, 3 s on
    rig.addRow(20000, 0, "last");          // -> 23000
  }
  std::vector<std::string> times() const {
    std::vector<std::string> out;
    for (const SubtitleRow& row : s.Document.rows()) out.push_back(row.Time);
    return out;
  }
};

TEST_F(WithoutEnd, YesGivesEachTheNextBeginOrThreeSecondsAsOneUndoStep) {
  c.history().startFresh();
  rig.messages.saveAnswers = {MessageBoxes::SaveAnswer::Save};
  save("film");
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_EQ(rig.messages.shown[0].kind, "save question");
  EXPECT_EQ(rig.lastMessage(), kQuestion);
  const std::vector<std::string> given = {
      "00:00:00,000 --> 00:00:00,000", "00:00:05,400 --> 00:00:06,000", "00:00:06,000 --> 00:00:07,000",
      "00:00:09,000 --> 00:00:12,000", "00:00:20,000 --> 00:00:23,000"};
  EXPECT_EQ(times(), given);
  EXPECT_EQ(s.Document.entries()[1].EndTime, 6000);
  EXPECT_EQ(s.Document.entries()[4].EndTime, 23000);
  EXPECT_NE(Slurp(dir / "film.srt").find("00:00:05,400 --> 00:00:06,000"), std::string::npos);
  EXPECT_FALSE(s.Document.hasUnsavedChanges());

  EXPECT_EQ(c.history().undoCount(), 1u);
  c.Undo();
  EXPECT_EQ(times()[1], "00:00:05,400 --> 00:00:00,000");
  EXPECT_EQ(s.Document.entries()[3].EndTime, 8000);
}

TEST_F(WithoutEnd, NoSavesThemAsTheyAreAndCancelSavesNothing) {
  const std::vector<std::string> before = times();
  rig.messages.saveAnswers = {MessageBoxes::SaveAnswer::Cancel};
  rig.dialogs.nextSave = (dir / "film").string();
  EXPECT_FALSE(c.SaveSubtitleFile());
  EXPECT_TRUE(rig.dialogs.proposedNames.empty()) << "no dialog after Cancel";
  EXPECT_FALSE(fs::exists(dir / "film.srt"));

  rig.messages.saveAnswers = {MessageBoxes::SaveAnswer::Discard};
  EXPECT_TRUE(c.SaveSubtitleFile());
  EXPECT_EQ(times(), before);
  EXPECT_NE(Slurp(dir / "film.srt").find("00:00:05,400 --> 00:00:00,000"), std::string::npos);
}

TEST_F(WithoutEnd, CancelStopsTheSaveBeforeClosing) {
  rig.messages.saveAnswers = {MessageBoxes::SaveAnswer::Save, MessageBoxes::SaveAnswer::Cancel};
  EXPECT_FALSE(c.FormCloseQuery());
  EXPECT_EQ(rig.reader.closes, 0);
  EXPECT_TRUE(rig.dialogs.proposedNames.empty());
}

}  // namespace
}  // namespace orlisk::testing

namespace orlisk::testing {
namespace {

TEST_F(SubtitleFiles, ExportWritesTheChosenFormatAsksBeforeReplacingAndLeavesTheListAlone) {
  twoRows();
  const std::string before = s.SubtitlePath;
  struct Row { ExportFormat Format; const char* Typed; const char* Written; const char* Starts; };
  // The first row's colours differ from the style in use, which the style sheet gives first.
  for (const Row& row : {Row{ExportFormat::WebVtt, "web", "web.vtt", "WEBVTT\n\nSTYLE\n::cue { color: #ffffff; text-shadow: #0000ff "},
                         Row{ExportFormat::Ass, "script.ASS", "script.ASS", "[Script Info]\r\n"},
                         Row{ExportFormat::SubRipFromOne, "site.srt", "site.srt", "1\n00:00:01,000 --> 00:00:02,500\nHello\n"}}) {
    rig.dialogs.nextSave = (dir / row.Typed).string();
    EXPECT_TRUE(c.ExportSubtitles(row.Format));
    EXPECT_EQ(Slurp(dir / row.Written).rfind(row.Starts, 0), 0u) << Slurp(dir / row.Written);
  }
  EXPECT_FALSE(fs::exists(dir / "site.dat"));
  EXPECT_EQ(s.SubtitlePath, before);
  EXPECT_TRUE(s.Document.hasUnsavedChanges());
  rig.messages.answers = {false};
  rig.dialogs.nextSave = (dir / "web.vtt").string();
  Spit(dir / "web.vtt", "old");
  EXPECT_FALSE(c.ExportSubtitles(ExportFormat::WebVtt));
  EXPECT_EQ(rig.lastMessage(), "File already exists, overwrite?");
  EXPECT_EQ(Slurp(dir / "web.vtt"), "old");
  c.ClearSubtitles();
  EXPECT_FALSE(c.ExportSubtitles(ExportFormat::Ass));
  EXPECT_EQ(rig.lastMessage(), "There are no subtitles to export.");
}

TEST_F(SubtitleFiles, AWebVttFileIsReadWithItsPlacesAndOneMessageSaysWhatWasLeftOut) {
  Spit(dir / "clip.vtt", "WEBVTT\n\nNOTE hi\n\n00:01.000 --> 00:02.000 line:50% position:25% align:left\n<i>Half</i>\n");
  rig.messages.shown.clear();
  open(dir / "clip.vtt");
  ASSERT_EQ(s.Document.rowCount(), 1);
  EXPECT_EQ(s.Document.row(0).Subtitle, "Half");
  EXPECT_EQ(s.Document.entries()[0].Place, (SubtitlePlacement{.X = 80, .Y = 120, .DrawLevel = 240}));
  EXPECT_EQ(rig.messages.texts(),
            std::vector<std::string>{"This subtitle file was read the way other players read it, with these repairs:\n"
                                     "Subtitles with formatting tags (left out; the style in use is drawn): 1\n"
                                     "Comments and notes (left out): 1"});
  EXPECT_FALSE(fs::exists(dir / "clip.dat"));
  save("clip.srt");  // a name is asked for: the .vtt stays as it was
  EXPECT_TRUE(fs::exists(dir / "clip.dat"));
  EXPECT_EQ(Slurp(dir / "clip.vtt").rfind("WEBVTT", 0), 0u);
  // A script that holds no event changes nothing.
  Spit(dir / "empty.ass", "[Script Info]\nPlayResX: 320\n\n[Events]\nComment: 0,0:00:00.00,0:00:01.00,,,0,0,0,,x\n");
  open(dir / "empty.ass");
  EXPECT_EQ(s.Document.rowCount(), 1);
  EXPECT_EQ(s.SubtitlePath, (dir / "clip.srt").string());
}

}  // namespace
}  // namespace orlisk::testing
