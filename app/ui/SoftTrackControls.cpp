#include "app/ui/SoftTrackControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <utility>

#include "settings/SoftSubtitleSetting.h"

namespace orlisk {

SoftTrackControls::SoftTrackControls(QWidget* parent, ProfileFile& settings,
                                     std::function<void(const std::function<void()>&)> run)
    : QWidget(parent), settings_(settings), run_(std::move(run)) {
  cb_softtrack = new QCheckBox(QStringLiteral("Add as a subtitle track"), this);
  cb_softtrack->setObjectName(QStringLiteral("cb_softtrack"));
  cb_softcontainer = new QComboBox(this);
  cb_softcontainer->setObjectName(QStringLiteral("cb_softcontainer"));
  // Rows in the order of the stored "Container" value.
  cb_softcontainer->addItem(QStringLiteral("MKV (places and colours)"));
  cb_softcontainer->addItem(QStringLiteral("MP4 (text and times)"));
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(cb_softtrack);
  row->addWidget(cb_softcontainer);
  row->addStretch();
  connect(cb_softtrack, &QCheckBox::clicked, this, [this] { run_([this] { Store(); }); });
  connect(cb_softcontainer, &QComboBox::activated, this, [this] { run_([this] { Store(); }); });
}

void SoftTrackControls::Load() {
  const SoftSubtitleSetting setting = ReadSoftSubtitleSetting(settings_);
  cb_softtrack->setChecked(setting.AddAsTrack);
  cb_softcontainer->setCurrentIndex(setting.Container);
  cb_softcontainer->setEnabled(setting.AddAsTrack);
}

void SoftTrackControls::Store() {
  const SoftSubtitleSetting setting{.AddAsTrack = cb_softtrack->isChecked(),
                                    .Container = cb_softcontainer->currentIndex() == 1 ? 1 : 0};
  cb_softcontainer->setEnabled(setting.AddAsTrack);
  WriteSoftSubtitleSetting(settings_, setting);
}

}  // namespace orlisk
