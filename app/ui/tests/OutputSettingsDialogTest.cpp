// The output settings dialog through its real controls, over a settings file
// in a temporary folder and a writer that records its calls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "TestSupport.h"
#include "app/ui/AviCodecDialog.h"
#include "app/ui/OutputFolderDialog.h"
#include "app/ui/OutputSettingsDialog.h"
#include "burnin/writer/ConfigureWriter.h"
#include "burnin/writer/DeliveryConfiguration.h"
#include "burnin/writer/FfmpegVideoWriter.h"
#include "burnin/writer/NullVideoWriter.h"
#include "burnin/writer/WriterProfiles.h"
#include "playback/FfmpegVideoReader.h"
#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

struct RecordedMessages : MessageBoxes {
  std::vector<std::string> shown;
  void information(const std::string& text) override { shown.push_back(text); }
  bool informationQuestion(const std::string&) override { return true; }
  void informationWithHelp(const std::string& text) override { shown.push_back(text); }
  bool confirmation(const std::string&) override { return true; }
  SaveAnswer saveQuestion(const std::string&) override { return SaveAnswer::Cancel; }
};

// A click on the box's caption, where a user clicks (the middle of a wide
// check box may lie past its text).
void ClickBox(QAbstractButton* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

SourceFacts AviSource() {
  SourceFacts source;
  source.Path = "/v/talk.avi";
  source.Container = "avi";
  source.Width = 320;
  source.Height = 240;
  source.FrameRate = 25;
  source.AudioSampleRate = 44100;
  source.AudioChannels = 2;
  return source;
}

class OutputSettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    state.OutputFolder = (folder / "Videos").string();
    std::filesystem::create_directories(folder / "home" / "clips");
    folders = std::make_unique<Tfm_dir>(nullptr, folder / "home");
    dialog = std::make_unique<Tfm_set>(
        nullptr, OutputSettingsParts{.Settings = settings,
                                     .State = state,
                                     .Writer = writer,
                                     .Messages = messages,
                                     .FolderDialog = *folders,
                                     .Run = [this](const std::function<void()>& command) {
                                       try {
                                         command();
                                       } catch (const std::exception& e) {
                                         errors.push_back(e.what());
                                       }
                                     }});
    lists = FillCodecLists(writer);
    dialog->FillCodecLists(lists);
    dialog->SetStartRows();
  }

  // Shown as the editor shows it, but without a nested event loop.
  void Show() {
    dialog->FormShow();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  }

  std::string Stored(const char* section, const char* key) const { return settings.readString(section, key, "(none)"); }

  testing::TempFolder folder{"settings-dialog"};
  ProfileFile settings{folder / "orlisk.ini"};
  MainState state;
  NullVideoWriter writer{{"libxvidcore MPEG-4 part 2", "MPEG-4 part 2", "Motion JPEG"}};
  RecordedMessages messages;
  std::vector<std::string> errors;
  std::unique_ptr<Tfm_dir> folders;
  std::unique_ptr<Tfm_set> dialog;
  CodecLists lists;
};

