// Pictures kept ahead: four at ordinary sizes, fewer as they grow, never none.
#include "playback/ReadAhead.h"

#include <gtest/gtest.h>

#include <string>

namespace orlisk {
namespace {

struct AheadRow {
  const char* name;
  std::size_t width, height;  // of the source, converted at its own size
  std::size_t pictures;
};

class ReadAhead : public ::testing::TestWithParam<AheadRow> {};

TEST_P(ReadAhead, PicturesKeptAheadFitTheBudget) {
  const AheadRow& row = GetParam();
  // A yuv420p picture decoded (1.5 bytes a pixel) beside its converted frame (4).
  const std::size_t pictureBytes = row.width * row.height * 3 / 2 + row.width * row.height * 4;
  EXPECT_EQ(PicturesAhead(pictureBytes), row.pictures);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReadAhead,
                         ::testing::Values(AheadRow{"Tiny", 2, 2, 4}, AheadRow{"FullHd", 1920, 1080, 4},
                                           AheadRow{"Uhd", 3840, 2160, 4}, AheadRow{"FiveK", 5120, 2880, 2},
                                           AheadRow{"Dci8k", 8192, 4320, 1},
                                           AheadRow{"Huge", 16000, 8000, 1}, AheadRow{"Nothing", 0, 0, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orlisk
