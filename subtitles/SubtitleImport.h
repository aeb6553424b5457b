#pragma once
// Subtitle files of other formats read into the list: times and text, place
// and colours where the file gives them in a way the list can hold, and all
// that is left out counted in the repairs (one message tells the user).
#include <filesystem>
#include <string_view>

#include "SubRipFile.h"

namespace orlisk {

enum class SubtitleFileFormat { SubRip, WebVtt, Ass };

// By the name's extension, any case: ".vtt" WebVTT, ".ass" and ".ssa" ASS,
// anything else SubRip.
SubtitleFileFormat SubtitleFileFormatOf(const std::filesystem::path& file);

// The height of a text block of `lines` lines drawn in `font`, top of the
// first line to the bottom of the last (Arial's figures: the text transform
// measures the face in use, this layer cannot), for places given by a
// block's bottom or middle.
int TextBlockHeight(int lines, const SubtitleFont& font);

// WebVTT: cues with their times; "line" and "position" percentages with
// "align" give the place on context.Picture; colours from the STYLE blocks
// before the first cue, for all cues and for the classes of a span round a
// cue's whole text (ReadCueStyles); tags and references out of the text;
// NOTE and REGION blocks, STYLE blocks with more than those colours, cue
// names and other settings counted.
SubRipReadResult ReadWebVtt(std::string_view utf8Text, const SubRipReadContext& context);

// ASS and SSA scripts: Dialogue events with their times; \pos and \an (or
// the style's alignment and margins) scaled from the script's PlayResX and
// PlayResY to context.Picture; colours and outline from the style and the
// \1c, \c, \3c and \bord tags at the start of the text; everything else
// counted as left out.
SubRipReadResult ReadAssScript(std::string_view utf8Text, const SubRipReadContext& context);

}  // namespace orlisk