TEST_F(OutputSettingsDialogTest, AMissingSettingsFileShowsEveryStartValue) {
  writer.Calls.clear();
  Show();
  Tfm_set& d = *dialog;
  EXPECT_EQ(d.windowTitle(), "Settings");
  EXPECT_EQ(d.size(), QSize(540, 297));
  const QStringList pages = {"General", "  To  AVI    ", "  To  MPEG   ", "   To  WMV   ", " MP4/MKV "};
  ASSERT_EQ(d.tabTypeOutFile->count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(d.tabTypeOutFile->tabText(i), pages[i]);
  EXPECT_EQ(d.tabTypeOutFile->currentIndex(), 0);
  EXPECT_EQ(d.btnSetFormatLikeSample->text(), "OK");
  EXPECT_EQ(d.btnConvert->text(), "Default");
  EXPECT_EQ(d.btnCancel->text(), "Cancel");
  EXPECT_LT(d.btnSetFormatLikeSample->x(), d.btnConvert->x());
  EXPECT_LT(d.btnConvert->x(), d.btnCancel->x());

  EXPECT_TRUE(d.rbSizeOriginal->isChecked());
  EXPECT_EQ(state.OutputMode, 0);
  EXPECT_EQ(d.cb_format->currentText(), "AVI");
  EXPECT_EQ(d.EdCustomWidth->text(), "352");
  EXPECT_EQ(d.EdCustomHeight->text(), "240");
  for (QWidget* off : {static_cast<QWidget*>(d.cb_format), static_cast<QWidget*>(d.EdCustomWidth),
                       static_cast<QWidget*>(d.EdCustomHeight)})
    EXPECT_FALSE(off->isEnabled());
  EXPECT_EQ(d.edt_dir->text().toStdString(), state.OutputFolder);
  EXPECT_TRUE(d.edt_dir->isReadOnly());
  EXPECT_TRUE(d.cb_open->isChecked());

  const std::pair<QComboBox*, QString> rows[] = {
      {d.cmbFramerateAVI, "23.97"}, {d.cmbAVICodecs, "MPEG-4 part 2"}, {d.cmbFramerateMPEG, "24.00"},
      {d.cmbVideoBitrateMPEG, "1150"}, {d.cmbCnannelsMPEG, "Stereo"}, {d.cmbAudioBitrateMPEG, "128"},
      {d.cbmpg_fre, "44100"}};
  for (const auto& [list, shown] : rows) EXPECT_EQ(list->currentText(), shown) << list->objectName().toStdString();
  EXPECT_TRUE(d.optMP3->isChecked());
  EXPECT_EQ(d.AviAudioFormat(), kAviAudioMp3);
  EXPECT_EQ(d.rgMPEG->checkedId(), 0);
  ASSERT_GE(d.cmbWMVCodecs->count(), 38);
  EXPECT_EQ(d.cmbWMVCodecs->currentIndex(), 37);
  // "Configure..." works on the codec shown.
  EXPECT_EQ(writer.Calls, std::vector<std::string>{"SelectAviCodec(2)"});
  // Showing stores nothing.
  EXPECT_FALSE(std::filesystem::exists(settings.path()));
}

TEST_F(OutputSettingsDialogTest, EveryShowingReloadsTheControlsFromTheFile) {
  const std::pair<const char*, const char*> stored[] = {
      {"Video", "wh"}, {"AVI", "fram"}, {"AVI", "Code"}, {"AVI", "Audio"}, {"MPEG", "fram"}, {"MPEG", "VBit"},
      {"MPEG", "Cnannel"}, {"MPEG", "ABit"}, {"MPEG", "VS"}, {"MPEG", "Afre"}, {"WMV", "Code"}};
  const int values[] = {1, 7, 2, 5, 3, 4, 0, 9, 1, 0, 2};
  for (std::size_t i = 0; i < std::size(stored); ++i)
    settings.writeInteger(stored[i].first, stored[i].second, values[i]);
  settings.writeBool("Orlisk", "autoopen", false);
  Show();
  Tfm_set& d = *dialog;
  EXPECT_TRUE(d.rbSizeCustom->isChecked());
  EXPECT_EQ(state.OutputMode, 1);
  EXPECT_TRUE(d.cb_format->isEnabled() && d.EdCustomWidth->isEnabled() && d.EdCustomHeight->isEnabled());
  EXPECT_FALSE(d.cb_open->isChecked());
  EXPECT_EQ(d.cmbFramerateAVI->currentText(), "30.00");
  EXPECT_EQ(d.cmbAVICodecs->currentText(), "Motion JPEG");
  EXPECT_TRUE(d.optGSM->isChecked());
  EXPECT_EQ(d.AviAudioFormat(), kAviAudioGsm);
  EXPECT_EQ(d.cmbFramerateMPEG->currentText(), "30.00");
  EXPECT_EQ(d.cmbVideoBitrateMPEG->currentText(), "2376");
  EXPECT_EQ(d.cmbCnannelsMPEG->currentText(), "Mono");
  EXPECT_EQ(d.cmbAudioBitrateMPEG->currentText(), "320");
  EXPECT_EQ(d.rgMPEG->checkedId(), 1);
  EXPECT_EQ(d.cbmpg_fre->currentText(), "6000");
  EXPECT_EQ(d.cmbWMVCodecs->currentIndex(), 2);
  EXPECT_EQ(writer.Calls.back(), "SelectAviCodec(3)");

  // Values outside their lists: no selection, the radio group takes the
  // nearest entry or none, an unknown audio number changes nothing.
  const std::tuple<const char*, const char*, int> odd[] = {
      {"AVI", "Code", 3}, {"AVI", "fram", -1}, {"AVI", "Audio", 6}, {"MPEG", "VS", 7}, {"WMV", "Code", 500}};
  for (const auto& [section, key, value] : odd) settings.writeInteger(section, key, value);
  writer.Calls.clear();
  dialog->FormShow();
  EXPECT_EQ(d.cmbAVICodecs->currentIndex(), -1);
  EXPECT_EQ(d.cmbFramerateAVI->currentIndex(), -1);
  EXPECT_TRUE(d.optGSM->isChecked());
  EXPECT_EQ(d.rgMPEG->checkedId(), 1);
  EXPECT_EQ(d.cmbWMVCodecs->currentIndex(), -1);
  EXPECT_TRUE(writer.Calls.empty());  // no codec shown, none selected
  settings.writeInteger("MPEG", "VS", -2);
  dialog->FormShow();
  EXPECT_EQ(d.rgMPEG->checkedId(), -1);
}

TEST_F(OutputSettingsDialogTest, CustomThenCancelHoldsForTheNextJobUntilTheNextShowing) {
  Show();
  ClickBox(dialog->rbSizeCustom);
  EXPECT_EQ(state.OutputMode, 1);
  EXPECT_TRUE(dialog->EdCustomWidth->isEnabled());
  QTest::mouseClick(dialog->btnCancel, Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(state.OutputMode, 1);  // the next write job writes "Custom:"
  EXPECT_FALSE(std::filesystem::exists(settings.path()));
  Show();  // the stored mode comes back
  EXPECT_TRUE(dialog->rbSizeOriginal->isChecked());
  EXPECT_EQ(state.OutputMode, 0);
}

TEST_F(OutputSettingsDialogTest, TheFormatListActsWithoutOk) {
  settings.writeInteger("Video", "wh", 1);
  Show();
  dialog->cb_format->setFocus();
  QTest::keyClick(dialog->cb_format, Qt::Key_Down);
  QTest::keyClick(dialog->cb_format, Qt::Key_Down);
  EXPECT_EQ(dialog->cb_format->currentText(), "WMV");
  QTest::keyClick(dialog->cb_format, Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->FormatChoice(), 2);
  // The next job in "Custom:" mode writes WMV.
  OutputSettings stored = ReadOutputSettings(settings);
  stored.OutputMode = state.OutputMode;
  const SourceFacts source = AviSource();
  const WriterConfiguration c = ConfigureWriter(source, stored, dialog->FormatChoice(), lists);
  EXPECT_EQ(c.OutputType, kOutputWmv);
  EXPECT_EQ(c.OutputExtension, ".wmv");
  // Only names of the list can be chosen.
  EXPECT_FALSE(dialog->cb_format->isEditable());
}

TEST_F(OutputSettingsDialogTest, DefaultSetsTheControlsAndStoresNothing) {
  settings.writeInteger("Video", "wh", 1);
  settings.writeInteger("AVI", "fram", 0);
  settings.writeInteger("AVI", "Audio", 0);
  settings.writeInteger("MPEG", "VS", 1);
  settings.writeInteger("WMV", "Code", 3);
  const std::string before = testing::ReadBytes(settings.path());
  Show();
  Tfm_set& d = *dialog;
  d.EdCustomWidth->setText("640");
  d.cb_format->setCurrentIndex(1);
  d.cb_open->setChecked(false);
  QTest::mouseClick(d.btnConvert, Qt::LeftButton);
  EXPECT_TRUE(d.rbSizeOriginal->isChecked());
  EXPECT_EQ(state.OutputMode, 0);
  EXPECT_FALSE(d.EdCustomWidth->isEnabled() || d.EdCustomHeight->isEnabled() || d.cb_format->isEnabled());
  EXPECT_EQ(d.cmbFramerateAVI->currentIndex(), 3);
  EXPECT_EQ(d.cmbAVICodecs->currentIndex(), 1);
  EXPECT_TRUE(d.optMP3->isChecked());
  EXPECT_EQ(d.AviAudioFormat(), kAviAudioMp3);
  EXPECT_EQ(d.cmbFramerateMPEG->currentIndex(), 0);
  EXPECT_EQ(d.cmbVideoBitrateMPEG->currentIndex(), 1);
  EXPECT_EQ(d.cmbCnannelsMPEG->currentIndex(), 1);
  EXPECT_EQ(d.cmbAudioBitrateMPEG->currentIndex(), 4);
  EXPECT_EQ(d.cbmpg_fre->currentIndex(), 8);
  EXPECT_EQ(d.rgMPEG->checkedId(), 0);
  EXPECT_EQ(d.cmbWMVCodecs->currentIndex(), 37);
  // These keep their values.
  EXPECT_EQ(d.EdCustomWidth->text(), "640");
  EXPECT_EQ(d.cb_format->currentIndex(), 1);
  EXPECT_FALSE(d.cb_open->isChecked());
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(testing::ReadBytes(settings.path()), before);
}

TEST_F(OutputSettingsDialogTest, OkStoresEveryKeyAndCloses) {
  Show();
  Tfm_set& d = *dialog;
  ClickBox(d.rbSizeCustom);
  d.EdCustomWidth->setText("640");
  d.EdCustomHeight->setText("0");
  d.cmbFramerateAVI->setCurrentIndex(6);
  d.tabTypeOutFile->setCurrentIndex(1);
  ClickBox(d.optALAW);
  d.cmbAVICodecs->setCurrentIndex(0);
  d.cmbFramerateMPEG->setCurrentIndex(2);
  d.cmbVideoBitrateMPEG->setCurrentIndex(3);
  d.cmbCnannelsMPEG->setCurrentIndex(0);
  d.cmbAudioBitrateMPEG->setCurrentIndex(6);
  d.rgMPEG->button(1)->setChecked(true);
  d.cbmpg_fre->setCurrentIndex(5);
  d.cmbWMVCodecs->setCurrentIndex(10);
  QTest::mouseClick(d.btnSetFormatLikeSample, Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_TRUE(errors.empty());

  const std::tuple<const char*, const char*, const char*> keys[] = {
      {"Video", "w", "640"}, {"Video", "h", "0"}, {"Video", "wh", "1"}, {"AVI", "fram", "6"}, {"AVI", "Code", "0"},
      {"AVI", "Audio", "3"}, {"MPEG", "fram", "2"}, {"MPEG", "VBit", "3"}, {"MPEG", "Cnannel", "0"},
      {"MPEG", "ABit", "6"}, {"MPEG", "VS", "1"}, {"MPEG", "Afre", "5"}, {"WMV", "Code", "10"}};
  for (const auto& [section, key, value] : keys) EXPECT_EQ(Stored(section, key), value) << section << "/" << key;
  EXPECT_EQ(Stored("Output", "Path"), state.OutputFolder);
  EXPECT_EQ(state.OutputFolder, (folder / "Videos").string());
  // The stored 0 stays as written; the writer takes the default height.
  const OutputSettings read = ReadOutputSettings(settings);
  EXPECT_EQ(read.CustomHeight, 0);
  const SourceFacts source = AviSource();
  const WriterConfiguration c = ConfigureWriter(source, read, dialog->FormatChoice(), lists);
  ASSERT_TRUE(c.AviVideo);
  EXPECT_EQ(c.AviVideo->Width, 640);
  EXPECT_EQ(c.AviVideo->Height, 240);
}

TEST_F(OutputSettingsDialogTest, SizePresetAndMp4ChoicesAreStoredAndConfigureTheWriter) {
  Show();
  Tfm_set& d = *dialog;
  EXPECT_EQ(d.cb_format->itemText(kFormatChoiceMp4), "MP4");
  EXPECT_EQ(d.cb_format->itemText(kFormatChoiceMkv), "MKV");
  EXPECT_EQ(d.cmbVideoMKV->count(), H265EncoderInstalled() ? 2 : 1);
  EXPECT_EQ(d.cmbSizePreset->currentIndex(), kSizePresetTyped);
  EXPECT_FALSE(d.cmbSizePreset->isEnabled());
  ClickBox(d.rbSizeCustom);
  EXPECT_TRUE(d.cmbSizePreset->isEnabled() && d.EdCustomWidth->isEnabled());
  d.cmbSizePreset->setCurrentIndex(4);  // vertical: the typed size is not used
  EXPECT_FALSE(d.EdCustomWidth->isEnabled() || d.EdCustomHeight->isEnabled());
  d.cb_format->setCurrentIndex(kFormatChoiceMp4);
  EXPECT_FALSE(d.edBitrateMP4->isEnabled());
  d.cmbQualityMP4->setCurrentIndex(kQualityTargetBitRate);
  EXPECT_TRUE(d.edBitrateMP4->isEnabled());
  d.edBitrateMP4->clear();
  d.cmbSpeedMP4->setCurrentIndex(2);
  d.cmbAudioMKV->setCurrentIndex(kMkvAudioOpus);
  // A bit rate in use must be a number: nothing is stored until it is.
  QTest::mouseClick(d.btnSetFormatLikeSample, Qt::LeftButton);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"'' is not a valid integer value"});
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(Stored("Video", "Preset"), "(none)");
  d.edBitrateMP4->setText("2500");
  QTest::mouseClick(d.btnSetFormatLikeSample, Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  const std::tuple<const char*, const char*, const char*> keys[] = {
      {"Video", "Preset", "4"}, {"Delivery", "Quality", "5"}, {"Delivery", "Bitrate", "2500"},
      {"Delivery", "Speed", "2"}, {"MKV", "Video", "0"},     {"MKV", "Audio", "1"}};
  for (const auto& [section, key, value] : keys) EXPECT_EQ(Stored(section, key), value) << section << "/" << key;
  const WriterConfiguration c = ConfigureWriter(AviSource(), ReadOutputSettings(settings), d.FormatChoice(), lists);
  ASSERT_TRUE(c.Delivery);
  EXPECT_EQ(c.OutputExtension, ".mp4");
  EXPECT_EQ(std::tuple(c.Delivery->Width, c.Delivery->Height, c.Delivery->VideoBitRateKbps, c.Delivery->Speed),
            std::tuple(1080, 1920, 2500, std::string("medium")));
}

TEST_F(OutputSettingsDialogTest, AListWithoutASelectionStoresMinusOne) {
  CodecLists few = lists;
  few.WmvProfiles.resize(3);
  dialog->FillCodecLists(few);
  Show();
  EXPECT_EQ(dialog->cmbWMVCodecs->currentIndex(), -1);
  QTest::mouseClick(dialog->btnSetFormatLikeSample, Qt::LeftButton);
  EXPECT_EQ(Stored("WMV", "Code"), "-1");
}

TEST_F(OutputSettingsDialogTest, SizeFieldsTakeDigitsAndFillAnEmptyField) {
  settings.writeInteger("Video", "wh", 1);
  Show();
  QLineEdit* width = dialog->EdCustomWidth;
  width->clear();
  width->setFocus();
  QTest::keyClicks(width, "12a");
  EXPECT_EQ(width->text(), "1");  // the letter deleted the 2
  QTest::keyClicks(width, "x");
  EXPECT_EQ(width->text(), "");
  QTest::keyClicks(width, "9");
  QTest::keyClick(width, Qt::Key_V, Qt::ControlModifier);  // no paste from the keyboard
  EXPECT_EQ(width->text(), "");
  QTest::keyClicks(width, "45");
  QTest::keyClick(width, Qt::Key_Left);
  QTest::keyClick(width, Qt::Key_Delete);
  EXPECT_EQ(width->text(), "4");
  width->clear();
  dialog->EdCustomHeight->setFocus();  // leaving the empty field
  EXPECT_EQ(width->text(), "352");
  dialog->EdCustomHeight->clear();
  // Enter in the empty field is "OK", which fills it first.
  QTest::keyClick(dialog->EdCustomHeight, Qt::Key_Return);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(Stored("Video", "h"), "240");
  EXPECT_EQ(Stored("Video", "w"), "352");
}

TEST_F(OutputSettingsDialogTest, OkWithATextThatIsNoNumberStoresNothing) {
  for (const char* pasted : {"12x", "2147483648", " "}) {
    Show();
    dialog->EdCustomHeight->setText(QString::fromLatin1(pasted));  // pasted with the mouse
    messages.shown.clear();
    QTest::mouseClick(dialog->btnSetFormatLikeSample, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u) << pasted;
    EXPECT_EQ(messages.shown[0], std::string("'") + pasted + "' is not a valid integer value");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(std::filesystem::exists(settings.path())) << pasted;
    dialog->hide();
  }
}

TEST_F(OutputSettingsDialogTest, AutoOpenIsStoredAtTheClick) {
  Show();
  state.AutoOpenOutput = true;
  ClickBox(dialog->cb_open);
  EXPECT_EQ(Stored("Orlisk", "autoopen"), "0");
  EXPECT_FALSE(state.AutoOpenOutput);
  QTest::mouseClick(dialog->btnCancel, Qt::LeftButton);
  EXPECT_EQ(Stored("Orlisk", "autoopen"), "0");
  Show();
  EXPECT_FALSE(dialog->cb_open->isChecked());
}

TEST_F(OutputSettingsDialogTest, TheCodecListSelectsAtOnceAndConfigureEditsThatCodec) {
  Show();
  dialog->tabTypeOutFile->setCurrentIndex(1);
  writer.Calls.clear();
  dialog->cmbAVICodecs->setFocus();
  QTest::keyClick(dialog->cmbAVICodecs, Qt::Key_Down);
  EXPECT_EQ(writer.Calls, std::vector<std::string>{"SelectAviCodec(3)"});

  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* codec = qobject_cast<AviCodecDialog*>(QApplication::activeModalWidget());
    if (!codec) return;
    seen = codec->windowTitle() == "Motion JPEG";
    codec->rbBitRate->setChecked(true);
    codec->edBitRate->setValue(1500);
    codec->edKeyFrames->setValue(12);
    codec->accept();
  });
  QTest::mouseClick(dialog->btnConfigureVideoCodec, Qt::LeftButton);
  EXPECT_TRUE(seen);
  const AviCodecSettings chosen = writer.GetAviCodecSettings();
  EXPECT_EQ(chosen.Control, AviCodecSettings::RateControl::BitRate);
  EXPECT_EQ(chosen.BitRateKbps, 1500);
  EXPECT_EQ(chosen.KeyFrameInterval, 12);
}

