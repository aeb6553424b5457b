// WebVTT files read into the list.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "MarkupTags.h"
#include "SubtitleExport.h"
#include "SubtitleImport.h"
#include "WebVttStyle.h"

namespace orlisk {
namespace {

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

bool StartsBlock(std::string_view line, std::string_view word) {
  return line.starts_with(word) && (line.size() == word.size() || line[word.size()] == ' ' ||
                                    line[word.size()] == '\t');
}

// "[hh:]mm:ss.ttt"; nullopt for anything else or beyond 32 bits.
std::optional<SubtitleTime> ReadCueTime(std::string_view text) {
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos || !AllDigits(text.substr(dot + 1)) || text.size() - dot - 1 != 3)
    return std::nullopt;
  std::int64_t ms = 0;
  int fields = 0;
  std::string_view rest = text.substr(0, dot);
  while (true) {
    const std::size_t colon = rest.find(':');
    const std::string_view field = rest.substr(0, colon);
    if (!AllDigits(field) || field.size() > 9) return std::nullopt;
    ms = ms * 60 + std::stoll(std::string(field));
    ++fields;
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  if (fields < 2 || fields > 3) return std::nullopt;
  ms = ms * 1000 + std::stoll(std::string(text.substr(dot + 1)));
  if (ms > INT32_MAX) return std::nullopt;
  return static_cast<SubtitleTime>(ms);
}

std::optional<double> ReadPercent(std::string_view text) {
  if (text.empty() || text.back() != '%') return std::nullopt;
  try {
    std::size_t used = 0;
    const std::string number(text.substr(0, text.size() - 1));
    const double value = std::stod(number, &used);
    if (used != number.size() || value < 0 || value > 100) return std::nullopt;
    return value;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t end = i;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
    if (end > i) words.push_back(text.substr(i, end - i));
    i = end;
  }
  return words;
}

// The cue's place from its settings; what cannot be read is counted.
std::optional<SubtitlePlacement> PlaceOf(std::string_view settings, int lineCount, const SubRipReadContext& context,
                                         SubRipRepairs& repairs) {
  const AssCanvas& picture = context.Picture;
  std::optional<double> line, position;
  std::string lineAlign = "start", align = "center", positionAlign;
  bool unread = false, approximate = false;
  for (const std::string_view word : Words(settings)) {
    const std::size_t colon = word.find(':');
    const std::string_view name = word.substr(0, colon);
    const std::string_view value = colon == std::string_view::npos ? "" : word.substr(colon + 1);
    const std::string_view first = value.substr(0, value.find(','));
    const std::string_view second = value.find(',') == std::string_view::npos ? "" : value.substr(value.find(',') + 1);
    if (name == "line") {
      line = ReadPercent(first);
      if (!line) approximate = true;  // a line number: the players' own line grid
      if (!second.empty()) lineAlign = second;
    } else if (name == "position") {
      position = ReadPercent(first);
      if (!second.empty()) positionAlign = second;
    } else if (name == "align") {
      align = value;
    } else if (!(name == "size" && value == "100%")) {
      unread = true;
    }
  }
  if (unread) ++repairs[SubRipRepair::CueSettings];
  if (positionAlign.empty())
    positionAlign = align == "start" || align == "left" ? "line-left" : align == "end" || align == "right" ? "line-right"
                                                                                                          : "center";
  if (!line && !position && positionAlign == "center" && !approximate) return std::nullopt;
  SubtitlePlacement place{.X = context.Placement.X, .Y = context.Placement.Y, .Centred = true};
  if (line) {
    const double top = *line * picture.Height / 100.0;
    const int height = TextBlockHeight(lineCount, context.Style.Font);
    place.Y = static_cast<int>(std::lround(lineAlign == "end"      ? top - height
                                           : lineAlign == "center" ? top - height / 2.0
                                                                   : top));
  }
  if (positionAlign == "line-left") {
    place.X = static_cast<int>(std::lround(position.value_or(0) * picture.Width / 100.0));
    place.Centred = false;
  } else if (positionAlign != "center" || (position && std::abs(*position - 50.0) * picture.Width > 100.0)) {
    approximate = true;  // the right edge or another centre: the text's width is not known here
  }
  if (approximate) ++repairs[SubRipRepair::PlacesApproximated];
  return place;
}

// The classes of the "<c.name...>" span the cue's text opens with, taken out
// of its first line with the "</c>" that ends its last line; nullopt (and the
// lines as they were) when the text opens otherwise.
std::optional<std::vector<std::string>> TakeLeadingClassSpan(std::vector<std::string>& lines) {
  if (lines.empty() || !(lines.front().starts_with("<c.") || lines.front().starts_with("<c>"))) return std::nullopt;
  const std::size_t end = lines.front().find('>');
  if (end == std::string::npos) return std::nullopt;
  std::vector<std::string> classes;
  std::string_view names = std::string_view(lines.front()).substr(2, end - 2);
  while (!names.empty()) {
    names.remove_prefix(1);  // the dot
    classes.emplace_back(names.substr(0, names.find('.')));
    names.remove_prefix(std::min(names.size(), classes.back().size()));
  }
  lines.front().erase(0, end + 1);
  if (lines.back().ends_with("</c>")) lines.back().resize(lines.back().size() - 4);
  return classes;
}

}  // namespace

SubRipReadResult ReadWebVtt(std::string_view utf8Text, const SubRipReadContext& context) {
  SubRipReadResult result;
  SubRipRepairs& repairs = result.Repairs;
  std::vector<std::string> lines = TextLines(utf8Text);
  CueStyleSheet styles;
  bool seenCue = false;  // style sheets after the first cue do not count
  std::size_t i = 0;
  if (!lines.empty() && lines[0].starts_with("WEBVTT"))
    while (i < lines.size() && !lines[i].empty()) ++i;  // the header and its own lines
  while (i < lines.size()) {
    if (lines[i].empty()) {
      ++i;
      continue;
    }
    std::vector<std::string> block;
    while (i < lines.size() && !lines[i].empty()) block.push_back(std::move(lines[i++]));
    if (StartsBlock(block[0], "NOTE")) {
      ++repairs[SubRipRepair::Comments];
      continue;
    }
    if (StartsBlock(block[0], "STYLE")) {
      std::string css;
      for (std::size_t k = 1; k < block.size(); ++k) css += block[k] + "\n";
      if (seenCue || !ReadCueStyles(css, styles)) ++repairs[SubRipRepair::StyleSheets];
      continue;
    }
    if (StartsBlock(block[0], "REGION")) {
      ++repairs[SubRipRepair::StyleSheets];
      continue;
    }
    const std::size_t timing = block[0].find("-->") != std::string::npos ? 0 : 1;
    if (timing >= block.size() || block[timing].find("-->") == std::string::npos) {
      ++repairs[SubRipRepair::LinesOutside];
      continue;
    }
    seenCue = true;
    if (timing == 1 && !AllDigits(block[0])) ++repairs[SubRipRepair::CueNames];
    const std::vector<std::string_view> words = Words(block[timing]);
    const std::optional<SubtitleTime> begin = words.size() >= 3 ? ReadCueTime(words[0]) : std::nullopt;
    const std::optional<SubtitleTime> end = words.size() >= 3 ? ReadCueTime(words[2]) : std::nullopt;
    if (!begin || !end || words[1] != "-->") {
      ++repairs[SubRipRepair::LinesOutside];
      continue;
    }
    ForeignCue cue;
    cue.Begin = *begin;
    cue.End = *end;
    std::vector<std::string> text(block.begin() + static_cast<std::ptrdiff_t>(timing) + 1, block.end());
    CueLook look = styles.AllCues;
    // A span round the whole text colours the whole subtitle; its classes
    // are left out (and counted) only where the style sheet does not say.
    bool tagged = false;
    if (const auto classes = TakeLeadingClassSpan(text)) {
      const std::optional<CueLook> spanLook = LookOfClasses(styles, *classes);
      if (spanLook) look.Take(*spanLook);
      tagged = !spanLook;
    }
    cue.TextColor = look.TextColor;
    cue.BorderColor = look.BorderColor;
    cue.Border = look.Border;
    for (std::string& line : text) {
      tagged |= StripWebVttMarkup(line);
      // A line that held a space alone stands for a blank line of the text.
      cue.Lines.push_back(line == " " ? std::string() : std::move(line));
    }
    if (tagged) ++repairs[SubRipRepair::FormattingTags];
    // The settings follow the end time.
    const std::string_view timingLine = block[timing];
    const std::size_t endTime = timingLine.find(words[2], timingLine.find("-->"));
    cue.Place = PlaceOf(timingLine.substr(endTime + words[2].size()),
                        std::max<int>(1, static_cast<int>(cue.Lines.size())), context, repairs);
    AppendForeignCue(result, std::move(cue), context);
  }
  return result;
}

}  // namespace orlisk
