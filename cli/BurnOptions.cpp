#include "BurnOptions.h"

#include <array>
#include <string_view>

#include "subtitles/SubtitleExport.h"

namespace orlisk {

namespace {
constexpr std::array<std::string_view, 7> kFormats = {"original", "avi", "mpeg", "wmv", "rm", "mp4", "mkv"};
}  // namespace

BurnOptions ParseBurnOptions(const std::vector<std::string>& arguments) {
  BurnOptions options;
  std::vector<std::string> files;
  bool onlyFiles = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    auto value = [&](const char* name) -> std::string {
      if (i + 1 >= arguments.size()) throw UsageError(std::string(name) + " needs a value");
      return arguments[++i];
    };
    if (onlyFiles || a.empty() || a[0] != '-' || a == "-") {
      files.push_back(a);
    } else if (a == "--") {
      onlyFiles = true;
    } else if (a == "--help" || a == "-h") {
      options.Help = true;
    } else if (a == "--version") {
      options.Version = true;
    } else if (a == "--quiet" || a == "-q") {
      options.Quiet = true;
    } else if (a == "--verbose" || a == "-v") {
      options.Verbose = true;
    } else if (a == "--progress=json") {
      options.Progress = BurnProgress::Json;
    } else if (a == "--progress=auto") {
      options.Progress = BurnProgress::Auto;
    } else if (a == "--ignore-stale-companion") {
      options.IgnoreStaleCompanion = true;
    } else if (a == "--format") {
      options.Format = value("--format");
      bool known = false;
      for (std::string_view f : kFormats) known = known || f == options.Format;
      if (!known) throw UsageError("unknown format \"" + options.Format + "\" (original, avi, mpeg, wmv, rm, mp4 or mkv)");
    } else if (a == "--out-dir") {
      options.OutDir = value("--out-dir");
    } else if (a == "-o" || a == "--output") {
      options.OutFile = value("-o");
    } else if (a == "--export") {
      options.ExportFormat = value("--export");
      if (!ExportFormatNamed(options.ExportFormat))
        throw UsageError("unknown export format \"" + options.ExportFormat + "\" (vtt, ass or srt1)");
      options.ExportFile = value("--export");
    } else if (a == "--overwrite") {
      options.Overwrite = true;
    } else if (a == "--size") {
      options.Size = ParseSizeOption(value("--size"));
    } else if (a == "--quality") {
      options.Quality = ParseQualityOption(value("--quality"));
    } else {
      throw UsageError("unknown option " + a);
    }
  }
  if (options.Help || options.Version) return options;
  if (options.Quiet && options.Progress == BurnProgress::Json)
    throw UsageError("--quiet and --progress=json cannot be used together");
  if (options.Quiet) options.Progress = BurnProgress::None;
  if (files.size() != 2) throw UsageError("expected a video and a subtitle file");
  if (!options.OutDir.empty() && !options.OutFile.empty())
    throw UsageError("--out-dir and -o cannot be used together");
  if (!options.ExportFile.empty() && (!options.OutFile.empty() || !options.OutDir.empty() || !options.Format.empty()))
    throw UsageError("--export writes no video: -o, --out-dir and --format do not go with it");
  if (options.OutFile.empty() && options.ExportFile.empty() && options.Overwrite)
    throw UsageError("--overwrite only applies to -o FILE; names in a folder never replace a file");
  const bool delivery = options.Format == "mp4" || options.Format == "mkv";
  if (options.Size && !delivery && options.Format != "avi" && options.Format != "mpeg")
    throw UsageError("--size needs --format avi, mpeg, mp4 or mkv");
  if (options.Quality && !delivery) throw UsageError("--quality needs --format mp4 or mkv");
  options.Video = files[0];
  options.Subtitles = files[1];
  return options;
}

