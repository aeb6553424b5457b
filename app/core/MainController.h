#pragma once
// The commands of the main window. Each checks its guards first (a running
// write job, an open video, the play state) and refuses with a message from
// the language file. They act on MainState and reach everything else through
// the seams and media interfaces of MainContext, so they run in tests.
#include <functional>
#include <string>

#include "app/language/Language.h"
#include "MainState.h"
#include "Seams.h"
#include "burnin/TextTransform.h"
#include "playback/AudioPlayer.h"
#include "playback/VideoReader.h"
#include "playback/VideoView.h"
#include "settings/AppPaths.h"
#include "settings/ProfileFile.h"

namespace orlisk {

struct MainContext {
  MainState& State;
  ProfileFile& Settings;
  Language& Lang;
  AppPaths Paths;
  MessageBoxes& Messages;
  FileDialogs& Dialogs;
  SkinObjects& Skin;
  TextMemo& Memo;              // ed_text
  TimeEdit& StartTime;         // ed_Starttime
  TimeEdit& EndTime;           // ed_Endtime
  SubtitleListSelection& List; // lv
  PlaybackTimer& Timer;        // Timer1
  TickClock& Clock;
  DesktopShell& Desktop;
  MouseButtons& Mouse;
  FontChooser& Fonts;          // FontDialog1
  VideoReader& Reader;         // VideoFileRead
  VideoView& View;             // VideoView1
  AudioPlayer& Audio;          // AudioPlayer21
  TextTransform& Transform;    // VideoTransform1
  // Pixel width of one line of text in a font (for centring subtitles read from a file).
  std::function<int(const std::string& utf8Line, const SubtitleFont& font)> TextWidth;
};

// Addresses of the maker's site; ORLISK_SITE_URL overrides the base.
std::string SiteUrl();

class MainController {
 public:
  explicit MainController(MainContext context);

  MainState& state() { return c_.State; }
  MainContext& context() { return c_; }

  // Messages and time codes shown to the user.
  void ShowInformation(const std::string& key, const std::string& englishDefault);
  // Reads an edit box's time; a malformed text shows "Subtitle time errors" and gives 0.
  SubtitleTime ParseSubtitleTime(const std::string& text);

  // The subtitle list and editing.
  void InsertSubtitle();
  void SetBeginTime();
  void SetEndTime();
  void SelectSubtitle();  // lvClick
  void EditSubtitle();
  void InsertBlankSubtitle();
  void RemoveSubtitle();
  void ClearSubtitles();
  // Copies the typed text, placement and style into the subtitle being edited.
  void CaptureEdit();

  // Subtitle files.
  void OpenSubtitleFile();
  void ReadSubtitleFile(const std::string& path);
  void SaveSubtitleFile();

  // Opening a video.
  void OpenVideo();

  // Playback transport.
  void Play();
  void Pause();
  void StopPlayback();
  void FastBack();
  void FastForward();
  void PlaybackTick();  // Timer1
  void FeedAudio();     // the audio player asks for more
  void PlaybarPress();
  void PlaybarDrag();
  void PlaybarRelease();

  // Preview and placement.
  Frame RenderFrame(const Frame& frame);  // edit or preview renderer by EditMode
  void RefreshFrame();
  void ed_textChange();
  void cb_prsubClick(bool ticked);
  void ChooseSubtitleFont();
  void VideoViewMouseMove(int x, int y);
  void VideoViewMouseUp();

  // Closing the main window: false refuses the close.
  bool FormCloseQuery();

 private:
  // Shows "OpenVideoFiles" and answers true while a write job runs.
  bool RefuseWhileWriting();
  // The row that typing and time stamping go to: the last row for a new entry,
  // else EditIndex while a row is selected; -1 when there is none (or EditIndex
  // lies beyond the list after a removal).
  int EditTargetRow() const;
  // The selected row when it names an existing row and entry, else -1.
  int SelectedRowInRange() const;
  // The failure path of OpenVideo: ends any playback of the closed video,
  // offers the codec page and forgets the file.
  void OpenVideoFailed();
  // FastBack and FastForward: move the playbar by deltaMs and play from there.
  void JumpBy(std::int32_t deltaMs);
  // The time the playbar stands for, in ms of the open video.
  SubtitleTime PlaybarTime() const;
  // Seeks to the playbar's time and keeps the frame there as CurrentFrame.
  void TakeFrameAtPlaybar();
  // Settings "<section>"/"InitialDir", the user's home by default; and the
  // chosen file's folder written back.
  std::string DialogFolder(const std::string& section) const;
  void RememberDialogFolder(const std::string& section, const std::string& chosenPath);

  MainContext c_;
};

}  // namespace orlisk
