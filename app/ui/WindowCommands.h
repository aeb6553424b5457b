#pragma once
// Everything the skin's buttons, the function keys and the popup menus can ask
// the main window to do. Each entry is a handler without arguments (the help
// topics take their index) that checks its own guards, so the same command
// behaves the same from a button, a key or a menu.
namespace orlisk {

class WindowCommands {
 public:
  virtual ~WindowCommands() = default;

  // Files.
  virtual void OpenVideo() = 0;
  virtual void OpenSubtitleFile() = 0;
  virtual void SaveSubtitleFile() = 0;

  // Writing the subtitles into a new video.
  virtual void WriteSubtitlesToVideo() = 0;
  virtual void StopWriting() = 0;

  // Playback transport.
  virtual void Play() = 0;
  virtual void Pause() = 0;
  virtual void StopPlayback() = 0;
  virtual void FastBack() = 0;
  virtual void FastForward() = 0;

  // The subtitle list.
  virtual void InsertSubtitle() = 0;
  virtual void SetBeginTime() = 0;
  virtual void SetEndTime() = 0;
  virtual void RemoveSubtitle() = 0;
  virtual void ClearSubtitles() = 0;
  virtual void InsertBlankSubtitle() = 0;
  virtual void EditSubtitle() = 0;

  // Menus, dialogs and help.
  virtual void ShowFileMenu() = 0;
  virtual void ShowHelpMenu() = 0;
  virtual void ShowSubtitleStyle() = 0;   // Tfm_setfont, modal
  virtual void ShowOutputSettings() = 0;  // Tfm_set, modal
  virtual void OpenGiftPage() = 0;
  virtual void OpenHelpFile() = 0;
  virtual void ShowHelpTopic(int topic) = 0;  // 0..3
};

}  // namespace orlisk
