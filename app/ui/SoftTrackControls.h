#pragma once
// The output settings' "Add as a subtitle track" box and its container list
// (MKV with an ASS track, MP4 with a mov_text track). Both are stored the
// moment they change, as "Auto Open" is; the write job reads them when it
// starts (settings/SoftSubtitleSetting.h).
#include <QWidget>
#include <functional>

#include "settings/ProfileFile.h"

class QCheckBox;
class QComboBox;

namespace orlisk {

class SoftTrackControls : public QWidget {
  Q_OBJECT
 public:
  // `run` runs a handler so that an error it throws reaches the
  // application's handler.
  SoftTrackControls(QWidget* parent, ProfileFile& settings,
                    std::function<void(const std::function<void()>&)> run);

  // Shows what the settings file holds now.
  void Load();

  QCheckBox* cb_softtrack;
  QComboBox* cb_softcontainer;

 private:
  void Store();

  ProfileFile& settings_;
  std::function<void(const std::function<void()>&)> run_;
};

}  // namespace orlisk
