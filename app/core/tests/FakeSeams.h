#pragma once
// Scripted stand-ins for everything the main window's commands reach, and a
// rig that wires them to a MainController over a real settings file in a
// temporary folder.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/core/MainController.h"
#include "burnin/writer/NullVideoWriter.h"
#include "tests/support/TempFolder.h"

namespace orlisk::testing {

namespace fs = std::filesystem;

struct FakeMessages : MessageBoxes {
  struct Shown {
    std::string kind;  // "information", "question", "help", "confirmation"
    std::string text;
  };
  std::vector<Shown> shown;
  std::deque<bool> answers;  // for questions, in order; Yes when the script ran out
  // What happens while a box is open (a modal box lets timers run).
  std::function<void()> whileOpen;
  bool answer() {
    if (whileOpen) whileOpen();
    if (answers.empty()) return true;
    bool a = answers.front();
    answers.pop_front();
    return a;
  }
  void information(const std::string& t) override { shown.push_back({"information", t}); }
  bool informationQuestion(const std::string& t) override {
    shown.push_back({"question", t});
    return answer();
  }
  void informationWithHelp(const std::string& t) override { shown.push_back({"help", t}); }
  bool confirmation(const std::string& t) override {
    shown.push_back({"confirmation", t});
    return answer();
  }
  std::deque<SaveAnswer> saveAnswers;  // Save when the script ran out
  SaveAnswer saveQuestion(const std::string& t) override {
    shown.push_back({"save question", t});
    if (whileOpen) whileOpen();
    if (saveAnswers.empty()) return SaveAnswer::Discard;  // tests about other things let the work go
    SaveAnswer a = saveAnswers.front();
    saveAnswers.pop_front();
    return a;
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& s : shown) out.push_back(s.text);
    return out;
  }
};

struct FakeDialogs : FileDialogs {
  std::optional<std::string> nextVideo, nextSubtitle, nextSave, nextFolder;  // nothing: the user cancels
  std::vector<std::string> startFolders;
  std::vector<std::string> filters;
  std::optional<std::string> take(std::optional<std::string>& next, const std::string& folder,
                                  const std::string& filter) {
    startFolders.push_back(folder);
    filters.push_back(filter);
    return std::exchange(next, std::nullopt);
  }
  std::optional<std::string> openVideo(const std::string& f, const std::string& filter) override {
    return take(nextVideo, f, filter);
  }
  int nextEncoding = 0;                  // chosen beside the next subtitle file
  std::optional<int> nextReopenEncoding;  // nothing: the user cancels
  std::vector<EncodingList> encodingLists;
  std::vector<std::string> encodingTitles;
  std::optional<ChosenSubtitleFile> openSubtitle(const std::string& f, const std::string& filter,
                                                 const EncodingList& encodings) override {
    encodingLists.push_back(encodings);
    const std::optional<std::string> path = take(nextSubtitle, f, filter);
    if (!path) return std::nullopt;
    return ChosenSubtitleFile{.Path = *path, .Encoding = std::exchange(nextEncoding, 0)};
  }
  std::optional<int> chooseEncoding(const std::string& title, const EncodingList& encodings) override {
    encodingTitles.push_back(title);
    encodingLists.push_back(encodings);
    return std::exchange(nextReopenEncoding, std::nullopt);
  }
  std::vector<std::string> proposedNames;
  std::optional<std::string> saveSubtitle(const std::string& f, const std::string& proposed,
                                          const std::string& filter) override {
    proposedNames.push_back(proposed);
    return take(nextSave, f, filter);
  }
  std::optional<std::string> chooseOutputFolder(const std::string& f) override { return take(nextFolder, f, ""); }
};

struct FakeSkin : SkinObjects {
  int playbar = 0;
  std::string playtime = "00:00:00,000";
  std::string videotime;
  bool progressVisible = false;
  int playbarPosition() const override { return playbar; }
  void setPlaybarPosition(int p) override { playbar = p; }
  std::string playtimeText() const override { return playtime; }
  void setPlaytimeText(const std::string& t) override { playtime = t; }
  void setVideotimeText(const std::string& t) override { videotime = t; }
  void setProgressPanelVisible(bool v) override { progressVisible = v; }
};

