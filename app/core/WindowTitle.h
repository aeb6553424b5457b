#pragma once
// The main window's title names the subtitle file the list belongs to and
// shows, by its "*", whether the list holds work that is in no file yet.
#include <string>

#include "subtitles/SubtitleDocument.h"

namespace orlisk {

// "talk.srt - <application>" once the list is as saved or read,
// "talk.srt* - <application>" while it holds unsaved changes. A list without a
// file (`subtitlePath` empty) is "<untitledName>* - <application>" once it
// holds rows, and the application's title alone while it is empty.
std::string MainWindowTitle(const std::string& applicationTitle, const std::string& untitledName,
                            const std::string& subtitlePath, const SubtitleDocument& list);

}  // namespace orlisk
