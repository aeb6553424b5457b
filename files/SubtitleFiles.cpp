#include "files/SubtitleFiles.h"

#include <memory>
#include <optional>
#include <system_error>

#include "files/SafeFile.h"
#include "files/WholeFile.h"
#include "subtitles/SubtitleImport.h"

namespace orlisk {
namespace fs = std::filesystem;

namespace {

// A companion file read by position.
class CompanionFile : public CompanionSource {
 public:
  explicit CompanionFile(ReadableFile file) : file_(std::move(file)) {}
  std::uint64_t recordCount() const override { return file_.size() / kCompanionRecordSize; }
  std::string readRecords(std::uint64_t first, std::size_t count) const override {
    std::string bytes = file_.readAt(first * kCompanionRecordSize, count * kCompanionRecordSize);
    bytes.resize(count * kCompanionRecordSize, '\0');  // a file cut short while open
    return bytes;
  }

 private:
  ReadableFile file_;
};

// The companion beside a text file, when there is a usable one.
std::unique_ptr<CompanionFile> OpenCompanion(const fs::path& textFile) {
  std::optional<ReadableFile> file;
  try {
    // No cap: only the records the blocks ask for are ever read.
    file.emplace(CompanionPathFor(textFile), UINT64_MAX);
  } catch (const FileReadError&) {
    return nullptr;  // missing, or a folder, FIFO or device in its place
  }
  if (file->size() == 0 || file->size() % kCompanionRecordSize != 0) return nullptr;
  // A video that happens to carry the companion's name gives no records.
  if (!LooksLikeCompanion(file->readAt(0, kCompanionRecordSize))) return nullptr;
  return std::make_unique<CompanionFile>(std::move(*file));
}

bool HasMoreThanBlanks(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) > ' ') return true;
  }
  return false;
}

}  // namespace

fs::path CompanionPathFor(const fs::path& textFile) { return fs::path(textFile).replace_extension(".dat"); }

SubtitleFilesRead ReadSubtitleFiles(const fs::path& textFile, LegacyCodePage fallback,
                                    const SubRipReadContext& context, std::string_view chosenCharset) {
  DecodedText decoded = DecodeSubtitleText(ReadRegularFile(textFile, kMaxSubtitleFileBytes), fallback, chosenCharset);
  const std::string& text = decoded.Text;
  SubtitleFilesRead read;
  switch (SubtitleFileFormatOf(textFile)) {
    case SubtitleFileFormat::WebVtt:
      read.Result = ReadWebVtt(text, context);
      break;
    case SubtitleFileFormat::Ass:
      read.Result = ReadAssScript(text, context);
      break;
    case SubtitleFileFormat::SubRip: {
      const std::unique_ptr<CompanionFile> companion = OpenCompanion(textFile);
      const CompanionBytes none("");
      read.Result = ReadSubRip(text, companion ? static_cast<const CompanionSource&>(*companion) : none, context);
    }
  }
  read.NoBlocks = read.Result.Rows.empty() && HasMoreThanBlanks(text);
  read.Charset = std::move(decoded.Charset);
  return read;
}

void SaveSubtitleFiles(const fs::path& textFile, const fs::path& companionFile, const std::vector<SubtitleRow>& rows,
                       const std::vector<SubtitleEntry>& entries, FileSteps& steps) {
  const std::string utf8Text = WriteSubRipText(rows);
  std::string textBytes = EncodeText(utf8Text);
  // The check is taken of the text as reading will see it after the round
  // trip through the locale's character set.
  const std::uint32_t check = PairCheck(DecodeText(textBytes, LegacyCodePage::Windows1252));
  std::vector<SubtitleEntry> records = entries;
  for (std::size_t i = 0; i < records.size(); ++i) records[i].Tag = static_cast<std::int32_t>(i);
  std::string companionBytes = WriteCompanion(records, static_cast<int>(rows.size()), check);
  // The companion goes first: stopped between the two, the new companion
  // stands beside the old text, and its check tells on reading.
  ReplaceFilesTogether({{companionFile, std::move(companionBytes)}, {textFile, std::move(textBytes)}}, steps);
}

void SaveExportedSubtitles(const fs::path& file, std::string bytes, FileSteps& steps) {
  ReplaceFilesTogether({{file, std::move(bytes)}}, steps);
}

}  // namespace orlisk
