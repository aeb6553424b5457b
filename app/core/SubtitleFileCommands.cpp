// Subtitle files: the SubRip text file with its companion of records, opened
// from and saved to disk. Reading replaces the list only once both files were
// read whole; saving replaces the old files only once both were written.
#include <cctype>
#include <filesystem>

#include "subtitles/SubtitleStyle.h"
#include "RepairReport.h"
#include "SubtitleFileCommands.h"
#include "SubtitleEncodings.h"
#include "SubtitleFileIO.h"
#include "subtitles/MissingEnds.h"
#include "files/SafeFile.h"
#include "files/SubtitleFiles.h"
#include "subtitles/SubtitleImport.h"

namespace orlisk {

namespace fs = std::filesystem;

namespace {

constexpr const char* kOpenSubtitleFilter =
    "SubTitle Files(*.srt;*.vtt;*.ass;*.ssa);|*.srt;*.vtt;*.ass;*.ssa;";
constexpr const char* kSaveSubtitleFilter = "Subtitle Files(*.srt);|*.srt;";
constexpr const char* kNoSubtitlesKey = "ReadSubtitleNoBlocks";
constexpr const char* kNoSubtitlesText = "No subtitle was found in this file; the subtitle list was not changed.";
constexpr const char* kForeignCompanionKey = "SavesubCompanionExists";
constexpr const char* kForeignCompanionQuestion =
    "A file that is not a subtitle companion already has the name of the companion file "
    "(.dat) to be written. Replace it?";
constexpr const char* kWithoutEndKey = "SaveSubtitlesWithoutEnd";
constexpr const char* kWithoutEndQuestion =
    "Some subtitles have no end time, and players leave such subtitles out. Yes gives each of them the begin of "
    "the next subtitle or 3 seconds after its own begin, whichever comes first; No saves them as they are; Cancel "
    "goes back without saving.";
constexpr const char* kWithoutEndCountKey = "SaveSubtitlesWithoutEndCount";
constexpr const char* kWithoutEndCountText = "Subtitles without an end:";
constexpr const char* kReopenLosesChangesKey = "ReopenLosesChanges";
constexpr const char* kReopenLosesChangesQuestion =
    "The subtitles have changed since the file was read. Reading it again loses those changes. Read it again?";

bool EndsWithSrt(const std::string& name) {
  if (name.size() < 4) return false;
  std::string end = name.substr(name.size() - 4);
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == ".srt";
}

}  // namespace

bool SubtitleFileCommands::MayOpenSubtitleFile() {
  const MainState& s = c_.Basics.State;
  if (s.VideoPath.empty()) {
    c_.Basics.ShowInformation("OpenFile1Click", "please first add video file");
    return false;
  }
  if (s.IsPlaying) {
    c_.Basics.ShowInformation("OpenFile2Click", "please first stop play.");
    return false;
  }
  return true;
}

bool SubtitleFileCommands::OpenSubtitleFile() {
  if (!MayOpenSubtitleFile()) return false;
  const std::optional<ChosenSubtitleFile> chosen = c_.Dialogs.openSubtitle(
      c_.Basics.DialogFolder("OpenDialog2"), kOpenSubtitleFilter, SubtitleEncodingList(c_.Basics.Lang));
  if (!chosen) return false;
  c_.Basics.RememberDialogFolder("OpenDialog2", chosen->Path);
  return ReadSubtitleFile(chosen->Path, SubtitleEncodingCharset(chosen->Encoding));
}

bool SubtitleFileCommands::ReopenSubtitleFile() {
  MainState& s = c_.Basics.State;
  // Without a file the command is disabled.
  if (s.SubtitlePath.empty() || c_.Basics.RefuseWhileWriting() || !MayOpenSubtitleFile()) return false;
  const Language& lang = c_.Basics.Lang;
  const std::optional<int> chosen = c_.Dialogs.chooseEncoding(
      lang.text("ReopenWithEncoding", "Title", "Reopen with Encoding"), SubtitleEncodingList(lang, s.SubtitleCharset));
  if (!chosen) return false;
  if (s.Document.rowCount() > 0 && s.Document.hasUnsavedChanges() &&
      !c_.Basics.Messages.informationQuestion(lang.MessageText(kReopenLosesChangesKey, kReopenLosesChangesQuestion)))
    return false;
  const std::string path = s.SubtitlePath;
  return ReadSubtitleFile(path, SubtitleEncodingCharset(*chosen));
}

bool SubtitleFileCommands::ReadSubtitleFile(const std::string& path, const std::string& charset) {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting()) return false;
  std::error_code error;
  if (!fs::exists(path, error)) {
    c_.Basics.Messages.informationWithHelp(c_.Basics.Lang.MessageText("ReadSubtitleinfo", "Not find subtitle file."));
    return false;
  }

