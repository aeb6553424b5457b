#pragma once
// Writing the subtitles into a new video: the write job's window loop and the
// stop request. The job itself (burnin/WriteJob.h) reads, draws and writes;
// this group runs it on the user-interface thread, letting the window's
// events through twice per pass so that the window stays usable and can stop it.
#include <memory>

#include "CommandBasics.h"
#include "PlaybackCommands.h"
#include "PreviewCommands.h"
#include "burnin/TextTransform.h"
#include "burnin/writer/CodecLists.h"
#include "burnin/writer/VideoWriter.h"
#include "playback/VideoReader.h"
#include "playback/VideoView.h"

namespace orlisk {

class OutputJob;

class BurnInCommands {
 public:
  struct Context {
    CommandBasics& Basics;
    SkinObjects& Skin;  // "shpb"
    TextMemo& Memo;     // ed_text shows the job's status
    FileDialogs& Dialogs;  // another output folder when the video cannot be made
    DesktopShell& Desktop;
    EventPump& Events;
    WriteProgressDisplay& Progress;
    VideoReader& Reader;
    VideoView& View;
    VideoWriter& Writer;
    TextTransform& Transform;
    PlaybackCommands& Playback;
    PreviewCommands& Preview;  // the still picture again after the job
  };
  explicit BurnInCommands(Context context);
  ~BurnInCommands();

  // The writer's catalogues, read once at start; the AVI codec Original AVI
  // output uses goes to XvidCodecIndex. What killed write jobs left in the
  // output folder (their partials) is removed then too.
  void FillCodecLists();
  const CodecLists& codecLists() const { return codecs_; }

  // Writes the open video with the subtitles burnt in to a new file in the
  // output folder, showing every written frame and the progress, until both
  // streams end or the user stops; or, with "Add as a subtitle track" set,
  // copies its streams and adds the subtitles as a track (an MP4 the
  // source's streams cannot go into is offered as MKV instead); the memo's status then says which, and a
  // stopped one where the new video ends. Ignored while a job runs or no
  // video is open. An output file that cannot be made is named with the
  // reason, and another output folder offered. Any other failure (the
  // configuration, reading, encoding) propagates to the caller's error
  // handler. Either way the window is idle again afterwards.
  void WriteSubtitlesToVideo();

  // Asks whether to stop a running write job; Yes clears IsWriting, which the
  // job's loop sees at its next pass. Does nothing while no job runs.
  void StopWriting();

  // The main window closes while a job runs: the output is finished and put
  // in place here (it plays up to this point) and the job's loop ends without
  // another reader or writer call.
  void FinishForClose();

 private:
  enum class WriteKind { Burn, TrackInMkv, TrackInMp4, None };
  // Burning, or a track in the container the settings choose; an MP4 the
  // source's streams cannot go into offers MKV (None: the user declined).
  WriteKind ChosenWriteKind();
  // Runs the job's passes until it ends or is stopped; true when it ended,
  // both streams written whole.
  bool RunJob(OutputJob& job);
  // The output file could not be made (`reason` names it): asks whether to
  // choose another output folder, and keeps the one chosen.
  void OfferAnotherOutputFolder(const std::string& reason);

  Context c_;
  CodecLists codecs_;
  OutputJob* running_ = nullptr;  // the job of the loop on the stack, if any
  bool closedForExit_ = false;
};

}  // namespace orlisk