std::string BurnUsageText() {
  return "Usage: orlisk-burn VIDEO SUBTITLES.srt [--format original|avi|mpeg|wmv|rm|mp4|mkv]\n"
         "                   [--size source|1080p|720p|480p|vertical|square|WxH] [--quality Q]\n"
         "                   [--out-dir DIR | -o FILE [--overwrite]] [--ignore-stale-companion]\n"
         "                   [--quiet | --progress=json] [--verbose]\n"
         "       orlisk-burn VIDEO SUBTITLES --export vtt|ass|srt1 FILE [--overwrite]\n"
         "\n"
         "Writes a copy of VIDEO with the subtitles burnt into its pictures, made as the\n"
         "editor's settings say (~/.config/orlisk.ini). The subtitles' places, colours and\n"
         "fonts come from the companion file beside them (SUBTITLES.dat) when there is one.\n"
         "The path of the written video is printed on stdout; everything else goes to stderr.\n"
         "\n"
         "  --format F    original: the source's own format (the default unless the\n"
         "                settings ask for custom output); avi, mpeg, wmv, rm: that format\n"
         "                with the custom settings; mp4: H.264 with AAC sound; mkv: H.264\n"
         "                (or H.265, as the settings say) with AAC (or Opus) sound. MP4 and\n"
         "                MKV copy the source's sound unchanged when the container takes it\n"
         "                (AAC, MP3, AC-3 into MP4; also Opus, Vorbis, FLAC... into MKV),\n"
         "                else encode it and say so\n"
         "  --size S      the frame of avi, mpeg, mp4 and mkv: source (the source's size),\n"
         "                1080p (1920x1080), 720p (1280x720), 480p (854x480), vertical\n"
         "                (1080x1920), square (1080x1080) or WIDTHxHEIGHT; the picture keeps\n"
         "                its shape, between black bars, and the subtitles stay where they\n"
         "                are on it\n"
         "  --quality Q   the picture quality of mp4 and mkv: a named step, high (CRF 18),\n"
         "                good (21), standard (23), small (26), smallest (28); or Q itself as\n"
         "                the CRF, 0..51 on x264's scale (lower is better and larger; H.265\n"
         "                gets the CRF that looks alike on its own scale); or a bit rate such\n"
         "                as 2500k. The encoder's speed is the settings'\n"
         "  --out-dir DIR write into DIR instead of the settings' output folder; the name\n"
         "                is the video's, with New_1, New_2, ... in front when it is taken\n"
         "  -o FILE       write exactly FILE; refused when FILE exists, unless --overwrite\n"
         "  --overwrite   allow -o or --export to replace an existing file (never the\n"
         "                source video)\n"
         "  --export vtt|ass|srt1 FILE\n"
         "                write no video: save the subtitles as FILE in WebVTT (each\n"
         "                line's place as cue settings), ASS (one style, each line's\n"
         "                place and colours as tags) or SubRip numbered from 1 without\n"
         "                a companion, in UTF-8; places are relative to VIDEO's picture.\n"
         "                SUBTITLES may be .srt, .vtt, .ass or .ssa\n"
         "  --ignore-stale-companion\n"
         "                burn even when SUBTITLES.dat belongs to another save of the\n"
         "                subtitles, with the current places and colours\n"
         "  -q, --quiet   no progress and no notices; errors are still shown\n"
         "  --progress=json\n"
         "                progress as one JSON object per line on stderr, at most once a\n"
         "                second and once at the end: {\"percent\":..,\"frames\":..,\n"
         "                \"elapsed\":..,\"remaining\":..} (seconds; remaining null until known)\n"
         "  -v, --verbose also show FFmpeg's own messages\n"
         "  --version     show the version of the program and of its FFmpeg libraries\n"
         "  -h, --help    show this text\n"
         "\n"
         "Progress is a bar on a terminal and a percentage line at most once a second\n"
         "otherwise. Ctrl+C or SIGTERM stops writing; the video written so far plays up\n"
         "to that point.\n"
         "\n"
         "Exit codes: 0 done; 2 bad usage or a refused output file; 3 the video or the\n"
         "subtitles cannot be read; 4 writing failed; 5 SUBTITLES.dat belongs to another\n"
         "save (see --ignore-stale-companion); 130 stopped by Ctrl+C; 143 stopped by SIGTERM.\n";
}

std::string BurnVersionText(const std::string& ffmpegVersions) {
  return std::string("orlisk-burn ") + ORLISK_VERSION + "\n" + ffmpegVersions + "\n";
}

}  // namespace orlisk