// Setting the text fires the change handler, as the window's memo does.
struct FakeMemo : TextMemo {
  std::string content;
  std::string status;
  bool enabled = false;
  int focusCount = 0;
  std::function<void()> changed;
  std::string text() const override { return content; }
  void setText(const std::string& t) override {
    content = t;
    if (changed) changed();
  }
  bool isEnabled() const override { return enabled; }
  void setEnabled(bool e) override { enabled = e; }
  void setFocus() override { ++focusCount; }
  void showStatus(const std::string& s) override { status = s; }
  // What the user's typing does.
  void type(const std::string& t) { setText(t); }
};

struct FakeTimeEdit : TimeEdit {
  std::string content = "00:00:00";
  std::string text() const override { return content; }
  void setText(const std::string& t) override { content = t; }
};

struct FakeList : SubtitleListSelection {
  int selected = -1;
  int selectedRow() const override { return selected; }
  void selectRow(int row) override { selected = row; }
};

struct FakeTimer : PlaybackTimer {
  bool active = false;
  int interval = 0;
  int starts = 0, stops = 0;
  void start(int ms) override {
    interval = ms;
    active = true;
    ++starts;
  }
  void stop() override {
    active = false;
    ++stops;
  }
  bool isActive() const override { return active; }
};

struct ManualClock : TickClock {
  std::uint32_t now = 1000;
  std::uint32_t nowMs() const override { return now; }
  void advance(std::uint32_t ms) { now += ms; }
};

struct FakeDesktop : DesktopShell {
  std::vector<std::string> urls, shown;
  void openUrl(const std::string& u) override { urls.push_back(u); }
  void showInFileManager(const std::string& p) override { shown.push_back(p); }
};

struct FakeMouse : MouseButtons {
  bool left = false;
  bool leftButtonDown() const override { return left; }
};

struct FakeFonts : FontChooser {
  std::optional<SubtitleStyle> next;
  std::optional<SubtitleStyle> chooseFont(const SubtitleStyle&) override { return next; }
};

// A video of `duration` ms at `fps`; the frame at time t carries t in its first
// four bytes. Positions are frame times; a seek lands on the frame at or before.
struct FakeVideoReader : VideoReader {
  std::int32_t duration = 10000;
  double fps = 25.0;
  int width = 320, height = 240;
  PixelAspect aspect;
  int sampleRate = 44100, channels = 2;
  int audioBlocksLeft = 1000;
  bool failOpen = false;
  bool open = false;
  // When set, frames run out here although the duration claims more.
  std::optional<std::int32_t> framesEndAt;
  std::int32_t position = 0;
  int opens = 0, closes = 0, reads = 0, skips = 0;
  std::vector<std::int32_t> seeks;
  // Runs for every frame decoded: converted for ReadFrame, not for SkipFrame.
  // A test moves its clock here to make a reader slower than real time.
  std::function<void(bool converted)> whileDecoding;

  std::int32_t frameMs() const { return static_cast<std::int32_t>(1000.0 / fps); }
  static std::int32_t FrameTime(const Frame& f) {
    std::int32_t t = 0;
    for (int i = 0; i < 4; ++i) t |= static_cast<std::int32_t>(f.Pixels.at(i)) << (8 * i);
    return t;
  }

