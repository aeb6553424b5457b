#include "SubtitleBurner.h"

#include <optional>

#include "PictureOverlay.h"
#include "media/MediaError.h"
#include "media/PictureAccess.h"
#include "media/PictureConverter.h"
#include "media/PicturePool.h"

namespace orlisk {
namespace {

// What an overlay was made for: a subtitle on pictures of one kind.
struct OverlayKey {
  std::size_t Number = 0;
  int Format = -1;
  int Width = 0;
  int Height = 0;
  int Siting = 0;

  static OverlayKey Of(std::size_t number, const AVFrame& picture) {
    return {number, picture.format, picture.width, picture.height, static_cast<int>(picture.chroma_location)};
  }
  bool operator==(const OverlayKey&) const = default;
};

}  // namespace

struct SubtitleBurner::Kept {
  std::optional<OverlayKey> key;
  std::optional<PictureOverlay> overlay;
  PicturePool copies;
  PictureConverter converter;
};

SubtitleBurner::SubtitleBurner(TextTransform& transform) : transform_(transform), kept_(std::make_unique<Kept>()) {}

SubtitleBurner::~SubtitleBurner() = default;

bool SubtitleBurner::Burn(DecodedPicture& picture, const SubtitleEntry& due, std::size_t number,
                          const SubtitleStyle& inUse) {
  AVFrame& decoded = FrameOf(picture);
  if (!PictureOverlay::Supports(decoded)) return false;
  // A subtitle stays on screen for dozens of pictures: it is drawn and
  // converted when it or the kind of picture changes, not for each one.
  const OverlayKey key = OverlayKey::Of(number, decoded);
  if (kept_->key != key) {
    kept_->overlay.reset();
    kept_->key.reset();
    kept_->overlay.emplace(DrawSubtitleBitmap(transform_, due, inUse, decoded.width, decoded.height), decoded);
    kept_->key = key;
  }
  if (!av_frame_is_writable(&decoded)) {
    // The decoder still refers to the picture (a reference for the pictures
    // after it): the text goes on a copy.
    AvFramePtr copy = kept_->copies.Take(static_cast<AVPixelFormat>(decoded.format), decoded.width, decoded.height);
    if (av_frame_copy(copy.get(), &decoded) < 0 || av_frame_copy_props(copy.get(), &decoded) < 0) {
      throw MediaError("Cannot copy a picture to draw a subtitle on");
    }
    picture = PictureOf(std::move(copy));
  }
  kept_->overlay->BlendInto(FrameOf(picture));
  return true;
}

Frame SubtitleBurner::ToFrame(const DecodedPicture& picture) {
  const AVFrame& decoded = FrameOf(picture);
  return kept_->converter.ToFrame(decoded, decoded.width, decoded.height);
}

}  // namespace orlisk
