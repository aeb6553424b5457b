#include "BurnInCommands.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "burnin/WriteJob.h"
#include "burnin/writer/ConfigureWriter.h"
#include "burnin/writer/OutputNaming.h"
#include "burnin/writer/PartialOutput.h"
#include "burnin/writer/SourceFacts.h"
#include "settings/OutputSettings.h"

namespace orlisk {
namespace {

constexpr int kProgressRoomPixels = 13;

// Whatever way the job ends (done, stopped, closed, failed), the window is
// idle again afterwards: IsWriting false, progress hidden, memo full height.
class WritingIndicators {
 public:
  WritingIndicators(MainState& state, SkinObjects& skin, WriteProgressDisplay& progress)
      : state_(state), skin_(skin), progress_(progress) {
    state_.IsWriting = true;
    progress_.changeMemoHeight(-kProgressRoomPixels);
    skin_.setProgressPanelVisible(true);
    progress_.setProgress(0);
    progress_.setProgressVisible(true);
  }
  ~WritingIndicators() {
    state_.IsWriting = false;
    progress_.setProgressVisible(false);
    skin_.setProgressPanelVisible(false);
    progress_.changeMemoHeight(kProgressRoomPixels);
  }
  WritingIndicators(const WritingIndicators&) = delete;
  WritingIndicators& operator=(const WritingIndicators&) = delete;

 private:
  MainState& state_;
  SkinObjects& skin_;
  WriteProgressDisplay& progress_;
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
  if (s.IsPlaying) c_.Playback.StopPlayback();
  if (s.IsWriting || s.VideoPath.empty()) return;

  // A folder that cannot be made shows when the output file is created.
  std::error_code ignored;
  std::filesystem::create_directory(s.OutputFolder, ignored);
  const std::string folder = WithTrailingSlash(s.OutputFolder);

  std::optional<WritingIndicators> indicators;
  indicators.emplace(s, c_.Skin, c_.Progress);
  // The memo shows the job's status now, which is no subtitle: nothing is at
  // hand until a subtitle is inserted or picked again.
  s.AtHand.Release();
  c_.Memo.setText(c_.Basics.Lang.MessageText("Writesubtitle", "The subtitles are written to the video"));

  OutputSettings settings = ReadOutputSettings(c_.Basics.Settings);
  settings.OutputMode = s.OutputMode;  // the dialog's size mode acts at once
  codecs_.XvidCodecIndex = s.XvidCodecIndex;
  const WriterConfiguration configuration =
      ConfigureWriter(ReadSourceFacts(c_.Reader, s.VideoPath), settings, s.FormatChoice, codecs_);
  ApplyWriterConfiguration(configuration, c_.Writer);
  s.OutputType = configuration.OutputType;
  s.OutputExtension = configuration.OutputExtension;


  // The still picture and the playbar stay where they were; the reader goes
  // back there afterwards, so that playing on starts from the picture shown.
  const std::int32_t resumeAt = c_.Reader.GetPosition();
  s.PreviewCount = static_cast<std::int32_t>(s.Document.entries().size());
  s.SubtitleCursor = 0;
  // The view gets each written frame at the size it shows it, converted off
  // the encoding's way, as playback does.
  const PictureRect shown = FitPicture(c_.View.viewWidth(), c_.View.viewHeight(), c_.Reader.GetWidth(),
                                       c_.Reader.GetHeight());
  WriteJob job({.Reader = c_.Reader,
                .Writer = c_.Writer,
                .Transform = c_.Transform,
                .ShowFrame = [this](const Frame& frame) { c_.View.ShowFrame(frame); },
                .ShowWidth = shown.Width,
                .ShowHeight = shown.Height},
               s.Document.entries(), s.Style.Font);
  // Never over an existing file, the source least of all.
  job.Start(FreeOutputTarget(folder, s.VideoPath, s.OutputExtension), s.OutputType);
  RunJob(job);
  if (closedForExit_) return;  // the close finished the output already
  job.Finish();
  c_.Reader.SeekTo(resumeAt);
  // The window goes idle (IsWriting false, progress hidden) before the
  // completion text and the file manager.
  indicators.reset();
  c_.Memo.setText(c_.Basics.Lang.MessageText("WritesubtitletoVideo", "Subtitles write complete"));
  if (s.AutoOpenOutput) c_.Desktop.showInFileManager(job.outputPath());
}

void BurnInCommands::RunJob(WriteJob& job) {
  MainState& s = c_.Basics.State;
  running_ = &job;
  closedForExit_ = false;
  struct Forget {
    WriteJob*& running;
    ~Forget() { running = nullptr; }
  } forget{running_};
  while (s.IsWriting) {
    // Twice per pass: the input, then the paints and timers it caused; a
    // confirmed stop or close inside clears IsWriting.
    c_.Events.processPendingEvents();
    c_.Events.processPendingEvents();
    if (!s.IsWriting) break;
    if (!job.Step()) break;
    c_.Progress.setProgress(job.Progress());
  }
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
