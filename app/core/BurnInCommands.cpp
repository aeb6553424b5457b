#include "BurnInCommands.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <system_error>
#include <utility>

#include "burnin/SoftSubtitleJob.h"
#include "burnin/WriteJob.h"
#include "burnin/writer/ConfigureWriter.h"
#include "burnin/writer/OutputNaming.h"
#include "burnin/writer/PartialOutput.h"
#include "burnin/writer/SourceFacts.h"
#include "media/MediaError.h"
#include "settings/OutputSettings.h"
#include "settings/Settings.h"
#include "settings/SoftSubtitleSetting.h"

namespace orlisk {
namespace {

constexpr int kProgressRoomPixels = 13;

// The memo's status, in the model of what is at hand and on the window.
void ShowMemoStatus(SubtitleAtHand& atHand, TextMemo& memo, const std::string& status) {
  atHand.ShowStatus(status);
  memo.showStatus(status);
}

// Whatever way the job ends (done, stopped, closed, failed), the window is
// idle again afterwards: IsWriting false, progress hidden, memo full height
// and no longer saying that a video is being written.
class WritingIndicators {
 public:
  WritingIndicators(MainState& state, SkinObjects& skin, WriteProgressDisplay& progress, TextMemo& memo,
                    const std::string& status)
      : state_(state), skin_(skin), progress_(progress), memo_(memo) {
    state_.IsWriting = true;
    progress_.changeMemoHeight(-kProgressRoomPixels);
    skin_.setProgressPanelVisible(true);
    progress_.setProgress(0);
    progress_.setProgressVisible(true);
    // The memo shows the job's status, which is no subtitle: nothing is at
    // hand until a subtitle is inserted or picked again, and nothing typed
    // meanwhile could go anywhere.
    memo_.setEnabled(false);
    memo_.setText("");
    ShowMemoStatus(state_.AtHand, memo_, status);
  }
  ~WritingIndicators() {
    state_.IsWriting = false;
    progress_.setProgressVisible(false);
    skin_.setProgressPanelVisible(false);
    progress_.changeMemoHeight(kProgressRoomPixels);
    ShowMemoStatus(state_.AtHand, memo_, "");
  }
  WritingIndicators(const WritingIndicators&) = delete;
  WritingIndicators& operator=(const WritingIndicators&) = delete;

