#include "app/core/RepairReport.h"

namespace orlisk {
namespace {

struct RepairLabel {
  SubRipRepair kind;
  const char* key;
  const char* english;
};

constexpr RepairLabel kLabels[] = {
    {SubRipRepair::NoNumber, "ReadSubtitleRepairNoNumber", "Subtitles without a number:"},
    {SubRipRepair::CrLineEnds, "ReadSubtitleRepairCrLineEnds", "Lines ended by a carriage return alone:"},
    {SubRipRepair::OneDigitFields, "ReadSubtitleRepairOneDigitFields",
     "Times with one-digit hours, minutes or seconds:"},
    {SubRipRepair::NoMilliseconds, "ReadSubtitleRepairNoMilliseconds", "Times without milliseconds (read as 0 ms):"},
    {SubRipRepair::ShortMilliseconds, "ReadSubtitleRepairShortMilliseconds",
     "Times with fewer than three digits of milliseconds (read as that many milliseconds):"},
    {SubRipRepair::TextAfterTimes, "ReadSubtitleRepairTextAfterTimes",
     "Time lines with more after the end time (left out):"},
    {SubRipRepair::BlankLinesInside, "ReadSubtitleRepairBlankLinesInside",
     "Subtitles with blank lines inside (the blank lines were left out):"},
    {SubRipRepair::NoTimeLine, "ReadSubtitleRepairNoTimeLine",
     "Numbered blocks without a time line (added to the subtitle before):"},
    {SubRipRepair::LinesOutside, "ReadSubtitleRepairLinesOutside", "Lines before the first subtitle (left out):"},
    {SubRipRepair::TimesReadAsZero, "ReadSubtitleRepairTimesReadAsZero", "Negative or too large times (read as 0):"},
    {SubRipRepair::FormattingTags, "ReadSubtitleRepairFormattingTags",
     "Subtitles with formatting tags (left out; the style in use is drawn):"},
    {SubRipRepair::OverrideTags, "ReadSubtitleRepairOverrideTags",
     "Subtitles with ASS override tags other than place and colours, such as karaoke or fonts (left out):"},
    {SubRipRepair::StyleFonts, "ReadSubtitleRepairStyleFonts",
     "Subtitles in a style whose font is not the one in use (drawn in the font in use):"},
    {SubRipRepair::PlacesApproximated, "ReadSubtitleRepairPlacesApproximated",
     "Places that could only be read approximately (right-aligned, line numbers; centred instead):"},
    {SubRipRepair::CueSettings, "ReadSubtitleRepairCueSettings",
     "Cues with settings other than line, position and align (left out):"},
    {SubRipRepair::CueNames, "ReadSubtitleRepairCueNames", "Cue names (left out):"},
    {SubRipRepair::Comments, "ReadSubtitleRepairComments", "Comments and notes (left out):"},
    {SubRipRepair::StyleSheets, "ReadSubtitleRepairStyleSheets", "Style and region blocks (left out):"},
    {SubRipRepair::Drawings, "ReadSubtitleRepairDrawings", "Drawings, pictures, sounds and commands (left out):"},
    {SubRipRepair::Effects, "ReadSubtitleRepairEffects",
     "Subtitles with an effect such as scrolling (shown without it):"},
};
static_assert(std::size(kLabels) == kSubRipRepairKinds, "every kind of repair has its label");

}  // namespace

std::string RepairReport(const SubRipRepairs& repairs, const Language& lang) {
  if (!repairs.any()) return {};
  std::string report = lang.MessageText(
      "ReadSubtitleRepaired", "This subtitle file was read the way other players read it, with these repairs:");
  for (const RepairLabel& label : kLabels) {
    const int count = repairs[label.kind];
    if (count > 0) report += "\n" + lang.MessageText(label.key, label.english) + " " + std::to_string(count);
  }
  return report;
}

}  // namespace orlisk
