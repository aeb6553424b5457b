#pragma once
// One run of orlisk-burn: open the video and the subtitles, configure the
// writer from the settings file, and drive the write job to the end or to a
// stop request. Needs a QGuiApplication (the text is drawn with QPainter).
#include <atomic>
#include <iosfwd>

#include "BurnOptions.h"
#include "settings/AppPaths.h"
#include "subtitles/TextEncoding.h"

namespace orlisk {

// Returns the exit code (BurnExitCode). Messages and progress go to `err`;
// the path of the written video goes to `out`. `stopSignal` is polled
// between passes: non-zero is the signal that asked to stop (SIGINT, SIGTERM).
// `errIsTerminal` draws a progress bar instead of percentage lines.
int RunBurn(const BurnOptions& options, const AppPaths& paths, std::ostream& out, std::ostream& err,
            bool errIsTerminal, const std::atomic<int>& stopSignal);

// The code page a subtitle file that is not valid UTF-8 is read in, by the
// locale (LC_ALL, LC_MESSAGES, LANG): GB18030 for Chinese, else Windows-1252.
LegacyCodePage LocaleFallbackCodePage();

}  // namespace orlisk