 private:
  MainState& state_;
  SkinObjects& skin_;
  WriteProgressDisplay& progress_;
  TextMemo& memo_;
};

}  // namespace

BurnInCommands::BurnInCommands(Context context) : c_(context) {}
BurnInCommands::~BurnInCommands() = default;

void BurnInCommands::FillCodecLists() {
  codecs_ = orlisk::FillCodecLists(c_.Writer);
  c_.Basics.State.XvidCodecIndex = codecs_.XvidCodecIndex;
  RemoveDeadPartials(c_.Basics.State.OutputFolder, std::chrono::system_clock::now());
}

void BurnInCommands::WriteSubtitlesToVideo() {
  MainState& s = c_.Basics.State;
  const Language& lang = c_.Basics.Lang;
  if (s.IsPlaying) c_.Playback.StopPlayback();
  if (s.IsWriting || s.VideoPath.empty()) return;
  const WriteKind kind = ChosenWriteKind();
  if (kind == WriteKind::None) return;

  // A folder that cannot be made shows when the output file is created.
  std::error_code ignored;
  std::filesystem::create_directory(s.OutputFolder, ignored);
  const std::string folder = WithTrailingSlash(s.OutputFolder);

  std::optional<WritingIndicators> indicators;
  indicators.emplace(s, c_.Skin, c_.Progress, c_.Memo,
                     lang.MessageText("Writesubtitle", "The subtitles are written to the video"));

  // The still picture and the playbar stay where they were; the reader goes
  // back there afterwards, so that playing on starts from the picture shown.
  const std::int32_t resumeAt = c_.Reader.GetPosition();
  s.PreviewCount = static_cast<std::int32_t>(s.Document.entries().size());
  s.SubtitleCursor = 0;
  // Either kind of job, from its start (which names the output) to the
  // outcome in the memo.
  auto run = [&](OutputJob& job, const std::function<void()>& start) {
    try {
      start();
    } catch (const MediaError& e) {
      // Nothing was written (a read-only, full or vanished folder): the
      // window is idle before it asks what to do.
      c_.Reader.SeekTo(resumeAt);
      indicators.reset();
      c_.Preview.RefreshFrame();
      OfferAnotherOutputFolder(e.what());
      return;
    }
    const bool whole = RunJob(job);
    if (closedForExit_) return;  // the close finished the output already
    // Where the new video ends, asked before the output closes.
    const SubtitleTime end = job.writtenUntil();
    job.Finish();
    c_.Reader.SeekTo(resumeAt);
    // The window goes idle (IsWriting false, progress hidden) before the
    // still picture, the outcome and the file manager.
    indicators.reset();
    c_.Preview.RefreshFrame();
    ShowMemoStatus(s.AtHand, c_.Memo,
                   whole ? lang.MessageText("WritesubtitletoVideo", "Subtitles write complete")
                         : lang.MessageText("WriteStopped", "Writing stopped: the new video ends at") + " " +
                               FormatSubtitleTime(end));
    if (s.AutoOpenOutput) c_.Desktop.showInFileManager(job.outputPath());
  };

  if (kind != WriteKind::Burn) {
    const SoftContainer container = kind == WriteKind::TrackInMp4 ? SoftContainer::Mp4 : SoftContainer::Mkv;
    SoftSubtitleJob job(s.VideoPath, s.Document.entries(), s.Style, container);
    // Never over an existing file, the source least of all.
    run(job, [&] { job.Start(FreeOutputTarget(folder, s.VideoPath, SoftContainerExtension(container))); });
    return;
  }
  OutputSettings settings = ReadOutputSettings(c_.Basics.Settings);
  settings.OutputMode = s.OutputMode;  // the dialog's size mode acts at once
  codecs_.XvidCodecIndex = s.XvidCodecIndex;
  const WriterConfiguration configuration =
      ConfigureWriter(ReadSourceFacts(c_.Reader, s.VideoPath), settings, s.FormatChoice, codecs_);
  ApplyWriterConfiguration(configuration, c_.Writer);
  s.OutputType = configuration.OutputType;
  s.OutputExtension = configuration.OutputExtension;
  // The view gets each written frame at the size it shows it, converted off
  // the encoding's way, as playback does.
  const PictureRect shown = FitPicture(c_.View.viewWidth(), c_.View.viewHeight(), c_.Reader.GetWidth(),
                                       c_.Reader.GetHeight(), c_.Reader.GetPixelAspect());
  WriteJob job({.Reader = c_.Reader,
                .Writer = c_.Writer,
                .Transform = c_.Transform,
                .ShowFrame = [this](const Frame& frame) { c_.View.ShowFrame(frame); },
                .ShowWidth = shown.Width,
                .ShowHeight = shown.Height},
               s.Document.entries(), s.Style);
  run(job, [&] { job.Start(FreeOutputTarget(folder, s.VideoPath, s.OutputExtension), s.OutputType); });
}

BurnInCommands::WriteKind BurnInCommands::ChosenWriteKind() {
  const SoftSubtitleSetting setting = ReadSoftSubtitleSetting(c_.Basics.Settings);
  if (!setting.AddAsTrack) return WriteKind::Burn;
  if (setting.Container != 1) return WriteKind::TrackInMkv;
  const std::string refusal = SoftContainerRefusal(c_.Basics.State.VideoPath, SoftContainer::Mp4);
  if (refusal.empty()) return WriteKind::TrackInMp4;
  if (!c_.Basics.Messages.informationQuestion(
          refusal + ".\n\n" +
          c_.Basics.Lang.MessageText("SoftTrackOfferMkv", "Write an MKV file instead? MKV takes these streams unchanged.")))
    return WriteKind::None;
  return WriteKind::TrackInMkv;
}

bool BurnInCommands::RunJob(OutputJob& job) {
  MainState& s = c_.Basics.State;
  running_ = &job;
  closedForExit_ = false;
  struct Forget {
    OutputJob*& running;
    ~Forget() { running = nullptr; }
  } forget{running_};
  while (s.IsWriting) {
    // Twice per pass: the input, then the paints and timers it caused; a
    // confirmed stop or close inside clears IsWriting.
    c_.Events.processPendingEvents();
    c_.Events.processPendingEvents();
    if (!s.IsWriting) return false;
    if (!job.Step()) return true;
    c_.Progress.setProgress(job.Progress());
  }
  return false;
}

void BurnInCommands::OfferAnotherOutputFolder(const std::string& reason) {
  MainState& s = c_.Basics.State;
  if (!c_.Basics.Messages.informationQuestion(
          reason + "\n\n" +
          c_.Basics.Lang.MessageText("WriteOutputNotCreated", "Choose another output folder for the new video?")))
    return;
  const std::optional<std::string> chosen = c_.Dialogs.chooseOutputFolder(s.OutputFolder);
  if (!chosen || chosen->empty()) return;
  s.OutputFolder = *chosen;
  WriteOutputFolder(c_.Basics.Settings, s.OutputFolder);
}

void BurnInCommands::StopWriting() {
  MainState& s = c_.Basics.State;
  if (!s.IsWriting) return;
  if (c_.Basics.Messages.informationQuestion(c_.Basics.Lang.MessageText(
          "StopWriteSubtovideo",
          "Stop writing? The new video will end where it was stopped.")))
    s.IsWriting = false;
}

void BurnInCommands::FinishForClose() {
  c_.Basics.State.IsWriting = false;
  if (running_ == nullptr) return;
  closedForExit_ = true;
  // The video is put in place as a stop would; the loop then ends without
  // touching reader or writer again.
  running_->Finish();
}

}  // namespace orlisk
