// Subtitle files: the SubRip text file with its companion of records, opened
// from and saved to disk. Reading replaces the list only once both files were
// read whole; saving replaces the old files only once both were written.
#include <filesystem>

#include "FontId.h"
#include "MainController.h"
#include "SubtitleFileIO.h"
#include "settings/SafeFile.h"
#include "settings/SubtitleFiles.h"

namespace orlisk {

namespace fs = std::filesystem;

namespace {

constexpr const char* kOpenSubtitleFilter = "SubTitle Files(*.srt);|*.srt;";
constexpr const char* kSaveSubtitleFilter = "Subtitle Files(*.srt);|*.srt;";
constexpr const char* kForeignCompanionKey = "SavesubCompanionExists";
constexpr const char* kForeignCompanionQuestion =
    "A file that is not a subtitle companion already has the name of the companion file "
    "(.dat) to be written. Replace it?";

}  // namespace

void MainController::OpenSubtitleFile() {
  MainState& s = c_.State;
  if (s.VideoPath.empty()) {
    ShowInformation("OpenFile1Click", "please first add video file");
    return;
  }
  if (s.IsPlaying) {
    ShowInformation("OpenFile2Click", "please first stop play.");
    return;
  }
  std::optional<std::string> chosen =
      c_.Dialogs.openSubtitle(DialogFolder("OpenDialog2"), kOpenSubtitleFilter);
  if (!chosen) return;
  RememberDialogFolder("OpenDialog2", *chosen);
  ReadSubtitleFile(*chosen);
}

void MainController::ReadSubtitleFile(const std::string& path) {
  MainState& s = c_.State;
  if (RefuseWhileWriting()) return;
  std::error_code error;
  if (!fs::exists(path, error)) {
    c_.Messages.informationWithHelp(c_.Lang.MessageText("ReadSubtitleinfo", "Not find subtitle file."));
    return;
  }

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
  SubtitleFilesRead read;
  try {
    read = ReadSubtitleFiles(path, s.ChineseUI ? LegacyCodePage::Gb18030 : LegacyCodePage::Windows1252, context);
  } catch (const FileReadError& error) {
    // A pipe, device or huge file in the subtitle file's place; other errors
    // of the system go to the application's handler as before.
    if (error.problem() != FileProblem::NotRegular && error.problem() != FileProblem::TooLarge) throw;
    ShowInformation("ReadSubtitleRefused",
                    "The subtitle file cannot be read: it is not an ordinary file, or it is larger than 64 MB.");
    return;
  }
  if (read.NoBlocks) {
    ShowInformation("ReadSubtitleNoBlocks", "No subtitle was found in this file; the subtitle list was not changed.");
    return;
  }

  CreateEmptyFileIfMissing(CompanionPathFor(path));
  c_.List.selectRow(-1);
  s.Document.replaceAll(std::move(read.Result.Rows), std::move(read.Result.Entries));
  s.SubtitleCursor = s.Document.rowCount();
  if (read.Result.StaleCompanion) {
    ShowInformation("ReadSubtitleStaleCompanion",
                    "The position and style file (.dat) beside this subtitle file belongs to another save; "
                    "the subtitles were given the current position and style.");
  }
}

void MainController::SaveSubtitleFile() {
  MainState& s = c_.State;
  if (RefuseWhileWriting()) return;
  std::optional<std::string> chosen =
      c_.Dialogs.saveSubtitle(DialogFolder("SaveDialog1"), kSaveSubtitleFilter);
  if (!chosen) return;
  RememberDialogFolder("SaveDialog1", *chosen);

  fs::path textFile = *chosen + ".srt";
  fs::path companionFile = *chosen + ".dat";
  std::error_code error;
  if (fs::exists(textFile, error) &&
      !c_.Messages.informationQuestion(
          c_.Lang.MessageText("SavesubtoFiles", "File already exists, overwrite?")))
    return;
  if (fs::exists(companionFile, error) && !IsCompanionFile(companionFile) &&
      !c_.Messages.informationQuestion(
          c_.Lang.MessageText(kForeignCompanionKey, kForeignCompanionQuestion)))
    return;

  SaveSubtitleFiles(textFile, companionFile, s.Document.rows(), s.Document.entries());
}

}  // namespace orlisk
