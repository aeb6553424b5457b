#include "SubtitleExport.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "WebVttStyle.h"

namespace orlisk {
namespace {

// "hh:mm:ss" + separator + "mmm"; negative times as 0.
std::string ClockTime(SubtitleTime ms, char separator) {
  const long long t = std::max<SubtitleTime>(ms, 0);
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld%c%03lld", t / 3'600'000, t / 60'000 % 60, t / 1000 % 60,
                separator, t % 1000);
  return text;
}

SubtitleEntry EntryOf(const SubtitleDocument& document, int row) {
  const auto& entries = document.entries();
  return static_cast<std::size_t>(row) < entries.size() ? entries[static_cast<std::size_t>(row)] : SubtitleEntry{};
}

// Cue settings outside 0..100 % are invalid, and players would drop them.
std::string Percent(double part, int whole) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f%%", whole > 0 ? std::clamp(100.0 * part / whole, 0.0, 100.0) : 0.0);
  return text;
}

std::string WebVttText(const std::string& line) {
  if (line.empty()) return " ";
  std::string text;
  for (const char c : line) {
    if (c == '&') text += "&amp;";
    else if (c == '<') text += "&lt;";
    else if (c == '>') text += "&gt;";  // also keeps "-->" out of the text
    else text += c;
  }
  return text;
}

}  // namespace

std::optional<ExportFormat> ExportFormatNamed(std::string_view name) {
  if (name == "vtt") return ExportFormat::WebVtt;
  if (name == "ass") return ExportFormat::Ass;
  if (name == "srt1") return ExportFormat::SubRipFromOne;
  return std::nullopt;
}

const char* ExportExtension(ExportFormat format) {
  switch (format) {
    case ExportFormat::WebVtt: return ".vtt";
    case ExportFormat::Ass: return ".ass";
    case ExportFormat::SubRipFromOne: break;
  }
  return ".srt";
}

std::vector<std::string> TextLines(std::string_view text) {
  std::vector<std::string> lines;
  while (true) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) return lines;
    text.remove_prefix(end + 1);
  }
}

std::string WriteSubRipFromOne(const SubtitleDocument& document) {
  std::string text;
  for (int i = 0; i < document.rowCount(); ++i) {
    const SubtitleEntry entry = EntryOf(document, i);
    text += std::to_string(i + 1) + "\n" + ClockTime(entry.BeginTime, ',') + " --> " +
            ClockTime(entry.EndTime, ',') + "\n";
    for (const std::string& line : TextLines(document.row(i).Subtitle))
      if (!line.empty()) text += line + "\n";
    text += "\n";
  }
  return text;
}

std::string WriteWebVtt(const SubtitleDocument& document, const SubtitleStyle& style, const AssCanvas& canvas) {
  CueColourClasses classes(style);
  std::string cues;
  for (int i = 0; i < document.rowCount(); ++i) {
    const SubtitleEntry entry = EntryOf(document, i);
    const SubtitlePlacement& place = entry.Place;
    cues += "\n" + ClockTime(entry.BeginTime, '.') + " --> " + ClockTime(entry.EndTime, '.') + " line:" +
            Percent(place.Y, canvas.Height) +
            (place.Centred ? " position:50% align:center" : " position:" + Percent(place.X, canvas.Width) + " align:left") +
            "\n";
    const std::string& subtitle = document.row(i).Subtitle;
    if (subtitle.empty()) continue;
    std::string text;
    for (const std::string& line : TextLines(subtitle)) text += WebVttText(line) + "\n";
    // One span over all lines: the list gives a subtitle one look.
    if (const std::string name = classes.ClassFor(entry); !name.empty())
      text = "<c." + name + ">" + text.substr(0, text.size() - 1) + "</c>\n";
    cues += text;
  }
  // The style sheet goes before the first cue, where WebVTT takes it.
  const std::string styleBlock = classes.StyleBlock();
  return "WEBVTT\n" + (styleBlock.empty() ? "" : "\n" + styleBlock) + cues;
}

std::string ExportSubtitles(ExportFormat format, const SubtitleDocument& document, const SubtitleStyle& style,
                            const AssCanvas& canvas) {
  switch (format) {
    case ExportFormat::WebVtt: return WriteWebVtt(document, style, canvas);
    case ExportFormat::Ass: return WriteAssScript(document, style, canvas);
    case ExportFormat::SubRipFromOne: break;
  }
  return WriteSubRipFromOne(document);
}

}  // namespace orlisk
