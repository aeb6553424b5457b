#pragma once
// The subtitles in the formats other programs and sites take: WebVTT, ASS,
// and SubRip numbered from 1 without a companion. Each is one pure transform
// from the document to the bytes of the file, always UTF-8 (no code page
// could hold every text), with no byte-order mark.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AssScript.h"
#include "SubtitleDocument.h"

namespace orlisk {

enum class ExportFormat { WebVtt, Ass, SubRipFromOne };

// "vtt", "ass", "srt1" (as the command line names them); nullopt otherwise.
std::optional<ExportFormat> ExportFormatNamed(std::string_view name);
// The file name extension: ".vtt", ".ass", ".srt".
const char* ExportExtension(ExportFormat format);

// Times and text of each row, place where the format carries it: on a
// picture of the canvas's size, in the style in use.
std::string ExportSubtitles(ExportFormat format, const SubtitleDocument& document, const SubtitleStyle& style,
                            const AssCanvas& canvas);

// SubRip as other programs expect it: blocks numbered from 1, times from the
// entries (negative times as 0), the text's lines (blank lines, which would
// end the block, left out), LF line ends, a blank line after each block.
std::string WriteSubRipFromOne(const SubtitleDocument& document);

// WebVTT: the "WEBVTT" line, then a cue per row with its times and cue
// settings: "line" at the text's top and "position" at its left edge (align
// left) in percent of the picture, or for a centred text "position:50%
// align:center". Text with "&", "<" and ">" as references, blank lines as a
// line holding a space. Colours as those of ASS: a subtitle whose colours
// differ from `style` has its text in a class span, "<c.c1>...</c>", and a
// STYLE block after the header gives each class's colours and the style's
// (CueColourClasses); a list in the style's colours alone has neither.
std::string WriteWebVtt(const SubtitleDocument& document, const SubtitleStyle& style, const AssCanvas& canvas);

// The lines of a row's text ("\r\n" or "\n" between them).
std::vector<std::string> TextLines(std::string_view text);

}  // namespace orlisk
