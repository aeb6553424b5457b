#include <gtest/gtest.h>

#include "media/PictureShape.h"

namespace orlisk {
namespace {

struct FitRow {
  const char* what;
  int areaW, areaH;
  PixelAspect areaAspect;
  int picW, picH;
  PixelAspect aspect;
  int step;
  PictureRect expected;
};

TEST(FitPictureAligned, KeepsTheDisplayedShapeOnWholeChromaSamples) {
  for (const FitRow& row : {
           FitRow{"16:9 into 352x240: bars above and below", 352, 240, {}, 1280, 720, {}, 2, {0, 20, 352, 198}},
           FitRow{"4:3 into 16:9: bars left and right", 1280, 720, {}, 640, 480, {}, 2, {160, 0, 960, 720}},
           FitRow{"16:11 samples shown 1047x576 into 352x240", 352, 240, {}, 720, 576, {16, 11}, 2, {0, 22, 352, 194}},
           FitRow{"16:11 samples into a frame of the same samples", 720, 576, {16, 11}, 720, 576, {16, 11}, 2,
                  {0, 0, 720, 576}},
           FitRow{"square picture into a frame of 16:11 samples", 720, 576, {16, 11}, 640, 480, {}, 2,
                  {96, 0, 528, 576}},
           FitRow{"odd source, width rounds to an even count", 352, 240, {}, 1279, 719, {}, 2, {0, 20, 352, 198}},
           FitRow{"tall odd picture, odd centre moves to an even column", 352, 240, {}, 333, 999, {}, 2,
                  {136, 0, 80, 240}},
           FitRow{"without alignment the odd centre stays", 352, 240, {}, 333, 999, {}, 1, {136, 0, 80, 240}},
           FitRow{"a sliver keeps one step", 352, 240, {}, 4000, 2, {}, 2, {0, 118, 352, 2}},
           FitRow{"blocks of 16", 352, 240, {}, 1280, 720, {}, 16, {0, 16, 352, 192}},
           FitRow{"nothing to fit", 352, 240, {}, 0, 720, {}, 2, {}},
       }) {
    EXPECT_EQ(FitPictureAligned(row.areaW, row.areaH, row.areaAspect, row.picW, row.picH, row.aspect, row.step,
                                row.step),
              row.expected)
        << row.what;
  }
}

TEST(FitPicture, ShowsWideSamplesInTheirDisplayedShape) {
  // 720x576 of 16:11 samples is shown 1047x576 wide: in the editor's 566x378
  // view it fills the width, not the height as 5:4 would.
  EXPECT_EQ(FitPicture(566, 378, 720, 576, {16, 11}), (PictureRect{0, 33, 566, 311}));
  EXPECT_EQ(FitPicture(566, 378, 720, 576), (PictureRect{46, 0, 473, 378}));
}

TEST(MakePixelAspect, ReducesAndTakesTheUnknownOrAbsurdAsSquare) {
  struct Row {
    long long num, den;
    PixelAspect expected;
  };
  for (Row row : {Row{32, 22, {16, 11}}, Row{0, 1, {1, 1}}, Row{1, 0, {1, 1}}, Row{-16, 11, {1, 1}},
                  Row{100, 1, {1, 1}}, Row{1, 17, {1, 1}}, Row{2147483647, 2147483646, {1, 1}}}) {
    EXPECT_EQ(MakePixelAspect(row.num, row.den), row.expected) << row.num << ":" << row.den;
  }
}

}  // namespace
}  // namespace orlisk
