#pragma once
// The working state of the main window: single variables shared by its
// commands. Each starts as zero, false or empty unless said otherwise.
#include <cstdint>
#include <string>

#include "SubtitleAtHand.h"
#include "media/Frame.h"
#include "subtitles/SubtitleDocument.h"
#include "subtitles/SubtitleStyle.h"

namespace orlisk {

struct MainState {
  std::string VideoPath;        // open source video; empty when none is open
  bool NoVideoOpen = true;      // the reader holds no file
  bool EditMode = true;         // false while "Subtitle Preview" is ticked
  bool IsPlaying = false;
  bool IsPaused = false;
  bool IsWriting = false;
  bool AutoOpenOutput = true;
  bool ResumeAfterSeek = false;  // IsPlaying as it was when the playbar was pressed
  SubtitleStyle Style;           // `SubtitleFont`, `TextColor`, `BorderColor`, `BorderEnabled`
  SubtitlePlacement Placement;   // `SubtitleX`, `SubtitleY` (source pixels), `DrawLevel`
  std::int32_t DragOffsetX = 0;  // view pixels
  std::int32_t DragOffsetY = 0;
  std::int32_t PlayClock = 0;          // ms
  std::uint32_t PlayStartTick = 0;     // tick count when playback last started
  std::int32_t PlayStartPosition = 0;  // reader position when playback last started
  // While there is sound, the play clock follows what the player has played:
  // the player's played position at the last tick, and whether the reader's
  // sound has ended (after which the tick count carries the clock on once the
  // last block has played out).
  std::int32_t SoundPlayedMs = 0;
  bool SoundEnded = false;
  // Playback speed in percent of normal (kPlaybackSpeeds); stamps stay in
  // video time whatever it is.
  std::int32_t SpeedPercent = 100;
  SubtitleDocument Document;     // the list rows and `Subtitles`
  // What typing, time stamps, a drag and the picture go to.
  SubtitleAtHand AtHand;
  std::string OutputExtension;
  std::string OutputFolder;
  std::int32_t OutputMode = 0;
  std::int32_t PreviewCount = 0;
  std::int32_t SubtitleCursor = 0;
  std::int32_t OutputType = 0;
  // The output settings' format list (`cb_format`): 0 AVI, 1 MPEG, 2 WMV,
  // 3 RM. Lives only for the run; "AVI" at every start.
  std::int32_t FormatChoice = 0;
  Frame CurrentFrame;            // frame at the current still position
  bool ManualUpdateCheck = false;
  bool AutoUpdateCheck = true;
  bool ChineseUI = false;
  bool FirstInsertHint = true;
  std::int32_t PlaybarPosition = 0;  // 0..10000
  std::int32_t XvidCodecIndex = 0;
  std::string SkinFilePath;
  // The subtitle file last read or saved; empty while the list has no file
  // (at start, after a video was opened).
  std::string SubtitlePath;
  // The character set the list's file was read in (an iconv name); empty
  // when the list was not read from its file.
  std::string SubtitleCharset;
};

}  // namespace orlisk
