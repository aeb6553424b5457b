#pragma once
// The source video reader. Called on the user-interface thread only; an
// implementation may decode ahead on threads of its own.
// Times are milliseconds from the start of the video; sizes are source pixels.
// Every operation other than the queries raises MediaError on failure.
// While no file is open the queries give 0 and empty names, CloseSource does
// nothing, and SeekTo, ReadFrame and ReadAudio raise MediaError.
#include <cstdint>
#include <string>

#include "media/DecodedPicture.h"
#include "media/Frame.h"
#include "media/MediaError.h"

namespace orlisk {

class VideoReader {
 public:
  virtual ~VideoReader() = default;

  // Opens a file for reading at position 0 (closing any open one first).
  // Raises MediaError when the file cannot be decoded.
  virtual void OpenSource(const std::string& path) = 0;
  // Closes the open file; does nothing when none is open.
  virtual void CloseSource() = 0;

  virtual std::int32_t GetDuration() const = 0;  // video length, ms
  virtual double GetFrameRate() const = 0;       // frames per second
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  // How wide the source's pixels are shown (its sample aspect ratio): 16:11
  // for a 720x576 picture shown 1047 wide. Square for most files, and while
  // no file is open.
  virtual PixelAspect GetPixelAspect() const { return {}; }

  // Time of the frame the next ReadFrame returns; after SeekTo the time
  // actually reached; advances by one frame per ReadFrame.
  virtual std::int32_t GetPosition() const = 0;
  // Frame-accurate: the next ReadFrame gives the frame shown at `ms`; audio
  // reading continues from there too.
  virtual void SeekTo(std::int32_t ms) = 0;
  // The frame at GetPosition, then the position advances. An empty frame after
  // the last one.
  virtual Frame ReadFrame() = 0;
  // Passes over the frame at GetPosition as a player drops a late frame: it is
  // decoded (the frames after it need it) but neither converted nor handed
  // out; the position advances as after ReadFrame. Nothing after the last
  // frame. A reader that cannot do better reads the frame and drops it.
  virtual void SkipFrame() { ReadFrame(); }
  // The size ReadFrame's pictures are wanted at (the view's picture, for
  // playback): from now on they come scaled to width x height, their
  // SourceWidth and SourceHeight naming the source's size, which places on
  // them are still measured in. 0 x 0 asks for the source's size, as every
  // newly opened file starts. A reader that cannot scale keeps the source's
  // size: whoever reads must take either.
  virtual void SetFrameSize(int /*width*/, int /*height*/) {}

  // The write job's way of reading: each picture as the decoder made it,
  // handed on to the writer without a conversion.
  // Whether this reader gives pictures (ReadPicture); one that does not is
  // read with ReadFrame.
  virtual bool ReadsPictures() const { return false; }
  // Whether frames are wanted beside the pictures (for a view): with false,
  // no picture is converted ahead of its use, since none will be wanted as a
  // frame. True again for every newly opened file.
  virtual void SetFramesWanted(bool /*wanted*/) {}
  // The picture at GetPosition, not converted; then the position advances as
  // after ReadFrame. An empty picture after the last one. When `frame` is
  // given it receives the same picture as ReadFrame would have given it (at
  // the SetFrameSize size); it is left alone after the last picture.
  virtual DecodedPicture ReadPicture(Frame* /*frame*/) {
    throw MediaError("This reader cannot hand on decoded pictures");
  }
  // The next block of sound from the audio position: `requestedBytes` bytes,
  // or a default amount (about 40 ms) for 0. An empty block at the end and for
  // a video without sound.
  virtual AudioBlock ReadAudio(int requestedBytes) = 0;

  virtual int GetAudioChannels() const = 0;        // 0 without sound
  virtual int GetAudioSampleRate() const = 0;      // Hz; 0 without sound
  virtual std::int64_t GetAudioBitRate() const = 0;  // bits per second
  virtual std::int32_t GetAudioPosition() const = 0;  // ms
  virtual std::int32_t GetAudioDuration() const = 0;  // ms
  // Lower-case names: "wav" for PCM, "adpcm", "alaw", "ulaw", "gsm", else the codec's name.
  virtual std::string GetAudioFormatName() const = 0;
  virtual std::int64_t GetVideoBitRate() const = 0;  // bits per second
  // "mpeg1 video" for MPEG-1 video, else the codec's name.
  virtual std::string GetVideoFormatName() const = 0;
};

}  // namespace orlisk
