// The two language files shipped with the program hold every text the program
// looks up, and the Chinese one reads back as the Chinese it was written in.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "app/language/Language.h"
#include "settings/ProfileFile.h"
#include "subtitles/TextEncoding.h"

namespace orlisk {
namespace {

struct Entry {
  const char* section;
  const char* key;
};

const std::vector<Entry>& Entries() {
  static const std::vector<Entry> entries = [] {
    std::vector<Entry> list;
    for (const char* key :
         {"OpenVideoFiles", "VideoFilePlay", "VideoFilePlayAdd", "OpenVideoFilesError", "OpenFile1Click",
          "OpenFile2Click", "ReadSubtitleinfo", "SavesubtoFiles", "StrTimetoint", "SetSubEndtime",
          "insertsubtitle3", "insertsubtitle", "FormCloseQuery", "StopWriteSubtovideo", "Exception",
          "Writesubtitle", "WritesubtitletoVideo", "SavesubCompanionExists", "SaveBeforeClose", "SaveBeforeReplace",
          "ReadSubtitleNoBlocks", "SaveFailed", "SaveSubtitlesWithoutEnd", "SaveSubtitlesWithoutEndCount",
          "WriteStopped", "WriteOutputNotCreated", "UpdateServerUnreachable", "ReadSubtitleRepaired",
          "ReadSubtitleRepairNoNumber", "ReadSubtitleRepairCrLineEnds", "ReadSubtitleRepairOneDigitFields",
          "ReadSubtitleRepairNoMilliseconds", "ReadSubtitleRepairShortMilliseconds",
          "ReadSubtitleRepairTextAfterTimes", "ReadSubtitleRepairBlankLinesInside", "ReadSubtitleRepairNoTimeLine",
          "ReadSubtitleRepairLinesOutside", "ReadSubtitleRepairTimesReadAsZero"})
      list.push_back({"messagedlg", key});
    for (const char* section :
         {"About", "ContactUS", "Content", "Exit", "Inspectionupdate", "OurWebSite", "Stop", "WriteSubtitle",
          "Undo", "Redo"})
      list.push_back({section, "Caption"});
    list.insert(list.end(), {{"WindowTitle", "Untitled"}, {"LV", "Caption"}, {"LV", "Subitem"},
                             {"LV", "Subitem1"}, {"ed_text", "text"}, {"Hint", "cb_prsub"}});
    // The captions of the windows, by window and control name.
    const std::pair<const char*, std::vector<const char*>> captions[] = {
        {"MessageBox", {"Information", "Confirm"}},
        {"Tfm_main",
         {"OpenFile1", "OpenObj1", "SaveProject1", "SaveProjectAs1", "Insert", "Editsubtitle", "RemoveSubtitle1",
          "ClearSubtitle1", "cb_prsub"}},
        {"Tfm_setfont",
         {"Caption", "grpSubtitle", "Button1", "Button2", "cb_Bborder", "Button3", "Button4", "lblOneForAll",
          "lblBackdrop", "cmbBackdropItem0", "cmbBackdropItem1", "cmbBackdropItem2", "lblOpacity", "grpApply",
          "rbApplyAtHand", "rbApplyAll"}},
        {"FontDialog1", {"Caption", "lblColour", "btnColour"}},
        {"Tfm_set",
         {"Caption", "pageGeneral", "pageAvi", "pageMpeg", "pageWmv", "rbSizeOriginal", "rbSizeCustom",
          "grpOutputPath", "cb_open", "lblFramerateAVI", "lblAVICodec", "btnConfigureVideoCodec", "grpAudioFormat",
          "rgMPEG", "lblFramerateMPEG", "lblVideoBitrateMPEG", "lblCnannelsMPEG", "cmbCnannelsMPEGItem0",
          "cmbCnannelsMPEGItem1", "lblAudioBitrateMPEG", "lblFrequencyMPEG", "grpWMVFormat",
          "btnSetFormatLikeSample", "btnConvert", "btnCancel"}},
        {"AviCodecDialog", {"grpRate", "grpRateLossless", "rbQuality", "rbBitRate", "lblKeyFrames"}},
        {"Tfm_dir", {"Caption", "btn_ok", "btn_cancel"}},
        {"Tfm_about", {"Caption", "lbl_web", "btn_contact", "btn_close"}},
        {"Tfm_update", {"Caption", "Button1", "Button2", "ck_update", "Installed", "Available"}},
    };
    for (const auto& [section, keys] : captions)
      for (const char* key : keys) list.push_back({section, key});
    // Recovery after a crash.
    for (const char* key : {"RecoverJournal", "RecoverJournalVideo", "RecoverJournalNoVideo", "RecoverJournalTime",
                            "RecoverJournalCount", "RecoverJournalDamaged", "RecoverJournalNewer",
                            "RecoverJournalForeign", "RecoverJournalWriteFailed"})
      list.push_back({"messagedlg", key});
    // Reading subtitle files in another encoding.
    list.insert(list.end(),
                {{"messagedlg", "ReopenLosesChanges"}, {"ReopenWithEncoding", "Caption"}, {"ReopenWithEncoding", "Title"}});
    for (const char* key : {"Automatic", "Label", "UTF-8", "WINDOWS-1250", "ISO-8859-2", "WINDOWS-1251", "KOI8-R",
                            "KOI8-U", "ISO-8859-5", "WINDOWS-1252", "ISO-8859-15", "WINDOWS-1253", "ISO-8859-7",
                            "WINDOWS-1254", "WINDOWS-1255", "WINDOWS-1256", "WINDOWS-1257", "WINDOWS-1258",
                            "WINDOWS-874", "GB18030", "BIG5", "CP932", "EUC-JP", "UHC"})
      list.push_back({"Encodings", key});
    return list;
  }();
  return entries;
}

const std::string kAbsent = "\n";

TEST(ShippedLanguage, BothFilesHoldEveryText) {
  for (const char* name : {"languageEn.ini", "languageCN.ini"}) {
    const ProfileFile file(std::filesystem::path(ORLISK_DATA_DIR) / name);
    for (const Entry& entry : Entries()) {
      const std::string value = file.readString(entry.section, entry.key, kAbsent);
      EXPECT_NE(value, kAbsent) << name << " lacks " << entry.section << "/" << entry.key;
      EXPECT_FALSE(value.empty()) << name << " " << entry.section << "/" << entry.key;
    }
  }
}

TEST(ShippedLanguage, ChineseTextsDecodeFromCodePage936) {
  const ProfileFile file(std::filesystem::path(ORLISK_DATA_DIR) / "languageCN.ini");
  const Language chinese(ORLISK_DATA_DIR, kLangChineseSimplified);
  for (const Entry& entry : Entries()) {
    const std::string bytes = file.readString(entry.section, entry.key, kAbsent);
    const std::string shown = chinese.text(entry.section, entry.key, "English");
    // A value that happened to be valid UTF-8 as well would show as mojibake.
    EXPECT_EQ(shown, ConvertToUtf8(bytes, "GBK")) << entry.section << "/" << entry.key;
    EXPECT_NE(shown, bytes) << entry.section << "/" << entry.key << " is not Chinese";
  }
}

TEST(ShippedLanguage, EnglishTextsArePlainAscii) {
  const Language english(ORLISK_DATA_DIR, kLangEnglishUs);
  EXPECT_EQ(english.text("LV", "Caption", "Time"), "No");
  for (const Entry& entry : Entries())
    for (const unsigned char c : english.text(entry.section, entry.key, ""))
      EXPECT_LT(c, 0x80) << entry.section << "/" << entry.key;
}

}  // namespace
}  // namespace orlisk
