#include "CodecLists.h"

#include <algorithm>
#include <cctype>

namespace orlisk {
namespace {

bool NamesXvid(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name.find("xvid") != std::string::npos;
}

}  // namespace

CodecLists FillCodecLists(VideoWriter& writer) {
  CodecLists lists;
  const int codecCount = writer.AviCodecCount();
  lists.XvidCodecIndex = codecCount;
  for (int number = 1; number <= codecCount; ++number) {
    writer.SelectAviCodec(number);
    lists.AviCodecs.push_back(writer.GetVideoFormatName());
    if (NamesXvid(lists.AviCodecs.back())) lists.XvidCodecIndex = number;
  }
  if (codecCount > 0) writer.SelectAviCodec(1);

  const int profileCount = writer.WmvProfileCount();
  for (int number = 1; number <= profileCount; ++number) {
    writer.SelectWmvProfile(number);
    lists.WmvProfiles.push_back(writer.WmvProfileName());
  }
  if (profileCount > 0) writer.SelectWmvProfile(1);
  return lists;
}

}  // namespace orlisk
