// The main window's command table: every road to a command (skin object,
// function key, shortcut, menu item) reaches its one row, and a disabled
// command does nothing from any of them.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QTest>

#include "TestSupport.h"
#include "app/skin/SkinFile.h"

namespace orlisk {
namespace {

using Calls = std::vector<std::string>;

int RowsNaming(const QString& object) {
  int rows = 0;
  for (const CommandRow& row : MainWindowCommands()) {
    for (const char* name : row.SkinObjects) rows += name && object == QLatin1StringView(name);
  }
  return rows;
}

SkinDocument ShippedSkin(const char* file) {
  QFile text(QString::fromLatin1(ORLISK_TEST_DATA_DIR "/") + QString::fromLatin1(file));
  EXPECT_TRUE(text.open(QIODevice::ReadOnly)) << file;
  return ParseSkin(QString::fromUtf8(text.readAll()), QString::fromLatin1(file));
}

// Buttons are commands; panels, images, labels, texts and the playbar are
// not, except the help topics, which are labels that open pages.
TEST(CommandTable, EveryButtonOfBothSkinsIsOneCommandAndEveryCommandObjectExists) {
  for (const char* file : {"skn.skn", "skncn.skn"}) {
    SkinDocument skin = ShippedSkin(file);
    for (const SkinObjectData& object : skin.objects) {
      const int rows = RowsNaming(object.name);
      if (object.kind == SkinKind::Button)
        EXPECT_EQ(rows, 1) << file << ": " << object.name.toStdString();
      else
        EXPECT_LE(rows, 1) << file << ": " << object.name.toStdString();
      test::RecordingCommands commands;
      commands.now.Writing = true;
      EXPECT_EQ(commands.actions.triggerSkinObject(object.name), rows == 1) << object.name.toStdString();
      EXPECT_EQ(commands.calls.size(), rows == 1 ? 1u : 0u) << object.name.toStdString();
    }
    for (const CommandRow& row : MainWindowCommands()) {
      for (const char* name : row.SkinObjects)
        EXPECT_TRUE(!name || skin.find(QString::fromLatin1(name))) << file << " has no " << name;
    }
  }
}

TEST(CommandTable, SkinNamesCompareExactly) {
  const std::pair<const char*, const char*> rows[] = {
      {"stopplay", "StopPlayback"}, {"playstop", "StopPlayback"}, {"start", "WriteSubtitle1"},
      {"lvinsert", "Insert"},       {"help4", "HelpTopic4"},      {"Play", nullptr},
      {"SETBEGINTIME", nullptr},    {"Help1", nullptr},           {"play ", nullptr},
      {"help5", nullptr},           {"open", nullptr},            {"openvideo2", nullptr},
      {"", nullptr},
  };
  for (const auto& [name, command] : rows) {
    test::RecordingCommands commands;
    EXPECT_EQ(commands.actions.triggerSkinObject(QString::fromLatin1(name)), command != nullptr) << name;
    EXPECT_EQ(commands.calls, command ? Calls{command} : Calls{}) << name;
  }
}

TEST(CommandTable, FunctionKeysRunTheirRowsWhateverShiftAndCtrlButNotWithAlt) {
  struct Row {
    int key;
    Qt::KeyboardModifiers modifiers;
    const char* command;
  };
  const Row rows[] = {
      {Qt::Key_F1, Qt::NoModifier, "Content1"},         {Qt::Key_F2, Qt::NoModifier, "Play"},
      {Qt::Key_F3, Qt::NoModifier, "InsertSubtitle"},   {Qt::Key_F4, Qt::NoModifier, "SetEndTime"},
      {Qt::Key_F5, Qt::NoModifier, "Pause"},            {Qt::Key_F6, Qt::NoModifier, "StopPlayback"},
      {Qt::Key_F7, Qt::NoModifier, "WriteSubtitle1"},   {Qt::Key_F8, Qt::NoModifier, "Stop1"},
      {Qt::Key_F3, Qt::ShiftModifier, "InsertSubtitle"}, {Qt::Key_F3, Qt::ControlModifier, "InsertSubtitle"},
      {Qt::Key_F3, Qt::ShiftModifier | Qt::ControlModifier, "InsertSubtitle"},
      {Qt::Key_F3, Qt::AltModifier, nullptr},           {Qt::Key_F4, Qt::AltModifier, nullptr},
      {Qt::Key_F4, Qt::AltModifier | Qt::ShiftModifier, nullptr},
      {Qt::Key_F9, Qt::NoModifier, nullptr},            {Qt::Key_F10, Qt::NoModifier, nullptr},
      {Qt::Key_A, Qt::NoModifier, nullptr},             {Qt::Key_Escape, Qt::NoModifier, nullptr},
  };
  for (const Row& row : rows) {
    test::RecordingCommands commands;
    commands.now.Writing = true;  // F8 stops a write job
    EXPECT_EQ(commands.actions.triggerFunctionKey(row.key, row.modifiers), row.command != nullptr) << row.key;
    EXPECT_EQ(commands.calls, row.command ? Calls{row.command} : Calls{}) << row.key;
  }
}

TEST(CommandTable, ShortcutsRunTheirRowsFromAnywhereInTheWindow) {
  test::RecordingCommands commands;
  commands.now = {.Writing = false, .CanUndo = true, .CanRedo = true, .VideoOpen = true};
  commands.actions.refresh();
  commands.window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&commands.window));
  commands.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&commands.window));
  const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char*> rows[] = {
      {Qt::Key_O, Qt::ControlModifier, "OpenFile1"},
      {Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier, "OpenObj1"},
      {Qt::Key_S, Qt::ControlModifier, "SaveProject1"},
      {Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, "SaveProjectAs1"},
      {Qt::Key_Q, Qt::ControlModifier, "Exit1"},
      {Qt::Key_Z, Qt::ControlModifier, "Undo1"},
      {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "Redo1"},
      {Qt::Key_Y, Qt::ControlModifier, "Redo1"},
      {Qt::Key_Equal, Qt::ControlModifier, "StripZoomIn1"},
      {Qt::Key_Minus, Qt::ControlModifier, "StripZoomOut1"},
      {Qt::Key_0, Qt::ControlModifier, "StripWholeVideo1"},
      {Qt::Key_1, Qt::ControlModifier, "Speed50"},
      {Qt::Key_5, Qt::ControlModifier, "Speed150"},
  };
  for (const auto& [key, modifiers, command] : rows) {
    commands.calls.clear();
    QTest::keyClick(commands.window.windowHandle(), key, modifiers);
    EXPECT_EQ(commands.calls, Calls{command}) << command;
  }
}

