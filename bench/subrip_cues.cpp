// Prints the subtitles this program reads from a SubRip file without a
// companion, one JSON object a line ({"begin": ms, "end": ms, "text": "..."},
// lines joined by "\n"), for comparing with other readers
// (bench/subrip-corpus/compare.py). With --time it also prints, on standard
// error, the median CPU time of 50 reads of the already decoded text (CPU
// time of this thread, so that a busy machine does not count).
//   subrip_cues [--time] FILE CHARSET      CHARSET: an iconv name, or "auto"
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "subtitles/SubRipFile.h"

namespace {

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string Decode(const std::string& bytes, const std::string& charset) {
  if (charset == "auto") return orlisk::DecodeText(bytes, orlisk::LegacyCodePage::Windows1252);
  std::string text = orlisk::ConvertToUtf8(bytes, charset.c_str());
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);  // the mark, in whichever form it came
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool timed = !args.empty() && args[0] == "--time";
  if (timed) args.erase(args.begin());
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: subrip_cues [--time] FILE CHARSET\n");
    return 2;
  }
  std::ifstream file(args[0], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "cannot open %s\n", args[0].c_str());
    return 1;
  }
  const std::string text = Decode(std::string(std::istreambuf_iterator<char>(file), {}), args[1]);
  const orlisk::SubRipReadContext context;
  const orlisk::SubRipReadResult read = orlisk::ReadSubRip(text, std::string_view(), context);
  for (std::size_t i = 0; i < read.Rows.size(); ++i) {
    std::string lines;
    for (const char c : read.Rows[i].Subtitle)
      if (c != '\r') lines += c;  // rows join lines with CR LF, and hold no other CR
    std::printf("{\"begin\": %d, \"end\": %d, \"text\": %s}\n", read.Entries[i].BeginTime, read.Entries[i].EndTime,
                JsonString(lines).c_str());
  }
  if (timed) {
    std::vector<double> milliseconds;
    for (int round = 0; round < 50; ++round) {
      const double start = orlisk::bench::ThreadCpuSeconds();
      const auto again = orlisk::ReadSubRip(text, std::string_view(), context);
      milliseconds.push_back((orlisk::bench::ThreadCpuSeconds() - start) * 1000);
      if (again.Rows.size() != read.Rows.size()) return 1;
    }
    std::nth_element(milliseconds.begin(), milliseconds.begin() + 25, milliseconds.end());
    std::fprintf(stderr, "%zu subtitles read in %.3f ms of CPU (median of 50)\n", read.Rows.size(), milliseconds[25]);
  }
  return 0;
}
