// Export: the list written in another format (WebVTT, ASS, SubRip numbered
// from 1) beside the .srt/.dat pair, which stays the list's own file.
#include <cctype>
#include <filesystem>

#include "SubtitleFileCommands.h"
#include "files/SubtitleFiles.h"

namespace orlisk {

namespace fs = std::filesystem;

namespace {

const char* FilterOf(ExportFormat format) {
  switch (format) {
    case ExportFormat::WebVtt: return "WebVTT Files(*.vtt);|*.vtt;";
    case ExportFormat::Ass: return "ASS Files(*.ass);|*.ass;";
    case ExportFormat::SubRipFromOne: break;
  }
  return "SubRip Files(*.srt);|*.srt;";
}

bool EndsWithNoCase(const std::string& name, const std::string& end) {
  if (name.size() < end.size()) return false;
  for (std::size_t i = 0; i < end.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[name.size() - end.size() + i])) != end[i]) return false;
  }
  return true;
}

}  // namespace

AssCanvas SubtitleFileCommands::Picture() const {
  if (c_.Basics.State.NoVideoOpen) return {};
  // The font's cell is taken as Arial's (its metric twin draws the start-up face).
  return {.Width = c_.Reader.GetWidth(), .Height = c_.Reader.GetHeight()};
}

bool SubtitleFileCommands::ExportSubtitles(ExportFormat format) {
  const MainState& s = c_.Basics.State;
  if (s.Document.rowCount() == 0) {
    c_.Basics.ShowInformation("ExportNothing", "There are no subtitles to export.");
    return false;
  }
  const AssCanvas picture = Picture();
  // Places are kept relative to the picture, so the video must be known.
  if (format != ExportFormat::SubRipFromOne && picture.Width <= 0) {
    c_.Basics.ShowInformation("OpenFile1Click", "please first add video file");
    return false;
  }
  const std::string extension = ExportExtension(format);
  const fs::path named = !s.SubtitlePath.empty() ? fs::path(s.SubtitlePath) : fs::path(s.VideoPath);
  const std::string proposedName = named.empty() ? std::string() : named.stem().string() + extension;
  std::string startFolder = c_.Basics.Settings.readString("ExportDialog", "InitialDir", "");
  if (startFolder.empty()) startFolder = named.empty() ? c_.Basics.Paths.HomeFolder.string() : named.parent_path().string();
  const std::optional<std::string> chosen = c_.Dialogs.saveSubtitle(startFolder, proposedName, FilterOf(format));
  if (!chosen) return false;
  c_.Basics.RememberDialogFolder("ExportDialog", *chosen);
  const fs::path file = EndsWithNoCase(*chosen, extension) ? fs::path(*chosen) : fs::path(*chosen + extension);
  std::error_code error;
  if (fs::exists(file, error) &&
      !c_.Basics.Messages.informationQuestion(
          c_.Basics.Lang.MessageText("SavesubtoFiles", "File already exists, overwrite?")))
    return false;
  SaveExportedSubtitles(file, orlisk::ExportSubtitles(format, s.Document, s.Style, picture));
  return true;
}

}  // namespace orlisk
