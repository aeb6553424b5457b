#pragma once
// The subtitles as an ASS script (Advanced SubStation Alpha): a header with
// one style made from the style in use, and one Dialogue event per subtitle
// that carries its place and, where they differ from the style, its colours
// and outline as override tags. Header and event texts are also given apart,
// for writers that put them into a subtitle stream instead of a file.
#include <string>
#include <string_view>

#include "SubtitleDocument.h"
#include "SubtitleStyle.h"

namespace orlisk {

// The font's cell (ascent plus descent) per pixel of its character size, for
// Arial and its metric twin: ASS font sizes are cell heights, ours are
// character heights.
inline constexpr double kMetricTwinCellPerEm = 2288.0 / 2048.0;

// What the script is drawn on: the picture's size in source pixels (the
// script's PlayResX and PlayResY, so places need no scaling), and the cell
// per character size of the face in use where the caller could measure it.
struct AssCanvas {
  int Width = 0;
  int Height = 0;
  double CellPerEm = kMetricTwinCellPerEm;
};

// The style's figures in script pixels.
struct AssStyleFigures {
  int FontSize = 0;       // the cell height
  double Outline = 0;     // how far the stroke reaches outside the letters
  double Shadow = 0;      // the shadow's offset down and right; 0 without one
};
AssStyleFigures AssFiguresOf(const SubtitleStyle& style, const AssCanvas& canvas);

// "H:MM:SS.cc", rounded to the nearest centisecond; negative times are 0.
std::string FormatAssTime(SubtitleTime ms);

// [Script Info], [V4+ Styles] with the one style "Default", and [Events] up to
// and including its Format line; lines end in CR LF.
std::string AssScriptHeader(const SubtitleStyle& style, const AssCanvas& canvas);

// A subtitle's Text field: an override block with its place ({\an7\pos(x,y)},
// or {\an8\pos(centre,y)} for a centred one, whose lines are each centred),
// its colours and outline where they differ from `style`, then `text` with
// line breaks as \N and braces escaped.
std::string AssEventText(const SubtitleEntry& entry, std::string_view text, const SubtitleStyle& style,
                         const AssCanvas& canvas);

// One "Dialogue:" line of the script, without its line end.
std::string AssDialogueLine(const SubtitleEntry& entry, std::string_view text, const SubtitleStyle& style,
                            const AssCanvas& canvas);

// What a subtitle stream's packet holds for one event (the Dialogue fields
// without times): "readOrder,0,Default,,0,0,0,,text".
std::string AssPacketText(int readOrder, const SubtitleEntry& entry, std::string_view text,
                          const SubtitleStyle& style, const AssCanvas& canvas);

// The whole script of the document: each row's whole text with its entry's
// times, place and colours, in list order. UTF-8 without a byte-order mark.
std::string WriteAssScript(const SubtitleDocument& document, const SubtitleStyle& style, const AssCanvas& canvas);

}  // namespace orlisk
