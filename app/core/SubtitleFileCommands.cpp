// Subtitle files: the SubRip text file with its companion of records, opened
// from and saved to disk. Reading replaces the list only once both files were
// read whole; saving replaces the old files only once both were written.
#include <cctype>
#include <filesystem>

#include "subtitles/SubtitleStyle.h"
#include "SubtitleFileCommands.h"
#include "SubtitleFileIO.h"
#include "settings/SafeFile.h"
#include "settings/SubtitleFiles.h"

namespace orlisk {

namespace fs = std::filesystem;

namespace {

constexpr const char* kOpenSubtitleFilter = "SubTitle Files(*.srt);|*.srt;";
constexpr const char* kSaveSubtitleFilter = "Subtitle Files(*.srt);|*.srt;";
constexpr const char* kNoSubtitlesKey = "ReadSubtitleNoBlocks";
constexpr const char* kNoSubtitlesText = "No subtitle was found in this file; the subtitle list was not changed.";
constexpr const char* kForeignCompanionKey = "SavesubCompanionExists";
constexpr const char* kForeignCompanionQuestion =
    "A file that is not a subtitle companion already has the name of the companion file "
    "(.dat) to be written. Replace it?";

bool EndsWithSrt(const std::string& name) {
  if (name.size() < 4) return false;
  std::string end = name.substr(name.size() - 4);
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == ".srt";
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

void SubtitleFileCommands::ReadSubtitleFile(const std::string& path) {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting()) return;
  std::error_code error;
  if (!fs::exists(path, error)) {
    c_.Basics.Messages.informationWithHelp(c_.Basics.Lang.MessageText("ReadSubtitleinfo", "Not find subtitle file."));
    return;
  }

  SubRipReadContext context;
  context.Placement = s.Placement;
  context.Style = s.Style;
  SubtitleFilesRead read;
  try {
    read = ReadSubtitleFiles(path, s.ChineseUI ? LegacyCodePage::Gb18030 : LegacyCodePage::Windows1252, context);
  } catch (const FileReadError& error) {
    // A pipe, device or huge file in the subtitle file's place; other errors
    // of the system go to the application's handler as before.
    if (error.problem() != FileProblem::NotRegular && error.problem() != FileProblem::TooLarge) throw;
    c_.Basics.ShowInformation(
        "ReadSubtitleRefused",
        "The subtitle file cannot be read: it is not an ordinary file, or it is larger than 64 MB.");
    return;
  }
  if (read.NoBlocks || read.Result.Rows.empty()) {
    // Not a subtitle file, or an empty one: taking it would throw the list
    // away for nothing.
    c_.Basics.Messages.information(path + "\n\n" + c_.Basics.Lang.MessageText(kNoSubtitlesKey, kNoSubtitlesText));
    return;
  }

  CreateEmptyFileIfMissing(CompanionPathFor(path));
  c_.List.selectRow(-1);
  s.Document.replaceAll(std::move(read.Result.Rows), std::move(read.Result.Entries));
  s.Document.markSaved();
  s.SubtitlePath = path;
  c_.Basics.History.startFresh();
  s.SubtitleCursor = s.Document.rowCount();
  if (read.Result.StaleCompanion) {
    c_.Basics.ShowInformation("ReadSubtitleStaleCompanion",
                              "The position and style file (.dat) beside this subtitle file belongs to another "
                              "save; the subtitles were given the current position and style.");
  }
}

bool SubtitleFileCommands::SaveSubtitleFile() {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting()) return false;
  // The open video's name, in the folder used last (the video's own folder
  // until a save remembered one).
  std::string proposedName;
  std::string startFolder = c_.Basics.Settings.readString("SaveDialog1", "InitialDir", "");
  if (!s.VideoPath.empty()) {
    const fs::path video(s.VideoPath);
    proposedName = video.stem().string() + ".srt";
    if (startFolder.empty()) startFolder = video.parent_path().string();
  }
  if (startFolder.empty()) startFolder = c_.Basics.Paths.HomeFolder.string();
  std::optional<std::string> chosen = c_.Dialogs.saveSubtitle(startFolder, proposedName, kSaveSubtitleFilter);
  if (!chosen) return false;
  c_.Basics.RememberDialogFolder("SaveDialog1", *chosen);

  // A name typed with its ".srt" (any case) keeps it rather than getting a second one.
  const std::string base = EndsWithSrt(*chosen) ? chosen->substr(0, chosen->size() - 4) : *chosen;
  fs::path textFile = EndsWithSrt(*chosen) ? fs::path(*chosen) : fs::path(base + ".srt");
  fs::path companionFile = base + ".dat";
  std::error_code error;
  if (fs::exists(textFile, error) &&
      !c_.Basics.Messages.informationQuestion(
          c_.Basics.Lang.MessageText("SavesubtoFiles", "File already exists, overwrite?")))
    return false;
  if (fs::exists(companionFile, error) && !IsCompanionFile(companionFile) &&
      !c_.Basics.Messages.informationQuestion(
          c_.Basics.Lang.MessageText(kForeignCompanionKey, kForeignCompanionQuestion)))
    return false;

  SaveSubtitleFiles(textFile, companionFile, s.Document.rows(), s.Document.entries());
  s.Document.markSaved();
  s.SubtitlePath = textFile.string();
  c_.Basics.History.saved();
  return true;
}

}  // namespace orlisk