  void OpenSource(const std::string&) override {
    ++opens;
    if (failOpen) throw std::runtime_error("cannot decode");
    open = true;
    position = 0;
  }
  void CloseSource() override {
    ++closes;
    open = false;
  }
  std::int32_t GetDuration() const override { return open ? duration : 0; }
  double GetFrameRate() const override { return fps; }
  int GetWidth() const override { return open ? width : 0; }
  int GetHeight() const override { return open ? height : 0; }
  PixelAspect GetPixelAspect() const override { return open ? aspect : PixelAspect{}; }
  std::int32_t GetPosition() const override { return position; }
  void SeekTo(std::int32_t ms) override {
    if (!open) throw std::runtime_error("no video open");
    seeks.push_back(ms);
    ms = std::clamp(ms, 0, duration);
    position = ms / frameMs() * frameMs();
  }
  Frame ReadFrame() override {
    if (!open) throw std::runtime_error("no video open");
    ++reads;
    if (position >= framesEndAt.value_or(duration)) return {};
    if (whileDecoding) whileDecoding(true);
    Frame f;
    f.Width = width;
    f.Height = height;
    f.Stride = width * 4;
    for (int i = 0; i < 4; ++i) f.Pixels.push_back(static_cast<std::uint8_t>((position >> (8 * i)) & 0xFF));
    position += frameMs();
    return f;
  }
  void SkipFrame() override {
    if (!open) throw std::runtime_error("no video open");
    if (position >= framesEndAt.value_or(duration)) return;
    if (whileDecoding) whileDecoding(false);
    ++skips;
    position += frameMs();
  }
  AudioBlock ReadAudio(int) override {
    if (sampleRate == 0 || audioBlocksLeft == 0) return {};
    --audioBlocksLeft;
    return AudioBlock{std::vector<std::uint8_t>(16, 1)};
  }
  int GetAudioChannels() const override { return channels; }
  int GetAudioSampleRate() const override { return sampleRate; }
  std::int64_t GetAudioBitRate() const override { return 0; }
  std::int32_t GetAudioPosition() const override { return position; }
  std::int32_t GetAudioDuration() const override { return duration; }
  std::string GetAudioFormatName() const override { return "wav"; }
  std::int64_t GetVideoBitRate() const override { return 0; }
  std::string GetVideoFormatName() const override { return "fake"; }
  // The sizes asked for; frames keep the source's size.
  std::vector<std::pair<int, int>> frameSizes;
  void SetFrameSize(int w, int h) override { frameSizes.emplace_back(w, h); }
};

struct RecordingView : VideoView {
  std::vector<Frame> shownFrames;
  int clears = 0;
  bool visible = false;
  std::optional<bool> hand;
  int width = 566, height = 378;
  void ShowFrame(Frame f) override { shownFrames.push_back(std::move(f)); }
  void ClearView() override { ++clears; }
  void setViewVisible(bool v) override { visible = v; }
  int viewWidth() const override { return width; }
  int viewHeight() const override { return height; }
  void setHandCursor(bool h) override { hand = h; }
};

struct RecordingAudio : AudioPlayer {
  int rate = -1, channels = -1;
  int starts = 0, stops = 0;
  std::vector<AudioBlock> queued;
  // What the player says it has played; nothing: it cannot tell.
  std::optional<std::int32_t> played;
  void SetAudioFormat(int r, int c) override {
    rate = r;
    channels = c;
  }
  void StartAudio() override { ++starts; }
  void StopAudio() override { ++stops; }
  void QueueAudio(const AudioBlock& b) override { queued.push_back(b); }
  std::optional<std::int32_t> PlayedMilliseconds() override { return played; }
  void askForMore() { requestMoreAudio(); }
};

// Every call in order: "show <path> <duration>", "forget".
struct RecordingWaveform : SoundWaveform {
  std::vector<std::string> calls;
  void showSoundOf(const std::string& path, std::int32_t durationMs) override {
    calls.push_back("show " + path + " " + std::to_string(durationMs));
  }
  void forgetSound() override { calls.push_back("forget"); }
};

struct CountingTransform : TextTransform {
  struct Drawn {
    int x, y;  // x is not used for drawing when the place is centred
    std::string text;
    Colour colour;
    int level;
    bool centred = false;
    SubtitleStyle style;
  };
  int loads = 0, takes = 0;
  std::vector<Drawn> draws;
  Frame loaded;
  void LoadFrame(const Frame& f) override {
    ++loads;
    loaded = f;
  }
  void DrawText(double, const SubtitlePlacement& place, const std::string& t, const SubtitleStyle& style) override {
    draws.push_back({place.X, place.Y, t, style.TextColor, place.DrawLevel, place.Centred, style});
  }
  TextArea DrawnArea(int, const SubtitlePlacement&, const std::string&, const SubtitleStyle&) override { return {}; }
  Frame TakeFrame() override {
    ++takes;
    return loaded;
  }
};