TEST(CommandTable, EveryRowRunsItsCommandOnceAndTheMenusHoldTheirItemsInOrder) {
  test::RecordingCommands commands;
  commands.now = {.Writing = true, .CanUndo = true, .CanRedo = true, .SubtitleFile = true, .VideoOpen = true};
  commands.actions.refresh();
  for (const CommandRow& row : MainWindowCommands()) {
    commands.calls.clear();
    QAction* action = commands.actions.action(row.Name);
    ASSERT_TRUE(action) << row.Name;
    EXPECT_EQ(action->objectName(), QString::fromLatin1(row.Name));
    action->trigger();
    EXPECT_EQ(commands.calls, Calls{row.Name});
  }
  const auto items = [](const QMenu& menu) {
    QStringList names;
    for (const QAction* action : menu.actions()) names << (action->isSeparator() ? "-" : action->objectName());
    return names.join(' ');
  };
  EXPECT_EQ(items(commands.fileMenu), "OpenFile1 OpenObj1 ReopenWithEncoding1 SaveProject1 SaveProjectAs1 - ExportWebVtt1 ExportAss1 ExportSubRipFromOne1 - WriteSubtitle1 Stop1 - Exit1");
  EXPECT_EQ(items(commands.listMenu),
            "Insert Editsubtitle RemoveSubtitle1 ClearSubtitle1 - ReactionDelay1 CheckSubtitles1 - Undo1 Redo1");
  EXPECT_EQ(items(commands.helpMenu), "Content1 Inspectionupdate1 ContactUS1 OurWebSite1 - About1");
}

TEST(CommandTable, OnlyTheSpeedInForceIsChecked) {
  test::RecordingCommands commands;
  commands.now.SpeedPercent = 75;
  commands.actions.refresh();
  for (const char* name : {"Speed50", "Speed75", "Speed100", "Speed125", "Speed150"}) {
    EXPECT_EQ(commands.actions.action(name)->isChecked(), std::string(name) == "Speed75") << name;
  }
}

// Stopping a write that is not running, and undoing with nothing to undo, are
// silent: those commands are disabled then, from every road alike. Whether
// they are is asked at the moment: F8 acts while a write job runs although
// nothing refreshed the actions since it started.
TEST(CommandTable, DisabledRowsDoNothingFromAnyRoad) {
  test::RecordingCommands commands;
  for (const char* name : {"Stop1", "Undo1", "Redo1", "ReopenWithEncoding1", "StripZoomIn1", "StripWholeVideo1"}) {
    EXPECT_FALSE(commands.actions.action(name)->isEnabled()) << name;
    commands.actions.action(name)->trigger();
  }
  EXPECT_TRUE(commands.actions.triggerFunctionKey(Qt::Key_F8, Qt::NoModifier));
  EXPECT_TRUE(commands.actions.triggerSkinObject(QStringLiteral("stop")));
  EXPECT_TRUE(commands.calls.empty());

  commands.now.Writing = true;
  commands.actions.triggerFunctionKey(Qt::Key_F8, Qt::NoModifier);
  EXPECT_EQ(commands.calls, Calls{"Stop1"});
  EXPECT_TRUE(commands.actions.action("Stop1")->isEnabled());
  commands.now.CanUndo = true;
  EXPECT_FALSE(commands.actions.action("Undo1")->isEnabled());
  emit commands.listMenu.aboutToShow();
  EXPECT_TRUE(commands.actions.action("Undo1")->isEnabled()) << "a menu refreshes as it opens";
  commands.now.SubtitleFile = true;  // a list read from a file can be read again
  emit commands.fileMenu.aboutToShow();
  EXPECT_TRUE(commands.actions.action("ReopenWithEncoding1")->isEnabled());
  commands.now.VideoOpen = true;  // the timing strip zooms a video's sound
  emit commands.listMenu.aboutToShow();
  EXPECT_TRUE(commands.actions.action("StripZoomIn1")->isEnabled());
}

TEST(SkinMenuPosition, FollowsTheWindowAndTheInterfaceLanguage) {
  const QPoint movedWindow(300, 120);
  const std::tuple<SkinMenu, bool, QPoint> rows[] = {{SkinMenu::File, false, {327, 184}},
                                                     {SkinMenu::File, true, {327, 184}},
                                                     {SkinMenu::Help, false, {565, 184}},
                                                     {SkinMenu::Help, true, {548, 184}}};
  for (const auto& [menu, chinese, expected] : rows) EXPECT_EQ(SkinMenuPosition(menu, movedWindow, chinese), expected);
  EXPECT_EQ(SkinMenuPosition(SkinMenu::File, QPoint(0, 0), false), QPoint(27, 64));
}

}  // namespace
}  // namespace orlisk