TEST(AviCodecDialog, ALosslessCodecOffersOnlyTheKeyFrameInterval) {
  test::TestApplication();
  AviCodecSettings lossless;
  lossless.Lossless = true;
  lossless.KeyFrameInterval = 1;
  AviCodecDialog dialog(nullptr, QStringLiteral("FFmpeg video codec #1"), lossless);
  EXPECT_EQ(dialog.windowTitle(), "FFmpeg video codec #1");
  EXPECT_FALSE(dialog.rbQuality->isEnabled() || dialog.rbBitRate->isEnabled() || dialog.edQuality->isEnabled());
  dialog.edKeyFrames->setValue(25);
  const AviCodecSettings edited = dialog.Settings();
  EXPECT_TRUE(edited.Lossless);
  EXPECT_EQ(edited.KeyFrameInterval, 25);
  EXPECT_EQ(edited.Quality, lossless.Quality);
}

TEST_F(OutputSettingsDialogTest, TheFolderButtonOpensTheFolderDialogCentredAndTakesItsChoice) {
  Show();
  const std::string chosen = (folder / "home" / "clips").string();
  QRect where;
  QTimer::singleShot(0, [&] {
    auto* dirs = qobject_cast<Tfm_dir*>(QApplication::activeModalWidget());
    if (!dirs) return;
    where = dirs->frameGeometry();
    dirs->SelectFolder(chosen);
    QTest::mouseClick(dirs->btn_ok, Qt::LeftButton);
  });
  QTest::mouseClick(dialog->bt_dir, Qt::LeftButton);
  EXPECT_EQ(dialog->edt_dir->text().toStdString(), chosen);
  const QRect here = dialog->frameGeometry();
  EXPECT_EQ(where.left(), here.left() + (here.width() - where.width()) / 2);
  EXPECT_EQ(where.top(), here.top() + (here.height() - where.height()) / 2);
  EXPECT_EQ(folders->windowTitle(), "Output Directory");

  // "Ok" with nothing selected keeps the field.
  QTimer::singleShot(0, [&] {
    auto* dirs = qobject_cast<Tfm_dir*>(QApplication::activeModalWidget());
    if (!dirs) return;
    dirs->ShellTreeView1->clearSelection();
    QTest::mouseClick(dirs->btn_ok, Qt::LeftButton);
  });
  QTest::mouseClick(dialog->bt_dir, Qt::LeftButton);
  EXPECT_TRUE(folders->ChosenFolder().empty());
  EXPECT_EQ(dialog->edt_dir->text().toStdString(), chosen);
  // Stored with "OK".
  QTest::mouseClick(dialog->btnSetFormatLikeSample, Qt::LeftButton);
  EXPECT_EQ(Stored("Output", "Path"), chosen);
  EXPECT_EQ(state.OutputFolder, chosen);
}

