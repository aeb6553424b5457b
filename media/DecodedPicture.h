#pragma once
// A picture as the decoder made it: its own pixel format (planar YUV of any
// chroma subsampling and bit depth, or whatever the codec gives) and size,
// never converted. The write job hands it from the reader to the writer so
// that a frame without text is not converted at all. Moving it moves the
// decoder's buffers; nothing is copied. Only the media code looks inside
// (media/PictureAccess.h); everyone else passes it on.
#include <cstddef>
#include <memory>

namespace orlisk {

class DecodedPicture {
 public:
  struct Holder;  // the decoded frame; defined in media/PictureAccess.h

  DecodedPicture();
  explicit DecodedPicture(std::unique_ptr<Holder> holder);
  ~DecodedPicture();
  DecodedPicture(DecodedPicture&&) noexcept;
  DecodedPicture& operator=(DecodedPicture&&) noexcept;

  // No picture: after the last frame.
  bool empty() const { return holder_ == nullptr; }
  int Width() const;
  int Height() const;
  // The bytes its buffers hold (shared ones included).
  std::size_t Bytes() const;

  Holder* holder() const { return holder_.get(); }

 private:
  std::unique_ptr<Holder> holder_;
};

}  // namespace orlisk
