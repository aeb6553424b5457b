// What the settings file costs at start: LoadSettings (seven lookups) and the
// language file's captions (thirteen), over files of different sizes, among
// them a 50 MB file of blank lines and files right at the size cap.
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <string>

#include "BenchClock.h"
#include "settings/ProfileFile.h"
#include "files/SafeFile.h"
#include "settings/Settings.h"

namespace {

namespace fs = std::filesystem;
using orlisk::ProfileFile;
using orlisk::kMaxProfileFileBytes;

long PeakMegabytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

void Write(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

const char* const kSettingsTail =
    "[Output]\r\nPath=/home/me/Videos\r\n[Video]\r\nwh=1\r\n[Color]\r\nborderColor=255\r\nBborder=0\r\n"
    "[Update]\r\nBool=0\r\n[Orlisk]\r\nautoopen=0\r\n";

// A file of `size` bytes: blank lines, or many small sections, with the real
// keys at the very end so that every lookup scans it all.
std::string Filler(std::size_t size, bool sections) {
  std::string bytes;
  bytes.reserve(size);
  for (int i = 0; bytes.size() + 64 < size - std::string(kSettingsTail).size(); ++i) {
    bytes += sections ? "[s" + std::to_string(i) + "]\r\nkey=value\r\n" : std::string("\r\n");
  }
  bytes += kSettingsTail;
  return bytes;
}

void Measure(const std::string& name, const fs::path& file) {
  const ProfileFile settings(file);
  orlisk::bench::Stopwatch watch;
  const orlisk::StartupSettings loaded = orlisk::LoadSettings(settings, "/home/me/Videos");
  const double loadSeconds = watch.Seconds();
  orlisk::bench::Stopwatch captions;
  for (const char* section : {"About", "ContactUS", "Content", "Exit", "Inspectionupdate", "OurWebSite", "Stop",
                              "WriteSubtitle", "LV", "LV", "LV", "ed_text", "Hint"}) {
    settings.readString(section, "Caption", "x");
  }
  const double captionSeconds = captions.Seconds();
  std::error_code error;
  const auto size = fs::file_size(file, error);
  std::cout << std::left << std::setw(44) << name << std::right << std::setw(10) << (error ? 0 : size / 1024)
            << " KB  LoadSettings " << std::setw(8) << std::fixed << std::setprecision(1) << loadSeconds * 1000
            << " ms  13 captions " << std::setw(8) << captionSeconds * 1000 << " ms  peak " << PeakMegabytes()
            << " MB  (output mode read as " << loaded.OutputMode << ")\n";
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / ("orlisk-bench-settings-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::cout << "size cap of settings and language files: " << orlisk::DescribeSize(kMaxProfileFileBytes) << "\n";

  Write(folder / "small.ini", kSettingsTail);
  Measure("ordinary settings file", folder / "small.ini");

  {
    std::string blank(50ull * 1024 * 1024, '\n');
    for (std::size_t i = 0; i + 1 < blank.size(); i += 2) blank[i] = '\r';
    Write(folder / "blank50.ini", blank + kSettingsTail);
  }
  Measure("50 MB of blank lines (above the cap)", folder / "blank50.ini");

  Write(folder / "blankcap.ini", Filler(kMaxProfileFileBytes, false));
  Measure("4 MB of blank lines, keys at the end", folder / "blankcap.ini");

  Write(folder / "sectionscap.ini", Filler(kMaxProfileFileBytes, true));
  Measure("4 MB of small sections, keys at the end", folder / "sectionscap.ini");

  fs::remove_all(folder);
  return 0;
}