// What each format chosen in the dialog gives the writer, read back from the
// file as a write job reads it.
struct FormatRow {
  int Choice;
  std::int32_t OutputType;
  const char* Extension;
  int Width;  // of the output; 0 where the format's profile decides
  int Height;
  const char* Container;  // FFmpeg's name for what is written
};

class ChosenFormatTest : public OutputSettingsDialogTest, public ::testing::WithParamInterface<FormatRow> {};

TEST_P(ChosenFormatTest, TheStoredSettingsConfigureTheWriterForIt) {
  const FormatRow row = GetParam();
  Show();
  ClickBox(dialog->rbSizeCustom);
  dialog->cb_format->setCurrentIndex(row.Choice);
  dialog->EdCustomWidth->setText("480");
  dialog->EdCustomHeight->setText("272");
  QTest::mouseClick(dialog->btnSetFormatLikeSample, Qt::LeftButton);

  OutputSettings stored = ReadOutputSettings(settings);
  EXPECT_EQ(stored.OutputMode, 1);
  const SourceFacts source = AviSource();
  const WriterConfiguration c = ConfigureWriter(source, stored, dialog->FormatChoice(), lists);
  EXPECT_EQ(c.OutputType, row.OutputType);
  EXPECT_EQ(c.OutputExtension, row.Extension);
  if (c.AviVideo) {
    EXPECT_EQ(std::pair(c.AviVideo->Width, c.AviVideo->Height), std::pair(row.Width, row.Height));
  }
  if (c.MpegVideo) {
    EXPECT_EQ(std::pair(c.MpegVideo->Width, c.MpegVideo->Height), std::pair(row.Width, row.Height));
  }
  EXPECT_EQ(c.AviVideo.has_value() || c.MpegVideo.has_value(), row.Width != 0);
}

