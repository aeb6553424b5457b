#include "DecodedPicture.h"

#include "PictureAccess.h"

namespace orlisk {

DecodedPicture::DecodedPicture() = default;
DecodedPicture::DecodedPicture(std::unique_ptr<Holder> holder) : holder_(std::move(holder)) {}
DecodedPicture::~DecodedPicture() = default;
DecodedPicture::DecodedPicture(DecodedPicture&&) noexcept = default;
DecodedPicture& DecodedPicture::operator=(DecodedPicture&&) noexcept = default;

int DecodedPicture::Width() const { return holder_ ? holder_->Frame->width : 0; }

int DecodedPicture::Height() const { return holder_ ? holder_->Frame->height : 0; }

std::size_t DecodedPicture::Bytes() const {
  std::size_t bytes = 0;
  if (!holder_) return bytes;
  for (const AVBufferRef* buffer : holder_->Frame->buf) {
    if (buffer) bytes += buffer->size;
  }
  return bytes;
}

}  // namespace orlisk
