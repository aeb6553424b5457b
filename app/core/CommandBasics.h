#pragma once
// What every command group shares: the main window's state, the settings and
// language files, the message boxes, and the small steps all commands take
// (guards, messages, typed times, the dialogs' remembered folders).
#include <string>

#include "DocumentHistory.h"
#include "MainState.h"
#include "Seams.h"
#include "app/language/Language.h"
#include "online/SiteAddresses.h"  // the maker's pages, for the commands that open them
#include "settings/AppPaths.h"
#include "settings/ProfileFile.h"

namespace orlisk {

class CommandBasics {
 public:
  CommandBasics(MainState& state, ProfileFile& settings, Language& lang, MessageBoxes& messages,
                AppPaths paths)
      : State(state), Settings(settings), Lang(lang), Messages(messages), Paths(std::move(paths)), History(state.Document) {}

  // An information box with a text from the language file.
  void ShowInformation(const std::string& key, const std::string& englishDefault) const;
  // Shows "OpenVideoFiles" and answers true while a write job runs.
  bool RefuseWhileWriting() const;
  // Reads an edit box's time; a malformed text shows "Subtitle time errors" and gives 0.
  SubtitleTime ParseSubtitleTime(const std::string& text) const;
  // Settings "<section>"/"InitialDir", the user's home by default; and the
  // chosen file's folder written back, as a convenience: a settings file that
  // cannot be written never stops the command that chose the file.
  std::string DialogFolder(const std::string& section) const;
  void RememberDialogFolder(const std::string& section, const std::string& chosenPath) const;

  MainState& State;
  ProfileFile& Settings;
  Language& Lang;
  MessageBoxes& Messages;
  const AppPaths Paths;
  // The list's undo steps and the observers of its changes.
  DocumentHistory History;
};

}  // namespace orlisk
