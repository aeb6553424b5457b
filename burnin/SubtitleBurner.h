#pragma once
// Draws the write job's subtitles on decoded pictures in their own pixel
// format: each subtitle is drawn once with the text transform (as the
// preview draws it, SubtitleBitmap), converted once to the picture's format
// (PictureOverlay), and blended into the planes of every picture it is due
// on, at its place. Only pictures with text are touched; one whose buffers
// the decoder still uses is first copied into a buffer of a small pool.
// Used on the job's thread.
#include <cstddef>
#include <memory>

#include "TextTransform.h"
#include "media/DecodedPicture.h"
#include "subtitles/SubtitleEntry.h"

namespace orlisk {

class SubtitleBurner {
 public:
  explicit SubtitleBurner(TextTransform& transform);
  ~SubtitleBurner();
  SubtitleBurner(const SubtitleBurner&) = delete;
  SubtitleBurner& operator=(const SubtitleBurner&) = delete;

  // Draws `due`, the job's subtitle number `number` (which names it: the
  // job's list and style do not change), with the font and backdrop of
  // `inUse`, on the picture. False, with the picture
  // untouched, when its pixel format is not one text can be blended into
  // (then draw on ToFrame's frame).
  bool Burn(DecodedPicture& picture, const SubtitleEntry& due, std::size_t number, const SubtitleStyle& inUse);
  // The picture as a frame of its own size, as the reader converts it.
  Frame ToFrame(const DecodedPicture& picture);

 private:
  struct Kept;
  TextTransform& transform_;
  std::unique_ptr<Kept> kept_;
};

}  // namespace orlisk
