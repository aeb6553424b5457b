#include "subtitles/SubRipFile.h"

#include "subtitles/LooseSubRip.h"
#include "subtitles/MarkupTags.h"

namespace orlisk {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::int32_t kNewSubtitleDrawLevel = 240;
constexpr std::uint32_t kPairCheckMask = 0xFFFFFF;

// Position arithmetic wraps like the 32-bit integers of the file, so values
// from a hostile companion cannot overflow.
std::int32_t Wrap(std::int64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

// Lines end at LF or CR LF; a CR anywhere else is dropped; Ctrl-Z ends the text.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text.substr(0, text.find('\x1A'))) {}

  bool atEnd() const { return position_ >= text_.size(); }

  // The next line without its end; empty once the text is used up.
  std::string next() {
    if (atEnd()) return {};
    const std::size_t lf = text_.find('\n', position_);
    const std::size_t end = lf == std::string_view::npos ? text_.size() : lf;
    std::string line(text_.substr(position_, end - position_));
    position_ = end + 1;
    std::erase(line, '\r');
    return line;
  }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

// How far past the last block's number the search for a tag goes: a
// companion holds one record per block, so records far beyond the last block
// belong to none of them.
constexpr std::uint64_t kSearchPastLastBlock = 1024;

// One block as the text gives it, before styles are applied.
struct ParsedBlock {
  std::int64_t key = 0;  // the companion record it asks for
  std::string timeLine;
  std::vector<std::string> lines;  // one to four
};

struct ParsedText {
  std::vector<ParsedBlock> blocks;
  std::uint32_t check = 0;       // numbers, times and texts
  std::uint32_t timesCheck = 0;  // numbers and times: what earlier versions stored
};

// FNV-1a, folded to the 24 bits a record has room for; never 0 (no check).
class CheckHash {
 public:
  void mix(std::string_view bytes) {
    for (const unsigned char c : bytes) hash_ = (hash_ ^ c) * 16777619u;
  }
  std::uint32_t value() const {
    const std::uint32_t folded = ((hash_ >> 24) ^ hash_) & kPairCheckMask;
    return folded == 0 ? 1 : folded;
  }

 private:
  std::uint32_t hash_ = 2166136261u;
};

// The blocks of a text by this program's own rules, and its pair checks.
ParsedText ParseBlocks(std::string_view utf8Text) {
  ParsedText parsed;
  LineReader reader(utf8Text);
  std::int64_t expected = 0;
  bool numberedFromZero = false;
  CheckHash whole, times;

  while (!reader.atEnd()) {
    const std::string numberLine = reader.next();
    const auto number = ParseTimeInteger(Trim(numberLine));
    // Stray lines: not a number, a number below the one expected, or a jump
    // to a number so large that it cannot be a block of a real file.
    if (!number || *number < expected) continue;
    if (*number > expected && *number > kMaxBlockNumber) continue;
    expected = static_cast<std::int64_t>(*number) + 1;

    ParsedBlock block;
    // Files numbered from 0 match companion records by number; others (from 1,
    // or with gaps at the start) by their place, so row i and entry i agree.
    if (parsed.blocks.empty()) numberedFromZero = *number == 0;
    block.key = numberedFromZero ? *number : static_cast<std::int64_t>(parsed.blocks.size());
    block.timeLine = reader.next();
    // Lines 2 to 4 end at a blank line; a fifth line is a stray line.
    block.lines.push_back(reader.next());
    while (block.lines.size() < 4) {
      std::string line = reader.next();
      if (Trim(line).empty()) break;
      block.lines.push_back(std::move(line));
    }
    for (CheckHash* hash : {&whole, &times}) {
      hash->mix(std::to_string(*number));
      hash->mix("\n");
      hash->mix(block.timeLine);
      hash->mix("\n");
    }
    // The text as the block holds it; a line of its own ends each, and a
    // separator the block, so moving a line break changes the check.
    for (const std::string& line : block.lines) {
      whole.mix(line);
      whole.mix("\n");
    }
    whole.mix("\x1E");
    parsed.blocks.push_back(std::move(block));
  }
  parsed.check = whole.value();
  parsed.timesCheck = times.value();
  return parsed;
}

// The defaults of one block when no companion record is read.
SubtitleEntry ResetEntryBuffer(const SubRipReadContext& context) {
  SubtitleEntry entry;
  entry.Place.X = context.Placement.X;
  entry.Place.Y = context.Placement.Y;
  entry.Place.DrawLevel = kNewSubtitleDrawLevel;
  entry.Place.Centred = true;
  entry.TextColor = context.Style.TextColor;
  entry.Font = FontId(context.Style.Font);
  entry.Tag = -1;
  entry.BorderColor = context.Style.BorderColor;
  entry.Border = true;
  return entry;
}

// Gives a block's row its whole text and the entry the first bytes of it.
// Unless the entry keeps its place as drawn, older versions moved a text down
// by a line for each line after the first (the second only from the current
// Y, and no further than the fourth) every time it was read.
void AddBlock(SubRipReadResult& result, SubtitleEntry entry, std::string timeLine,
              const std::vector<std::string>& lines, bool placedAsDrawn, const SubRipReadContext& context) {
  SubtitleRow row{std::move(timeLine), {}};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) row.Subtitle += kLineEnd;
    row.Subtitle += lines[i];
    const bool shifts = i >= 2 || (i == 1 && entry.Place.Y == context.Placement.Y);
    if (!placedAsDrawn && i < 4 && shifts) {
      entry.Place.Y = Wrap(static_cast<std::int64_t>(entry.Place.Y) - context.Style.Font.Height);
    }
  }
  entry.Text = CutUtf8(row.Subtitle, kMaxEntryTextBytes);
  result.Rows.push_back(std::move(row));
  result.Entries.push_back(std::move(entry));
}

