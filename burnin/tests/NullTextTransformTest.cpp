#include "burnin/NullTextTransform.h"

#include <gtest/gtest.h>

namespace orlisk {
namespace {

Frame Pattern() {
  Frame frame{3, 2, 16, {}};
  for (int i = 0; i < frame.Stride * frame.Height; ++i) frame.Pixels.push_back(static_cast<std::uint8_t>(i));
  return frame;
}

TEST(NullTextTransform, GivesBackTheLoadedFrameUntouchedByItsDraws) {
  NullTextTransform transform;
  Frame loaded = Pattern();
  transform.LoadFrame(loaded);
  loaded.Pixels.assign(loaded.Pixels.size(), 0);  // the transform keeps its own copy

  transform.DrawText(0.9, {.X = 0, .Y = 0, .DrawLevel = 240}, "Hello\r\nworld", SubtitleStyle{});
  transform.DrawText(0.9, {.X = 1, .Y = 1, .DrawLevel = 240, .Centred = true}, "again", SubtitleStyle{});
  const Frame taken = transform.TakeFrame();

  EXPECT_EQ(taken.Width, 3);
  EXPECT_EQ(taken.Height, 2);
  EXPECT_EQ(taken.Stride, 16);
  EXPECT_EQ(taken.Pixels, Pattern().Pixels);
}

TEST(NullTextTransform, HasNoFrameBeforeALoadOrAfterTheTake) {
  NullTextTransform transform;
  EXPECT_TRUE(transform.TakeFrame().empty());
  transform.LoadFrame(Pattern());
  ASSERT_FALSE(transform.TakeFrame().empty());
  EXPECT_TRUE(transform.TakeFrame().empty());
}

}  // namespace
}  // namespace orlisk