  SubRipReadContext context;
  context.Placement = s.Placement;
  context.Style = s.Style;
  context.Picture = Picture();
  SubtitleFilesRead read;
  try {
    read = ReadSubtitleFiles(path, s.ChineseUI ? LegacyCodePage::Gb18030 : LegacyCodePage::Windows1252, context,
                             charset);
  } catch (const FileReadError& error) {
    // A pipe, device or huge file in the subtitle file's place; other errors
    // of the system go to the application's handler as before.
    if (error.problem() != FileProblem::NotRegular && error.problem() != FileProblem::TooLarge) throw;
    c_.Basics.ShowInformation(
        "ReadSubtitleRefused",
        "The subtitle file cannot be read: it is not an ordinary file, or it is larger than 64 MB.");
    return false;
  }
  if (read.NoBlocks || read.Result.Rows.empty()) {
    // Not a subtitle file, or an empty one: taking it would throw the list
    // away for nothing.
    c_.Basics.Messages.information(path + "\n\n" + c_.Basics.Lang.MessageText(kNoSubtitlesKey, kNoSubtitlesText));
    return false;
  }

  const bool subRip = SubtitleFileFormatOf(path) == SubtitleFileFormat::SubRip;
  if (subRip) CreateEmptyFileIfMissing(CompanionPathFor(path));
  c_.List.selectRow(-1);
  s.Document.replaceAll(std::move(read.Result.Rows), std::move(read.Result.Entries));
  s.Document.markSaved();
  s.SubtitlePath = path;
  s.SubtitleCharset = std::move(read.Charset);
  c_.Basics.History.startFresh();
  s.SubtitleCursor = s.Document.rowCount();
  // One message for what the reading could not take as it was.
  std::string notice;
  if (read.Result.StaleCompanion) {
    notice = c_.Basics.Lang.MessageText("ReadSubtitleStaleCompanion",
                                        "The position and style file (.dat) beside this subtitle file belongs to "
                                        "another save; the subtitles were given the current position and style.");
  }
  const std::string repairs = RepairReport(read.Result.Repairs, c_.Basics.Lang);
  if (!repairs.empty()) notice += (notice.empty() ? "" : "\n\n") + repairs;
  if (!notice.empty()) c_.Basics.Messages.information(notice);
  return true;
}

bool SubtitleFileCommands::SaveSubtitleFile() {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting() || !OfferEndsForSubtitlesWithoutEnd()) return false;
  // A list read from a WebVTT or ASS file is saved as a pair under a name
  // of its own, never as SubRip text over the file it came from.
  if (s.SubtitlePath.empty() || SubtitleFileFormatOf(s.SubtitlePath) != SubtitleFileFormat::SubRip)
    return SaveUnderChosenName();
  // The list's own pair, named as reading names it: no dialog, and no
  // question about overwriting the file the list came from.
  const fs::path textFile(s.SubtitlePath);
  return SavePair(textFile, CompanionPathFor(textFile));
}

bool SubtitleFileCommands::SaveSubtitleFileAs() {
  if (c_.Basics.RefuseWhileWriting() || !OfferEndsForSubtitlesWithoutEnd()) return false;
  return SaveUnderChosenName();
}

bool SubtitleFileCommands::OfferEndsForSubtitlesWithoutEnd() {
  SubtitleDocument& document = c_.Basics.State.Document;
  const std::vector<int> rows = RowsWithoutEnd(document);
  if (rows.empty()) return true;
  const Language& lang = c_.Basics.Lang;
  const std::string question = lang.MessageText(kWithoutEndKey, kWithoutEndQuestion) + "\n\n" +
                               lang.MessageText(kWithoutEndCountKey, kWithoutEndCountText) + " " +
                               std::to_string(rows.size());
  // The three-button box: Yes gives the ends, No saves the rows as they are.
  switch (c_.Basics.Messages.saveQuestion(question)) {
    case MessageBoxes::SaveAnswer::Save:
      GiveEnds(document, rows);
      return true;
    case MessageBoxes::SaveAnswer::Discard:
      return true;
    case MessageBoxes::SaveAnswer::Cancel:
      break;
  }
  return false;
}

bool SubtitleFileCommands::SaveUnderChosenName() {
  const MainState& s = c_.Basics.State;
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
  std::error_code error;
  if (fs::exists(textFile, error) &&
      !c_.Basics.Messages.informationQuestion(
          c_.Basics.Lang.MessageText("SavesubtoFiles", "File already exists, overwrite?")))
    return false;
  return SavePair(textFile, base + ".dat");
}

bool SubtitleFileCommands::SavePair(const fs::path& textFile, const fs::path& companionFile) {
  MainState& s = c_.Basics.State;
  std::error_code error;
  if (fs::exists(companionFile, error) && !IsCompanionFile(companionFile) &&
      !c_.Basics.Messages.informationQuestion(
          c_.Basics.Lang.MessageText(kForeignCompanionKey, kForeignCompanionQuestion)))
    return false;

  SaveSubtitleFiles(textFile, companionFile, s.Document.rows(), s.Document.entries());
  s.Document.markSaved();
  s.SubtitlePath = textFile.string();
  s.SubtitleCharset.clear();  // what the file now holds is what saving writes
  c_.Basics.History.saved();
  return true;
}

}  // namespace orlisk