void ReadOwnBlocks(ParsedText& parsed, CompanionRecords& records, const SubRipReadContext& context,
                   SubRipReadResult& result) {
  result.Rows.reserve(parsed.blocks.size());
  result.Entries.reserve(parsed.blocks.size());
  for (ParsedBlock& block : parsed.blocks) {
    SubtitleEntry entry = ResetEntryBuffer(context);
    // A record of this version keeps the place as it was drawn; an older
    // record, or none, gets the older versions' adjustments.
    bool placedAsDrawn = false;
    if (const auto record = records.lookUp(block.key)) {
      const SubtitleEntry stored = DecodeCompanionRecord(*record);
      const std::optional<bool> centred = StoredCentring(*record);
      placedAsDrawn = centred.has_value();
      entry.Place = stored.Place;
      // Older versions centred a text whose X was the current one.
      entry.Place.Centred = centred.value_or(stored.Place.X == context.Placement.X);
      entry.Tag = stored.Tag;
      entry.BorderColor = stored.BorderColor;
      entry.TextColor = stored.TextColor;
      entry.Font = stored.Font;
      entry.Border = stored.Border;
    }
    entry.BeginTime = ParseBeginTime(block.timeLine);
    entry.EndTime = ParseEndTime(block.timeLine);
    AddBlock(result, std::move(entry), std::move(block.timeLine), block.lines, placedAsDrawn, context);
  }
}

