// Decoding a subtitle file of 2,500 cues, as opening it does: in UTF-8 (no
// detection), and in legacy code pages, where the code page is detected
// first (Windows-1251 Russian, GB18030 Chinese, Windows-1250 Croatian).
#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/BenchClock.h"
#include "subtitles/TextEncoding.h"

namespace {

constexpr int kCues = 2500;
constexpr int kRuns = 20;

std::string Cues(const std::string& line) {
  std::string text;
  for (int i = 1; i <= kCues; ++i) {
    text += std::to_string(i) + "\r\n00:00:01,000 --> 00:00:02,000\r\n" + line + " " + std::to_string(i) + "\r\n\r\n";
  }
  return text;
}

// The best of several runs, in milliseconds.
double DecodeMs(const std::string& bytes, const char* expected) {
  double best = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    const orlisk::bench::Stopwatch watch;
    const orlisk::DecodedText read = orlisk::DecodeSubtitleText(bytes, orlisk::LegacyCodePage::Windows1252);
    best = std::min(best, watch.Seconds() * 1000);
    if (read.Charset != expected) std::printf("  (read as %s, not %s)\n", read.Charset.c_str(), expected);
  }
  return best;
}

}  // namespace

int main() {
  using orlisk::ConvertFromUtf8;
  struct Case {
    const char* name;
    std::string bytes;
    const char* charset;
  };
  const Case cases[] = {
      {"UTF-8", Cues("Я не знаю, что сказать. 我们明天去北京吧。"), "UTF-8"},
      {"Windows-1251", ConvertFromUtf8(Cues("Я не знаю, что сказать."), "WINDOWS-1251"), "WINDOWS-1251"},
      {"GB18030", ConvertFromUtf8(Cues("我们明天去北京吧。这是一个很好的问题。"), "GB18030"), "GB18030"},
      {"Windows-1250", ConvertFromUtf8(Cues("Đino, dođavola. Čekam te već satima."), "WINDOWS-1250"), "WINDOWS-1250"},
  };
  double slowest = 0;
  std::printf("%14s %10s %10s\n", "file", "bytes", "decoding");
  for (const Case& c : cases) {
    const double ms = DecodeMs(c.bytes, c.charset);
    slowest = std::max(slowest, ms);
    std::printf("%14s %10zu %8.2f ms\n", c.name, c.bytes.size(), ms);
  }
  orlisk::bench::PrintResult("decode a 2,500-cue subtitle file in a legacy code page", "under 20 ms",
                             orlisk::bench::Format("%.2f ms", slowest), slowest < 20);
  return 0;
}
