#pragma once
// The sound's loudness behind the playbar: measures each opened video's
// sound on a thread of its own (SoundScanner) and hands the pieces over to
// the playbar's picture on the user-interface thread as they come; keeps the
// subtitles' spans on it in step with the list.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/core/OnlineSeams.h"
#include "app/core/SoundWaveform.h"
#include "app/skin/PlaybarWaveform.h"
#include "playback/SoundScanner.h"
#include "subtitles/SubtitleDocument.h"

namespace orlisk {

class PlaybarSound : public SoundWaveform {
 public:
  // `picture` is what the playbar draws, `redraw` repaints the playbar; the
  // scan's pieces reach them through `uiThread`. All three outlive this.
  PlaybarSound(PlaybarWaveform& picture, std::function<void()> redraw, UserInterfaceThread& uiThread);
  // Stops a scan under way; what it posted and has not run yet is dropped.
  ~PlaybarSound() override;
  PlaybarSound(const PlaybarSound&) = delete;
  PlaybarSound& operator=(const PlaybarSound&) = delete;

  void showSoundOf(const std::string& videoPath, std::int32_t durationMs) override;
  void forgetSound() override;

  // The spans of the subtitles with a time (end after begin), as the
  // document holds them now; redraws only when they changed.
  void followSubtitles(const SubtitleDocument& document);

 private:
  void StopScan();

  PlaybarWaveform& picture_;
  std::function<void()> redraw_;
  UserInterfaceThread& uiThread_;
  // Tells the pieces of the current scan from those a stopped one posted:
  // shared with the posted tasks, so that they can also tell that this
  // object is gone.
  std::shared_ptr<std::uint64_t> currentScan_ = std::make_shared<std::uint64_t>(0);
  std::unique_ptr<SoundScanner> scanner_;
};

}  // namespace orlisk
