#include "app/ui/SkinCommands.h"

#include <QLatin1StringView>
#include <array>
#include <utility>

namespace orlisk {
namespace {

using Command = void (*)(WindowCommands&);

// First match wins; "stopplay" and "playstop" both stop playback.
const std::array<std::pair<QLatin1StringView, Command>, 27> kSkinCommands = {{
    {QLatin1StringView("openvideo"), [](WindowCommands& c) { c.OpenVideo(); }},
    {QLatin1StringView("opensubtitle"), [](WindowCommands& c) { c.OpenSubtitleFile(); }},
    {QLatin1StringView("savesubtitle"), [](WindowCommands& c) { c.SaveSubtitleFile(); }},
    {QLatin1StringView("start"), [](WindowCommands& c) { c.WriteSubtitlesToVideo(); }},
    {QLatin1StringView("stop"), [](WindowCommands& c) { c.StopWriting(); }},
    {QLatin1StringView("play"), [](WindowCommands& c) { c.Play(); }},
    {QLatin1StringView("pause"), [](WindowCommands& c) { c.Pause(); }},
    {QLatin1StringView("playstop"), [](WindowCommands& c) { c.StopPlayback(); }},
    {QLatin1StringView("insertsubtitle"), [](WindowCommands& c) { c.InsertSubtitle(); }},
    {QLatin1StringView("setbegintime"), [](WindowCommands& c) { c.SetBeginTime(); }},
    {QLatin1StringView("setendtime"), [](WindowCommands& c) { c.SetEndTime(); }},
    {QLatin1StringView("stopplay"), [](WindowCommands& c) { c.StopPlayback(); }},
    {QLatin1StringView("remove"), [](WindowCommands& c) { c.RemoveSubtitle(); }},
    {QLatin1StringView("clear"), [](WindowCommands& c) { c.ClearSubtitles(); }},
    {QLatin1StringView("file"), [](WindowCommands& c) { c.ShowFileMenu(); }},
    {QLatin1StringView("edit"), [](WindowCommands& c) { c.ShowSubtitleStyle(); }},
    {QLatin1StringView("settings"), [](WindowCommands& c) { c.ShowOutputSettings(); }},
    {QLatin1StringView("tools"), [](WindowCommands& c) { c.OpenGiftPage(); }},
    {QLatin1StringView("help"), [](WindowCommands& c) { c.ShowHelpMenu(); }},
    {QLatin1StringView("help1"), [](WindowCommands& c) { c.ShowHelpTopic(0); }},
    {QLatin1StringView("help2"), [](WindowCommands& c) { c.ShowHelpTopic(1); }},
    {QLatin1StringView("help3"), [](WindowCommands& c) { c.ShowHelpTopic(2); }},
    {QLatin1StringView("help4"), [](WindowCommands& c) { c.ShowHelpTopic(3); }},
    {QLatin1StringView("fastback"), [](WindowCommands& c) { c.FastBack(); }},
    {QLatin1StringView("fastforward"), [](WindowCommands& c) { c.FastForward(); }},
    {QLatin1StringView("lvinsert"), [](WindowCommands& c) { c.InsertBlankSubtitle(); }},
    {QLatin1StringView("lvedit"), [](WindowCommands& c) { c.EditSubtitle(); }},
}};

}  // namespace

bool SkinCommand(const QString& objectName, WindowCommands& commands) {
  for (const auto& [name, command] : kSkinCommands) {
    if (objectName.compare(name, Qt::CaseSensitive) == 0) {
      command(commands);
      return true;
    }
  }
  return false;
}

QPoint SkinMenuPosition(SkinMenu menu, QPoint windowTopLeft, bool chineseUI) {
  constexpr int kMenuTop = 64;
  if (menu == SkinMenu::File) return windowTopLeft + QPoint(27, kMenuTop);
  return windowTopLeft + QPoint(chineseUI ? 248 : 265, kMenuTop);
}

}  // namespace orlisk
