#pragma once
// The main window's title names the subtitle file the list belongs to.
#include <string>

namespace orlisk {

// "talk.srt - <application>" once the list is as saved or read,
// "talk.srt* - <application>" while it holds unsaved changes, and the
// application's title alone while the list has no file (`subtitlePath` empty).
std::string MainWindowTitle(const std::string& applicationTitle, const std::string& subtitlePath,
                            bool unsavedChanges);

}  // namespace orlisk