// The network, scripted by address; the update check calls it from its own
// thread. An address without an answer fails as an unreachable server does.
struct ScriptedHttp : HttpClient {
  struct Seen {
    std::string url;
    std::string userAgent;
  };

  void answer(const std::string& url, const std::string& body) {
    std::lock_guard lock(mutex_);
    answers_[url] = HttpResponse{.Ok = true, .Status = 200, .Body = body};
  }
  // While held, requests wait (bounded) until release().
  void hold() {
    std::lock_guard lock(mutex_);
    held_ = true;
  }
  void release() {
    {
      std::lock_guard lock(mutex_);
      held_ = false;
    }
    released_.notify_all();
  }
  std::vector<Seen> requests() {
    std::lock_guard lock(mutex_);
    return seen_;
  }
  HttpResponse get(const HttpRequest& request) override {
    std::unique_lock lock(mutex_);
    seen_.push_back({request.Url, userAgent_});
    released_.wait_for(lock, std::chrono::seconds(10), [&] { return !held_; });
    auto found = answers_.find(request.Url);
    if (found == answers_.end()) return HttpResponse{.Error = "unreachable"};
    return found->second;
  }
  void setUserAgent(const std::string& agent) override {
    std::lock_guard lock(mutex_);
    userAgent_ = agent;
  }

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  std::map<std::string, HttpResponse> answers_;
  std::vector<Seen> seen_;
  std::string userAgent_ = kDefaultUserAgent;
  bool held_ = false;
};