// A short write through the real writer in the format chosen in the dialog,
// read back with the real reader: the container the extension names, and the
// size chosen (the custom size for AVI and MPEG, the chosen profile's for WMV,
// the source's for the default RM profile).
TEST_P(ChosenFormatTest, AWriteInTheChosenFormatHasTheChosenSize) {
  const FormatRow row = GetParam();
  Show();
  ClickBox(dialog->rbSizeCustom);
  dialog->cb_format->setCurrentIndex(row.Choice);
  dialog->EdCustomWidth->setText("480");
  dialog->EdCustomHeight->setText("272");
  int expectedWidth = row.Width ? row.Width : 320;
  int expectedHeight = row.Height ? row.Height : 240;
  if (row.OutputType == kOutputWmv) {
    const auto profiles = WmvProfiles();
    for (std::size_t i = 0; i < profiles.size(); ++i) {
      if (profiles[i].Width == 0) continue;
      dialog->cmbWMVCodecs->setCurrentIndex(static_cast<int>(i));
      expectedWidth = profiles[i].Width;
      expectedHeight = profiles[i].Height;
      break;
    }
  }
  QTest::mouseClick(dialog->btnSetFormatLikeSample, Qt::LeftButton);

  FfmpegVideoWriter realWriter;
  OutputSettings stored = ReadOutputSettings(settings);
  stored.OutputMode = state.OutputMode;
  const WriterConfiguration c =
      ConfigureWriter(AviSource(), stored, dialog->FormatChoice(), FillCodecLists(realWriter));
  ApplyWriterConfiguration(c, realWriter);
  const std::string path = (folder / ("written" + c.OutputExtension)).string();
  realWriter.CreateOutput(path, c.OutputType);
  for (int i = 0; i < 10; ++i) {
    Frame frame{320, 240, 320 * 4, std::vector<std::uint8_t>(320 * 4 * 240, static_cast<std::uint8_t>(i * 20))};
    realWriter.WriteFrame(std::move(frame));
    realWriter.WriteAudio(AudioBlock{std::vector<std::uint8_t>(44100 / 25 * 4, 0)});
  }
  realWriter.CloseSource();

  EXPECT_EQ(DetectContainerName(path), row.Container);
  FfmpegVideoReader reader;
  ASSERT_NO_THROW(reader.OpenSource(path)) << path;
  EXPECT_EQ(reader.GetWidth(), expectedWidth);
  EXPECT_EQ(reader.GetHeight(), expectedHeight);
  EXPECT_FALSE(reader.GetVideoFormatName().empty());
  EXPECT_GT(reader.GetDuration(), 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, ChosenFormatTest,
                         ::testing::Values(FormatRow{0, kOutputAvi, ".avi", 480, 272, "avi"},
                                           FormatRow{1, kOutputMpeg, ".mpeg", 480, 272, "mpeg"},
                                           FormatRow{2, kOutputWmv, ".wmv", 0, 0, "asf"},
                                           FormatRow{3, kOutputRm, ".rm", 0, 0, "rm"}));

}  // namespace
}  // namespace orlisk
