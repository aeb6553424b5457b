#include "BurnTarget.h"

#include <filesystem>
#include <system_error>

#include "burnin/writer/OutputNaming.h"

namespace orlisk {

namespace fs = std::filesystem;

std::string RefusedOutputFile(const BurnOptions& options) {
  const std::string& file = options.OutFile;
  std::error_code error;
  if (file.empty() || !fs::exists(fs::symlink_status(file, error))) return "";
  if (fs::equivalent(file, options.Video, error)) return "refusing to write over the source video " + options.Video;
  if (const std::string refusal = RefusalOfTarget(file); !refusal.empty()) return refusal;
  if (!options.Overwrite) return file + " exists; add --overwrite to replace it";
  return "";
}

OutputTarget BurnTarget(const BurnOptions& options, const std::string& settingsFolder, const std::string& extension) {
  if (!options.OutFile.empty()) return {.Path = options.OutFile, .ReplaceFile = options.Overwrite, .NextFreeName = {}};
  const std::string folder = options.OutDir.empty() ? settingsFolder : options.OutDir;
  std::error_code ignored;
  fs::create_directory(folder, ignored);  // a folder that cannot be made shows at the output's creation
  return FreeOutputTarget(WithTrailingSlash(folder), options.Video, extension);
}

}  // namespace orlisk