// Work posted to the user-interface thread waits here until the test runs it.
struct QueuedUiThread : UserInterfaceThread {
  void post(std::function<void()> task) override {
    {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    posted_.notify_all();
  }
  // Waits (bounded) for the next posted task and runs it; false when none came.
  bool runNext(std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::function<void()> task;
    {
      std::unique_lock lock(mutex_);
      if (!posted_.wait_for(lock, timeout, [&] { return !tasks_.empty(); })) return false;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
};

struct FakeNotices : UpdateNotices {
  int windowsShown = 0;
  std::vector<std::string> notices;
  void showUpdateWindow() override { ++windowsShown; }
  void showNotice(const std::string& text) override { notices.push_back(text); }
};

// Each round of event processing runs the next scripted handler, if any:
// a test answers a stop or a close from inside the write job's loop.
struct ScriptedEvents : EventPump {
  int rounds = 0;
  std::map<int, std::function<void()>> atRound;  // 1-based round number
  void processPendingEvents() override {
    ++rounds;
    auto found = atRound.find(rounds);
    if (found != atRound.end()) found->second();
  }
};

struct FakeProgress : WriteProgressDisplay {
  bool visible = false;
  std::vector<int> positions;
  int memoHeightChange = 0;
  void setProgressVisible(bool v) override { visible = v; }
  void setProgress(int p) override { positions.push_back(p); }
  void changeMemoHeight(int delta) override { memoHeightChange += delta; }
};

// Every seam faked, the settings file real, one MainController on top.
struct Rig {
  TempFolder folder;
  MainState state;
  ProfileFile settings{folder.path() / "orlisk.ini"};
  Language lang;
  FakeMessages messages;
  FakeDialogs dialogs;
  FakeSkin skin;
  FakeMemo memo;
  FakeTimeEdit startTime, endTime;
  FakeList list;
  FakeTimer timer;
  ManualClock clock;
  FakeDesktop desktop;
  FakeMouse mouse;
  FakeFonts fonts;
  FakeVideoReader reader;
  RecordingView view;
  RecordingAudio audio;
  RecordingWaveform waveform;
  CountingTransform transform;
  ScriptedHttp http;
  QueuedUiThread uiThread;
  FakeTimer timer2;
  FakeNotices notices;
  NullVideoWriter writer;
  ScriptedEvents events;
  FakeProgress progress;
  // Every character is 10 pixels wide.
  std::function<int(const std::string&, const SubtitleFont&)> textWidth =
      [](const std::string& line, const SubtitleFont&) { return static_cast<int>(line.size()) * 10; };
  // The fakes above, unless a test hands in the real reader, transform or network.
  VideoReader& readerInUse;
  TextTransform& transformInUse;
  HttpClient& httpInUse;
  MainController controller;

  explicit Rig(VideoReader* realReader = nullptr, TextTransform* realTransform = nullptr,
               HttpClient* realHttp = nullptr)
      : readerInUse(realReader ? *realReader : reader),
        transformInUse(realTransform ? *realTransform : transform),
        httpInUse(realHttp ? *realHttp : http),
        controller(MainContext{.State = state,
                               .Settings = settings,
                               .Lang = lang,
                               .Paths = Paths(),
                               .Messages = messages,
                               .Dialogs = dialogs,
                               .Skin = skin,
                               .Memo = memo,
                               .StartTime = startTime,
                               .EndTime = endTime,
                               .List = list,
                               .Timer = timer,
                               .Clock = clock,
                               .Desktop = desktop,
                               .Mouse = mouse,
                               .Fonts = fonts,
                               .Reader = readerInUse,
                               .View = view,
                               .Audio = audio,
                               .Waveform = waveform,
                               .Transform = transformInUse,
                               .TextWidth = textWidth,
                               .Http = httpInUse,
                               .UiThread = uiThread,
                               .Timer2 = timer2,
                               .Notices = notices,
                               .Writer = writer,
                               .Events = events,
                               .Progress = progress}) {
    memo.changed = [this] { controller.ed_textChange(); };
    audio.setMoreAudioRequested([this] { controller.FeedAudio(); });
  }
  Rig(const Rig&) = delete;
  Rig& operator=(const Rig&) = delete;

  AppPaths Paths() const {
    AppPaths p;
    p.HomeFolder = folder.path() / "home";
    p.ProgramFolder = folder.path() / "program";
    p.SettingsFile = folder.path() / "orlisk.ini";
    p.DataFolder = folder.path() / "data" / "orlisk";
    return p;
  }

  // A file's path in the rig's temporary folder.
  std::string file(const std::string& name) const { return (folder / name).string(); }

  // Opens a video through the real command, as the user does: a name in the
  // temporary folder for the fake reader, any path for the real one.
  void openVideo(const std::string& name = "clip.avi") {
    dialogs.nextVideo = fs::path(name).is_absolute() ? name : file(name);
    controller.OpenVideo();
  }
  // Rows with the given begin and end times, made as the user makes them.
  void addRow(SubtitleTime begin, SubtitleTime end, const std::string& text) {
    state.Document.appendRow(SubtitleRow{TimeRangeText(begin, end), text});
    SubtitleEntry e;
    e.BeginTime = begin;
    e.EndTime = end;
    e.Text = text;
    e.Place.X = 10;
    e.Place.Y = 100;
    e.Place.DrawLevel = 240;
    e.Border = true;
    state.Document.resizeEntries(state.Document.rowCount());
    state.Document.entries().back() = e;
  }
  std::string lastMessage() const { return messages.shown.empty() ? "" : messages.shown.back().text; }
};

// A rig with a video open (the first-insert hint already seen) whose commands
// run as the window runs them: inside the history, as the kind they are.
struct UserSession {
  Rig rig;
  MainState& s = rig.state;
  MainController& c = rig.controller;
  DocumentHistory& history = c.history();

  UserSession() {
    s.FirstInsertHint = false;
    rig.openVideo();
  }
  void user(const std::function<void()>& command) { history.runCommand(CommandKind::UserAction, command); }
  void type(const std::string& text) {
    history.runCommand(CommandKind::Typing, [&] { rig.memo.type(text); });
  }
  void mouseMove(int x, int y) {
    history.runCommand(CommandKind::PlacementDrag, [&] { c.VideoViewMouseMove(x, y); });
  }
};

}  // namespace orlisk::testing
