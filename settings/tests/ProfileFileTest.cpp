#include "settings/ProfileFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>

#include "files/SafeFile.h"
#include "tests/support/AsUserWithoutRoot.h"
#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

struct StringCase {
  const char* name;
  const char* fileText;
  const char* section;
  const char* key;
  const char* expected;
};

class ReadStringTest : public ::testing::TestWithParam<StringCase> {};

TEST_P(ReadStringTest, FollowsProfileRules) {
  TempFolder folder;
  WriteBytes(folder / "t.ini", GetParam().fileText);
  const ProfileFile profile(folder / "t.ini");
  EXPECT_EQ(profile.readString(GetParam().section, GetParam().key, "<default>"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ReadStringTest,
    ::testing::Values(
        StringCase{"Exact", "[Output]\nPath=/v\n", "Output", "Path", "/v"},
        StringCase{"NamesIgnoreCase", "[output]\nPATH=/v\n", "Output", "Path", "/v"},
        StringCase{"BlanksAroundNamesAndValue", "  [Output]  \r\n\t Path \t=  /my v  \r\n", "Output",
                   "Path", "/my v"},
        StringCase{"DoubleQuotes", "[s]\nk=\"  a b \"\n", "s", "k", "  a b "},
        StringCase{"SingleQuotes", "[s]\nk='x'\n", "s", "k", "x"},
        StringCase{"EmptyQuotes", "[s]\nk=\"\"\n", "s", "k", ""},
        StringCase{"UnpairedQuotes", "[s]\nk=\"x'\n", "s", "k", "\"x'"},
        StringCase{"LoneQuote", "[s]\nk=\"\n", "s", "k", "\""},
        StringCase{"EmptyValueIsNotTheDefault", "[s]\nk=\n", "s", "k", ""},
        StringCase{"EqualsInsideValue", "[s]\nk=a=b\n", "s", "k", "a=b"},
        StringCase{"MissingKey", "[s]\nother=1\n", "s", "k", "<default>"},
        StringCase{"MissingSection", "[t]\nk=1\n", "s", "k", "<default>"},
        StringCase{"KeyOfAnotherSection", "[t]\nk=1\n[s]\nj=2\n", "s", "k", "<default>"},
        StringCase{"SameKeyInTwoSections", "[AVI]\nCode=1\n[WMV]\nCode=37\n", "WMV", "Code", "37"},
        StringCase{"KeyWithoutEquals", "[s]\nk\n", "s", "k", "<default>"},
        StringCase{"CommentIsNoKey", "[s]\n;k=1\n", "s", ";k", "<default>"},
        StringCase{"FirstOfTwoKeys", "[s]\nk=1\nK=2\n", "s", "k", "1"},
        StringCase{"ByteOrderMark", "\xEF\xBB\xBF[s]\nk=1\n", "s", "k", "1"},
        StringCase{"NoLineEndAtAll", "[s]\nk=last", "s", "k", "last"},
        StringCase{"KeyBeforeAnySection", "k=1\n[s]\n", "s", "k", "<default>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileFileTest, MissingFileGivesDefaultsAndIsNotCreated) {
  TempFolder folder;
  const ProfileFile profile(folder / "none" / "t.ini");
  EXPECT_EQ(profile.readString("s", "k", "d"), "d");
  EXPECT_EQ(profile.readInteger("s", "k", 352), 352);
  EXPECT_TRUE(profile.readBool("s", "k", true));
  EXPECT_FALSE(std::filesystem::exists(folder / "none"));
}

TEST(ProfileFileTest, LongValuesAreCutTo2047Characters) {
  TempFolder folder;
  WriteBytes(folder / "t.ini", "[s]\nk=" + std::string(3000, 'v') + "\nnext=1\n");
  const ProfileFile profile(folder / "t.ini");
  EXPECT_EQ(profile.readString("s", "k", ""), std::string(kMaxProfileValue, 'v'));
  EXPECT_EQ(profile.readInteger("s", "next", 0), 1);
}

struct IntegerCase {
  const char* value;
  std::int32_t expected;  // with default 352
};

class ReadIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ReadIntegerTest, ReadsDecimalAndHexadecimal) {
  TempFolder folder;
  WriteBytes(folder / "t.ini", std::string("[Video]\nw=") + GetParam().value + "\n");
  EXPECT_EQ(ProfileFile(folder / "t.ini").readInteger("Video", "w", 352), GetParam().expected)
      << '"' << GetParam().value << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadIntegerTest,
    ::testing::Values(IntegerCase{"640", 640}, IntegerCase{"-1", -1}, IntegerCase{" 7 ", 7},
                      IntegerCase{"0x0000FF", 255}, IntegerCase{"0XfF", 255}, IntegerCase{"$10", 16},
                      IntegerCase{"\"12\"", 12}, IntegerCase{"16711680", 16711680},
                      IntegerCase{"", 352}, IntegerCase{"0x", 352}, IntegerCase{"12px", 352},
                      IntegerCase{"yes", 352}, IntegerCase{"99999999999", 352}, IntegerCase{"1.5", 352}));

struct BoolCase {
  const char* value;
  bool defaultValue;
  bool expected;
};

class ReadBoolTest : public ::testing::TestWithParam<BoolCase> {};

TEST_P(ReadBoolTest, AnyNonZeroNumberIsTrue) {
  TempFolder folder;
  WriteBytes(folder / "t.ini", std::string("[Color]\nBborder=") + GetParam().value + "\n");
  EXPECT_EQ(ProfileFile(folder / "t.ini").readBool("Color", "Bborder", GetParam().defaultValue),
            GetParam().expected)
      << '"' << GetParam().value << '"';
}

INSTANTIATE_TEST_SUITE_P(Values, ReadBoolTest,
                         ::testing::Values(BoolCase{"1", false, true}, BoolCase{"0", true, false},
                                           BoolCase{"-1", false, true}, BoolCase{"2", false, true},
                                           BoolCase{"yes", true, true}, BoolCase{"no", false, false},
                                           BoolCase{"true", false, false}, BoolCase{"", true, true}));

struct WriteCase {
  const char* name;
  const char* before;
  const char* section;
  const char* key;
  const char* value;
  const char* after;
};

class WriteStringTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteStringTest, ChangesOnlyTheKeysLine) {
  TempFolder folder;
  WriteBytes(folder / "t.ini", GetParam().before);
  ProfileFile profile(folder / "t.ini");
  profile.writeString(GetParam().section, GetParam().key, GetParam().value);
  EXPECT_EQ(ReadBytes(folder / "t.ini"), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, WriteStringTest,
    ::testing::Values(
        WriteCase{"ReplacesInPlace", "; mine\n[A]\n  x = 1  ; kept? no\ny=2\n\n[B]\nx=3\n", "a", "X", "9",
                  "; mine\n[A]\n  x =9\ny=2\n\n[B]\nx=3\n"},
        WriteCase{"KeepsCrLf", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n", "B", "z", "3",
                  "[A]\r\nx=1\r\n[B]\r\ny=2\r\nz=3\r\n"},
        WriteCase{"AddsKeyAtEndOfSectionBeforeBlankLines", "[A]\nx=1\n\n\n[B]\ny=2\n", "A", "new", "v",
                  "[A]\nx=1\nnew=v\n\n\n[B]\ny=2\n"},
        WriteCase{"AddsKeyUnderEmptySection", "[A]\n[B]\n", "A", "k", "v", "[A]\nk=v\n[B]\n"},
        WriteCase{"AddsSectionAtEnd", "[A]\r\nx=1\r\n", "Color", "Bborder", "0",
                  "[A]\r\nx=1\r\n\r\n[Color]\r\nBborder=0\r\n"},
        WriteCase{"FinishesLastLineFirst", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2\n"},
        WriteCase{"AddsSectionToLineWithoutEnd", "[A]\nx=1", "B", "y", "2", "[A]\nx=1\n\n[B]\ny=2\n"},
        WriteCase{"KeepsByteOrderMark", "\xEF\xBB\xBFk=0\n[s]\nk=1\n", "S", "k", "2",
                  "\xEF\xBB\xBFk=0\n[s]\nk=2\n"},
        WriteCase{"AddsKeyUnderSectionAfterMark", "\xEF\xBB\xBF[s]\n", "s", "k", "1",
                  "\xEF\xBB\xBF[s]\nk=1\n"},
        WriteCase{"LineBreaksInValueCannotAddKeys", "[s]\n", "s", "k", "a\r\nevil=1", "[s]\nk=a  evil=1\n"},
        WriteCase{"EmptyFile", "", "s", "k", "v", "[s]\nk=v\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileFileTest, FirstWriteCreatesFileAndFolders) {
  TempFolder folder;
  ProfileFile profile(folder / "config" / "deep" / "orlisk.ini");
  profile.writeInteger("Color", "borderColor", 16711680);
  profile.writeBool("Update", "Bool", false);
  profile.writeInteger("Video", "wh", -1);

  EXPECT_EQ(ReadBytes(profile.path()),
            "[Color]\nborderColor=16711680\n\n[Update]\nBool=0\n\n[Video]\nwh=-1\n");
  EXPECT_EQ(profile.readInteger("color", "BORDERCOLOR", 0), 16711680);
  EXPECT_FALSE(profile.readBool("Update", "Bool", true));
  EXPECT_EQ(profile.readInteger("Video", "wh", 0), -1);
  // Only the settings file is left in the folder: no temporary files.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(profile.path().parent_path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(ProfileFileTest, EveryReadSeesTheFileAsItIsNow) {
  TempFolder folder;
  ProfileFile profile(folder / "t.ini");
  profile.writeString("s", "k", "first");
  WriteBytes(profile.path(), "[s]\nk=edited by hand\n");
  EXPECT_EQ(profile.readString("s", "k", ""), "edited by hand");
}

TEST(ProfileFileTest, RefusedWriteNamesTheFileAndKeepsEarlierValues) {
  TempFolder folder;
  ProfileFile written(folder / "ok.ini");
  written.writeString("s", "k", "kept");
  // A regular file where a folder should be: no user, not even root, can create the file.
  WriteBytes(folder / "blocker", "x");
  const auto refusedPath = folder / "blocker" / "orlisk.ini";
  ProfileFile refused(refusedPath);

  try {
    refused.writeString("s", "k", "v");
    FAIL() << "the write was not refused";
  } catch (const ProfileWriteError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + refusedPath.string());
  }
  EXPECT_EQ(written.readString("s", "k", ""), "kept");
  EXPECT_EQ(ReadBytes(folder / "blocker"), "x");
}

TEST(ProfileFileTest, WritesThroughASymbolicLinkToItsTarget) {
  TempFolder folder;
  WriteBytes(folder / "real" / "t.ini", "[s]\nk=1\n");
  std::filesystem::create_symlink(folder / "real" / "t.ini", folder / "link.ini");
  ProfileFile profile(folder / "link.ini");
  profile.writeString("s", "k", "2");
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.ini"));
  EXPECT_EQ(ReadBytes(folder / "real" / "t.ini"), "[s]\nk=2\n");
}

struct SpecialSettingsCase {
  const char* name;
  std::function<void(const std::filesystem::path&)> make;
};

class SpecialSettingsFile : public ::testing::TestWithParam<SpecialSettingsCase> {};

// Something other than a small regular file named orlisk.ini: every read gives
// its default at once, and a write is refused rather than replacing it.
TEST_P(SpecialSettingsFile, ReadsAsMissingAndIsNeverWrittenOver) {
  TempFolder folder;
  const auto file = folder / "orlisk.ini";
  GetParam().make(file);
  const auto before = std::filesystem::symlink_status(file).type();
  ProfileFile profile(file);
  EXPECT_EQ(profile.readString("Output", "Path", "d"), "d");
  EXPECT_EQ(profile.readInteger("Video", "w", 352), 352);
  try {
    profile.writeString("Output", "Path", "/v");
    ADD_FAILURE() << "written";
  } catch (const ProfileWriteError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + file.string());
  }
  EXPECT_EQ(std::filesystem::symlink_status(file).type(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SpecialSettingsFile,
    ::testing::Values(
        SpecialSettingsCase{"Fifo", [](const auto& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        SpecialSettingsCase{"Folder", [](const auto& p) { std::filesystem::create_directory(p); }},
        SpecialSettingsCase{"LinkToDevZero", [](const auto& p) { std::filesystem::create_symlink("/dev/zero", p); }},
        SpecialSettingsCase{"AboveTheCap",
                            [](const auto& p) {
                              WriteBytes(p, "[Output]\nPath=/big\n");
                              std::filesystem::resize_file(p, kMaxProfileFileBytes + 1);
                            }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileFileTest, AFileAtTheCapIsStillRead) {
  TempFolder folder;
  std::string bytes(kMaxProfileFileBytes - 20, '\n');
  bytes += "[Output]\nPath=/far\n";
  bytes.resize(kMaxProfileFileBytes, ' ');
  WriteBytes(folder / "t.ini", bytes);
  EXPECT_EQ(ProfileFile(folder / "t.ini").readString("Output", "Path", "d"), "/far");
}

TEST(ProfileFileTest, AReadOnlySettingsFileIsRefusedWithTheSettingsMessage) {
  TempFolder folder;
  std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
  const auto file = folder / "orlisk.ini";
  WriteBytes(file, "[s]\nk=mine\n");
  ::chmod(file.c_str(), 0444);
  const auto outcome = testing::RunWithoutRoot([&] {
    try {
      ProfileFile(file).writeString("s", "k", "other");
      return 1;
    } catch (const ProfileWriteError& error) {
      return std::string(error.what()) == "Unable to write to " + file.string() ? 0 : 2;
    }
  });
  if (!outcome.result) GTEST_SKIP() << outcome.skipReason;
  EXPECT_EQ(*outcome.result, 0);
  EXPECT_EQ(ReadBytes(file), "[s]\nk=mine\n");
}

}  // namespace
}  // namespace orlisk
