#pragma once
// Inside a DecodedPicture: the decoded frame. Internal to the media code and
// to the code that draws on or encodes pictures (never included by a header
// the application includes).
#include "DecodedPicture.h"
#include "FfmpegPtr.h"

namespace orlisk {

struct DecodedPicture::Holder {
  AvFramePtr Frame;  // never null
};

inline DecodedPicture PictureOf(AvFramePtr frame) {
  return DecodedPicture(std::make_unique<DecodedPicture::Holder>(DecodedPicture::Holder{std::move(frame)}));
}

// The picture's frame; the picture must not be empty.
inline AVFrame& FrameOf(const DecodedPicture& picture) { return *picture.holder()->Frame; }

}  // namespace orlisk
