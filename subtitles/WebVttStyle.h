#pragma once
// The colours of WebVTT cues as a file's STYLE block gives them: written as
// a "::cue" rule for the style in use and a "::cue(.cN)" class for each other
// look, which the cue's text is wrapped in; read back from such rules with
// the colour forms people write by hand. Pure text in and out.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SubtitleEntry.h"

namespace orlisk {

// "#rrggbb" in lower case.
std::string CssColour(Colour colour);

// "#rgb", "#rrggbb", "rgb(r, g, b)" (commas or spaces, 0..255) and the
// colour names of HTML 4 with cyan, magenta, grey and orange, in any case.
std::optional<Colour> ReadCssColour(std::string_view text);

// Hands out the classes of a WebVTT file as its cues are written.
class CueColourClasses {
 public:
  explicit CueColourClasses(const SubtitleStyle& style) : style_(style) {}

  // The class for the entry's colours: "" for the colours of the style in
  // use, else "c1", "c2"... in the order each look is first asked for.
  std::string ClassFor(const SubtitleEntry& entry);

  // The STYLE block, its lines ended by LF: the style in use as the
  // "::cue" rule and a rule per class, each with its text colour and its
  // outline as a text shadow on four sides ("none" without one). Empty while
  // no class was handed out, so that a list in one look is a file without
  // STYLE, which readers that stop at such a block (FFmpeg's before it
  // learnt to skip it) read whole.
  std::string StyleBlock() const;

 private:
  struct Look {
    Colour Text;
    bool Border;
    Colour Outline;  // 0 without a border
    bool operator==(const Look&) const = default;
  };
  static Look LookOf(Colour text, bool border, Colour outline);

  SubtitleStyle style_;
  std::vector<Look> classes_;  // class k + 1 is classes_[k]
};

// What a rule says of the cues' colours; nullopt where it says nothing.
struct CueLook {
  std::optional<Colour> TextColor{};
  std::optional<Colour> BorderColor{};
  std::optional<bool> Border{};  // false for "text-shadow: none"

  // `later` as it stands over this: what it says replaces what this says.
  void Take(const CueLook& later);
};

// The cue colours of a file's style sheets.
struct CueStyleSheet {
  CueLook AllCues;                         // "::cue"
  std::map<std::string, CueLook> Classes;  // "::cue(.name)"
};

// Adds the rules of one STYLE block to `sheet`: "color" and "text-shadow"
// (its colour as the outline when every shadow has the same one) of "::cue"
// and "::cue(.name)". False when the block holds anything more (other
// selectors or properties, values that cannot be read), which is left out.
bool ReadCueStyles(std::string_view css, CueStyleSheet& sheet);

// The look of a span of these classes, in their order: the sheet's rule for
// each, else WebVTT's own colour classes ("white", "lime", "cyan", "red",
// "yellow", "magenta", "blue", "black"); nullopt when a class is neither.
std::optional<CueLook> LookOfClasses(const CueStyleSheet& sheet, const std::vector<std::string>& classes);

}  // namespace orlisk
