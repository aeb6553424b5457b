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

  transform.DrawText(0.9, 0, 0, "Hello\r\nworld", SubtitleFont{}, 0x00FFFFFF, 240);
  transform.DrawText(0.9, 1, 1, "again", SubtitleFont{}, 0x000000FF, 240);
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
