#pragma once
// The commands of the main window behind one facade. Each command checks its
// guards first (a running write job, an open video, the play state) and
// refuses with a message from the language file. The commands live in groups
// by subsystem, each reaching only the seams it needs; the facade builds the
// groups from the window's parts and forwards to them.
#include <string>

#include "BurnInCommands.h"
#include "CommandBasics.h"
#include "EditingCommands.h"
#include "LinkCommands.h"
#include "OnlineCommands.h"
#include "OnlineSeams.h"
#include "PlaybackCommands.h"
#include "PreviewCommands.h"
#include "Seams.h"
#include "SubtitleFileCommands.h"
#include "TimingCommands.h"
#include "burnin/TextTransform.h"
#include "playback/AudioPlayer.h"
#include "playback/VideoReader.h"
#include "playback/VideoView.h"

namespace orlisk {

// Everything the commands reach, by name: build it with designated
// initialisers so that two seams of the same kind cannot change places.
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
  SoundWaveform& Waveform;     // the sound behind the playbar
  TextTransform& Transform;    // VideoTransform1
  TextWidthFunction TextWidth;
  HttpClient& Http;
  UserInterfaceThread& UiThread;  // the only seam the update check's thread calls
  PlaybackTimer& Timer2;          // hands a newer version over to the notice window
  UpdateNotices& Notices;         // Tfm_update and the plain notice box
  VideoWriter& Writer;             // the write side of the video file component
  EventPump& Events;
  WriteProgressDisplay& Progress;  // pb_writesubtitle and ed_text's height
};

class MainController {
 public:
  explicit MainController(const MainContext& context);
  MainController(const MainController&) = delete;
  MainController& operator=(const MainController&) = delete;

  MainState& state() { return basics_.State; }
  const CommandBasics& basics() const { return basics_; }
  // Where every command's change of the list is recorded, undone and told.
  DocumentHistory& history() { return basics_.History; }

  EditingCommands& editing() { return editing_; }
  SubtitleFileCommands& files() { return files_; }
  PlaybackCommands& playback() { return playback_; }
  PreviewCommands& preview() { return preview_; }
  BurnInCommands& burnIn() { return burnIn_; }
  LinkCommands& links() { return links_; }
  OnlineCommands& online() { return online_; }
  // Nudges, still steps, stamps while playing, shift, sync and frame rates.
  TimingCommands& timing() { return timing_; }

  // The subtitle list and editing.
  void InsertSubtitle() { editing_.InsertSubtitle(); }
  void SetBeginTime() { editing_.SetBeginTime(); }
  void SetEndTime() { editing_.SetEndTime(); }
  void SelectSubtitle() { editing_.SelectSubtitle(); }  // lvClick
  void EditSubtitle() { editing_.EditSubtitle(); }
  void InsertBlankSubtitle() { editing_.InsertBlankSubtitle(); }
  void RemoveSubtitle() { editing_.RemoveSubtitle(); }
  void ClearSubtitles() { editing_.ClearSubtitles(); }
  void Undo() { editing_.Undo(); }
  void Redo() { editing_.Redo(); }

  // Subtitle files.
  // Opening a video or a subtitle file replaces the list and starts a fresh
  // history, so changed subtitles are offered for saving first.
  void OpenSubtitleFile();
  void ReadSubtitleFile(const std::string& path) {
    if (files_.ReadSubtitleFile(path)) editing_.ReleaseSubtitleAtHand();
  }
  void ReopenSubtitleFile() {
    if (files_.ReopenSubtitleFile()) editing_.ReleaseSubtitleAtHand();
  }
  bool SaveSubtitleFile() { return files_.SaveSubtitleFile(); }
  bool SaveSubtitleFileAs() { return files_.SaveSubtitleFileAs(); }
  bool ExportSubtitles(ExportFormat format) { return files_.ExportSubtitles(format); }

  // Opening a video and the playback transport.
  void OpenVideo();
  void Play() { playback_.Play(); }
  void Pause() { playback_.Pause(); }
  void StopPlayback() { playback_.StopPlayback(); }
  void FastBack() { playback_.FastBack(); }
  void FastForward() { playback_.FastForward(); }
  void PlaybackTick() { playback_.PlaybackTick(); }  // Timer1
  void FeedAudio() { playback_.FeedAudio(); }        // the audio player asks for more
  void PlaybarPress() { playback_.PlaybarPress(); }
  void PlaybarDrag() { playback_.PlaybarDrag(); }
  void PlaybarRelease() { playback_.PlaybarRelease(); }

  // Preview and placement.
  Frame RenderFrame(const Frame& frame) { return preview_.RenderFrame(frame); }
  void RefreshFrame() { preview_.RefreshFrame(); }
  void ed_textChange() { preview_.ed_textChange(); }
  void cb_prsubClick(bool ticked) { preview_.cb_prsubClick(ticked); }
  void ChooseSubtitleFont() { preview_.ChooseSubtitleFont(); }
  bool ApplyStyle(const StyleChoice& choice) { return editing_.ApplyStyle(choice); }
  void VideoViewMouseMove(int x, int y) { preview_.VideoViewMouseMove(x, y); }
  void VideoViewMouseUp() { preview_.VideoViewMouseUp(); }

  // Burn-in.
  void WriteSubtitlesToVideo() { burnIn_.WriteSubtitlesToVideo(); }
  void StopWriting() { burnIn_.StopWriting(); }
  void FillCodecLists() { burnIn_.FillCodecLists(); }

  // Help and links.
  void OpenHelpFile() { links_.OpenHelpFile(); }
  void ShowHelpTopic(int topic) { links_.ShowHelpTopic(topic); }
  void ContactUS1Click() { links_.OpenContactPage(); }
  void OurWebSite1Click() { links_.OpenWebSite(); }

  // Online services.
  void SendUsageReportOnFirstStart(int languageId) { online_.SendUsageReportOnFirstStart(languageId); }
  void StartUpdateCheck() { online_.StartUpdateCheck(); }
  void Inspectionupdate1Click() { online_.Inspectionupdate1Click(); }
  void Timer2Timer() { online_.Timer2Timer(); }
  void OpenGiftPage() { online_.OpenGiftPage(); }

  // Closing the main window: false refuses the close. Unsaved subtitles are
  // offered for saving first; the window closes only once they are saved or
  // the user let them go.
  bool FormCloseQuery();

 private:
  // Asks (with the language file's `questionKey`) whether to save changed
  // subtitles, to the list's own file when it has one; true when what
  // replaces or closes them may go on. An empty list never asks.
  bool KeepUnsavedSubtitles(const char* questionKey, const char* englishQuestion);
  bool KeepUnsavedSubtitlesBeforeReplacing();

  CommandBasics basics_;
  VideoReader& reader_;
  // A group may use the groups below it (editing pauses playback and redraws
  // the picture; playback draws through the preview group), never one above:
  // what two groups share is the subtitle at hand in the state. References
  // are bound before the groups are built and used only once all are.
  EditingCommands editing_;
  SubtitleFileCommands files_;
  PlaybackCommands playback_;
  PreviewCommands preview_;
  BurnInCommands burnIn_;
  LinkCommands links_;
  TimingCommands timing_;  // above editing: it stamps through it
  // Last: it ends the update check's thread before the rest goes.
  OnlineCommands online_;
};

}  // namespace orlisk
