#pragma once
// The one error type of media code: what was being done, and FFmpeg's (or
// SDL's) own text.
#include <stdexcept>
#include <string>

namespace orlisk {

class MediaError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // "context: FFmpeg's text for the error code".
  static MediaError FromAv(const std::string& context, int averror);
};

}  // namespace orlisk