SubRipReadResult ReadLooseSubRipFile(std::string_view utf8Text, const SubRipReadContext& context) {
  SubRipReadResult result;
  LooseSubRip loose = ReadLooseSubRip(utf8Text);
  result.Rows.reserve(loose.Cues.size());
  result.Entries.reserve(loose.Cues.size());
  result.Repairs = loose.Repairs;
  for (LooseCue& cue : loose.Cues) {
    bool tagged = false;
    for (auto line = cue.Lines.begin(); line != cue.Lines.end();) {
      const bool stripped = StripSubRipMarkup(*line);
      tagged |= stripped;
      // A line that held tags alone is no line.
      line = stripped && line->empty() ? cue.Lines.erase(line) : line + 1;
    }
    if (tagged) ++result.Repairs[SubRipRepair::FormattingTags];
    ForeignCue foreign;
    foreign.Begin = cue.Begin;
    foreign.End = cue.End;
    foreign.Lines = std::move(cue.Lines);
    AppendForeignCue(result, std::move(foreign), context);
  }
  return result;
}

}  // namespace

void AppendForeignCue(SubRipReadResult& result, ForeignCue cue, const SubRipReadContext& context) {
  SubtitleEntry entry = ResetEntryBuffer(context);
  entry.BeginTime = cue.Begin;
  entry.EndTime = cue.End;
  if (cue.Place) {
    entry.Place.X = cue.Place->X;
    entry.Place.Y = cue.Place->Y;
    entry.Place.Centred = cue.Place->Centred;
  }
  entry.TextColor = cue.TextColor.value_or(entry.TextColor);
  entry.BorderColor = cue.BorderColor.value_or(entry.BorderColor);
  entry.Border = cue.Border.value_or(entry.Border);
  // The time line as this program writes it, so that a save reads back.
  AddBlock(result, std::move(entry), TimeRangeText(cue.Begin, cue.End), cue.Lines, cue.Place.has_value(), context);
}

std::string WriteSubRipText(const std::vector<SubtitleRow>& rows) {
  std::string text;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    text += std::to_string(i);
    text += kLineEnd;
    text += rows[i].Time;
    text += kLineEnd;
    text += rows[i].Subtitle;
    text += kLineEnd;
    text += ' ';
    text += kLineEnd;
  }
  return text;
}

std::uint32_t PairCheck(std::string_view utf8Text) { return ParseBlocks(utf8Text).check; }

SubRipReadResult ReadOwnSubRip(std::string_view utf8Text, const CompanionSource& companion,
                               const SubRipReadContext& context) {
  SubRipReadResult result;
  ParsedText parsed = ParseBlocks(utf8Text);
  const std::uint64_t lastKey = parsed.blocks.empty() ? 0 : static_cast<std::uint64_t>(parsed.blocks.back().key);
  CompanionRecords records(companion, lastKey + 1 + kSearchPastLastBlock);
  if (records.count() > 0) {
    // A companion of an earlier version carries the check of the times alone.
    const std::uint32_t stored = StoredPairCheck(records.record(0));
    result.StaleCompanion = stored != 0 && stored != parsed.check && stored != parsed.timesCheck;
  }
  const CompanionBytes none("");
  CompanionRecords noRecords(none, 0);
  ReadOwnBlocks(parsed, result.StaleCompanion ? noRecords : records, context, result);
  return result;
}

SubRipReadResult ReadOwnSubRip(std::string_view utf8Text, std::string_view companion,
                               const SubRipReadContext& context) {
  return ReadOwnSubRip(utf8Text, CompanionBytes(companion), context);
}

SubRipReadResult ReadSubRip(std::string_view utf8Text, const CompanionSource& companion,
                            const SubRipReadContext& context) {
  SubRipReadResult result;
  if (companion.recordCount() > 0) {
    result = ReadOwnSubRip(utf8Text, companion, context);
    if (!result.StaleCompanion) return result;
  }
  // No companion, or one saved with another text: nothing says this text is
  // what this program wrote.
  const bool stale = result.StaleCompanion;
  result = ReadLooseSubRipFile(utf8Text, context);
  result.StaleCompanion = stale;
  return result;
}

SubRipReadResult ReadSubRip(std::string_view utf8Text, std::string_view companion,
                            const SubRipReadContext& context) {
  return ReadSubRip(utf8Text, CompanionBytes(companion), context);
}

}  // namespace orlisk
