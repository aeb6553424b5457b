// Subtitle files: the SubRip text file with its companion of records, opened
// from and saved to disk. Reading replaces the list only once both files were
// read whole; saving replaces the old files only once both were written.
#include <filesystem>

#include "FontId.h"
#include "SubtitleFileCommands.h"
#include "SubtitleFileIO.h"
#include "settings/WholeFile.h"
#include "subtitles/SubRipFile.h"

namespace orlisk {

namespace fs = std::filesystem;

namespace {

constexpr const char* kOpenSubtitleFilter = "SubTitle Files(*.srt);|*.srt;";
constexpr const char* kSaveSubtitleFilter = "Subtitle Files(*.srt);|*.srt;";
constexpr const char* kForeignCompanionKey = "SavesubCompanionExists";
constexpr const char* kForeignCompanionQuestion =
    "A file that is not a subtitle companion already has the name of the companion file "
    "(.dat) to be written. Replace it?";

fs::path CompanionPathFor(const std::string& subtitlePath) {
  return fs::path(subtitlePath).replace_extension(".dat");
}

}  // namespace

void SubtitleFileCommands::OpenSubtitleFile() {
  MainState& s = c_.Basics.State;
  if (s.VideoPath.empty()) {
    c_.Basics.ShowInformation("OpenFile1Click", "please first add video file");
    return;
  }
  if (s.IsPlaying) {
    c_.Basics.ShowInformation("OpenFile2Click", "please first stop play.");
    return;
  }
  std::optional<std::string> chosen =
      c_.Dialogs.openSubtitle(c_.Basics.DialogFolder("OpenDialog2"), kOpenSubtitleFilter);
  if (!chosen) return;
  c_.Basics.RememberDialogFolder("OpenDialog2", *chosen);
  ReadSubtitleFile(*chosen);
}

std::string SubtitleFileCommands::ReadCompanionFor(const std::string& subtitlePath) const {
  fs::path companion = CompanionPathFor(subtitlePath);
  std::error_code error;
  if (!fs::exists(companion, error)) return {};
  // A video that happens to carry the companion's name gives no records.
  if (!IsCompanionFile(companion)) return {};
  return ReadWholeFile(companion);
}

void SubtitleFileCommands::ReadSubtitleFile(const std::string& path) {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting()) return;
  std::error_code error;
  if (!fs::exists(path, error)) {
    c_.Basics.Messages.informationWithHelp(c_.Basics.Lang.MessageText("ReadSubtitleinfo", "Not find subtitle file."));
    return;
  }

  std::string text = DecodeText(ReadWholeFile(path),
                                s.ChineseUI ? LegacyCodePage::Gb18030 : LegacyCodePage::Windows1252);
  std::string companion = ReadCompanionFor(path);

  SubRipReadContext context;
  context.SubtitleX = s.SubtitleX;
  context.SubtitleY = s.SubtitleY;
  context.FontHeight = s.Font.Height;
  context.TextColor = s.TextColor;
  context.BorderColor = s.BorderColor;
  context.FontRef = FontId(s.Font);
  context.VideoWidth = c_.Reader.GetWidth();
  const SubtitleFont font = s.Font;
  context.TextWidth = [this, font](const std::string& line) { return c_.TextWidth(line, font); };
  SubRipReadResult result = ReadSubRip(text, companion, context);

  CreateEmptyFileIfMissing(CompanionPathFor(path));
  c_.List.selectRow(-1);
  s.Document.replaceAll(std::move(result.Rows), std::move(result.Entries));
  s.SubtitleCursor = s.Document.rowCount();
}

void SubtitleFileCommands::SaveSubtitleFile() {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting()) return;
  std::optional<std::string> chosen =
      c_.Dialogs.saveSubtitle(c_.Basics.DialogFolder("SaveDialog1"), kSaveSubtitleFilter);
  if (!chosen) return;
  c_.Basics.RememberDialogFolder("SaveDialog1", *chosen);

  fs::path textFile = *chosen + ".srt";
  fs::path companionFile = *chosen + ".dat";
  std::error_code error;
  if (fs::exists(textFile, error) &&
      !c_.Basics.Messages.informationQuestion(
          c_.Basics.Lang.MessageText("SavesubtoFiles", "File already exists, overwrite?")))
    return;
  if (fs::exists(companionFile, error) && !IsCompanionFile(companionFile) &&
      !c_.Basics.Messages.informationQuestion(
          c_.Basics.Lang.MessageText(kForeignCompanionKey, kForeignCompanionQuestion)))
    return;

  const SubtitleDocument& doc = s.Document;
  std::string textBytes = EncodeText(WriteSubRipText(doc.rows()));
  // Each record carries its own number as its tag. Reading gives a block the
  // record whose tag is the block's number; the tag an entry holds in memory
  // (the cursor at its last capture, often its position + 1) would send every
  // block to the wrong record and lose the places and styles the user set.
  std::vector<SubtitleEntry> records = doc.entries();
  for (std::size_t i = 0; i < records.size(); ++i) records[i].Tag = static_cast<std::int32_t>(i);
  std::string companionBytes = WriteCompanion(records, doc.rowCount());
  ReplaceFilesTogether({{companionFile, std::move(companionBytes)}, {textFile, std::move(textBytes)}});
}

}  // namespace orlisk
