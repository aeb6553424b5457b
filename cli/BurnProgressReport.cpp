#include "BurnProgressReport.h"

#include <chrono>
#include <cstdio>
#include <ostream>
#include <string>

namespace orlisk {
namespace {

constexpr double kSecondsBetweenLines = 1.0;
constexpr int kBarWidth = 40;

std::string Number(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace

double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

BurnProgressReport::BurnProgressReport(std::ostream& err, BurnProgress mode, bool terminal, Clock clock)
    : err_(err), mode_(mode), terminal_(terminal), clock_(std::move(clock)), start_(clock_()), lastPrinted_(start_) {}

void BurnProgressReport::Show(int progress, std::int64_t frames) {
  if (mode_ == BurnProgress::None) return;
  const double now = clock_();
  if (mode_ == BurnProgress::Auto && terminal_) {
    // The bar is redrawn in place, so every tenth of a per cent may show.
    if (progress / 10 == lastShown_) return;
  } else if (now - lastPrinted_ < kSecondsBetweenLines) {
    return;
  }
  Print(progress, frames, now - start_);
  lastPrinted_ = now;
}

void BurnProgressReport::End(int progress, std::int64_t frames) {
  if (mode_ == BurnProgress::None || ended_) return;
  ended_ = true;
  const double elapsed = clock_() - start_;
  if (!(mode_ == BurnProgress::Auto && terminal_ && progress / 10 == lastShown_)) Print(progress, frames, elapsed);
  if (mode_ == BurnProgress::Auto && terminal_) err_ << "\n" << std::flush;
}

void BurnProgressReport::Print(int progress, std::int64_t frames, double elapsed) {
  lastShown_ = progress / 10;
  if (mode_ == BurnProgress::Json) {
    const std::string remaining =
        progress <= 0 ? "null" : Number(elapsed * (10000 - progress) / progress, 2);
    err_ << "{\"percent\":" << Number(progress / 100.0, 2) << ",\"frames\":" << frames
         << ",\"elapsed\":" << Number(elapsed, 2) << ",\"remaining\":" << remaining << "}\n"
         << std::flush;
  } else if (terminal_) {
    const int filled = progress * kBarWidth / 10000;
    err_ << "\r[" << std::string(filled, '#') << std::string(kBarWidth - filled, '-') << "] "
         << Number(progress / 100.0, 1) << "%" << std::flush;
  } else {
    err_ << progress / 100 << "%\n" << std::flush;
  }
}

}  // namespace orlisk
