#pragma once
// The video writer: the write side of the video file component. The write job
// configures it (ConfigureWriter, ApplyWriterConfiguration), creates the output
// file, feeds it frames and sound interleaved in time order and closes it.
//
// Thread: every call is made on one thread (the user-interface thread, or the
// command-line burner's main thread). An implementation may encode on threads
// of its own behind these calls; the caller sees only what is written here.
//
// Units: times in milliseconds; bit rates in kbit/s; sample rates in Hz; sizes
// in pixels; frame rates in frames per second. Codec and profile numbers count
// from 1.
//
// Ownership: WriteFrame and WriteAudio take their data; the caller keeps
// nothing the writer needs afterwards.
//
// Errors: every operation that fails raises MediaError (playback/MediaError.h)
// with a text a user can read. An error of encoding that happens behind the
// calls is raised by the next WriteFrame, WriteAudio or CloseSource.
//
// Settings: the Set*, Select* and *Enabled calls describe the next output and
// are kept from one CreateOutput to the next. A value a codec cannot take (a
// frame rate MPEG-1 lacks, an odd size for 4:2:0 pictures, a sample rate the
// audio codec refuses) is replaced by the nearest value it accepts when the
// output is created, never by failing half way through a file.
#include <cstdint>
#include <string>

#include "media/DecodedPicture.h"
#include "media/Frame.h"

namespace orlisk {

// Format codes handed to CreateOutput (`OutputType`).
enum OutputTypeCode : std::int32_t {
  kOutputAvi = 1,    // SelectAviCodec, SetAviAudio*, SetAviVideoFormat
  kOutputMpeg = 2,   // SetMpegAudioFormat, SetMpegVideoFormat; MPEG program stream
  kOutputWmv = 3,    // SelectWmvProfile; WMV 8 + WMA 2 in ASF
  kOutputRm = 4,     // SelectRmProfile; RealVideo 2 + AC-3 in RealMedia
  kOutputOther = 5,  // SetOtherFormat: another container (MP4, Matroska, WebM, ...)
  kOutputDelivery = 6,  // SetDeliveryFormat: MP4 or Matroska at a chosen quality and size
};

// How the selected AVI codec spends its bits; what its settings dialog edits.
// Remembered per codec for the life of the writer.
struct AviCodecSettings {
  enum class RateControl { Quality, BitRate };
  // Read only: the codec keeps every pixel (HuffYUV, FFV1, ...); rate control
  // does not apply, only the key-frame interval.
  bool Lossless = false;
  RateControl Control = RateControl::Quality;
  int Quality = 90;            // 1 (smallest file) .. 100 (best picture)
  int BitRateKbps = 2000;      // used with RateControl::BitRate
  int KeyFrameInterval = 250;  // frames from one key frame to the next; 1: every frame
};

// An output in a container other than AVI, MPEG, WMV or RM ("Original" for
// such a source). Names are FFmpeg's: the container's muxer ("mp4", "mov",
// "matroska", "webm", "ogg", "flv", "mpegts", "3gp") and the codecs ("h264",
// "vp9", "vp8", "theora"; "aac", "opus", "vorbis"). When no encoder of a
// codec is installed, the writer takes the container's other usual codec
// (VP8 for VP9, Vorbis for Opus) or raises MediaError.
struct OtherFormat {
  std::string Container;
  std::string VideoCodec;
  std::string AudioCodec;
  int Width = 0;  // 0: the source's size
  int Height = 0;
  double FrameRate = 0;      // 0: the source's rate
  int VideoBitRateKbps = 0;  // 0: chosen from size and rate
  int AudioBitRateKbps = 128;
};

// An output for publishing: H.264 or H.265 pictures in MP4 or Matroska at a
// constant quality or a target bit rate, with the source's sound copied
// packet for packet where the container takes it, else encoded. Names are
// FFmpeg's: "mp4" or "matroska"; "h264" or "hevc"; "aac" or "opus".
struct DeliveryFormat {
  std::string Container = "mp4";
  std::string VideoCodec = "h264";
  std::string AudioCodec = "aac";  // when the sound is encoded
  int Width = 0;  // 0: the source's size
  int Height = 0;
  // Constant quality on x264's scale (0..51, lower is better); the H.265
  // encoder gets the value that gives about the same picture on its scale.
  // Used while VideoBitRateKbps is 0.
  int Crf = 23;
  int VideoBitRateKbps = 0;
  std::string Speed = "veryfast";  // the encoder's preset
  // The source file whose sound packets go into the output unchanged, on the
  // time line of its pictures; empty: the sound handed to WriteAudio is
  // encoded. WriteAudio is still called either way: it sets how far the
  // copied sound reaches (a stopped job's file stops both together).
  std::string CopySoundFrom;
  int AudioBitRateKbps = 160;

  bool operator==(const DeliveryFormat&) const = default;
};

class VideoWriter {
 public:
  virtual ~VideoWriter() = default;

  // Creates the file `path` (overwriting a regular file there) in the format
  // of `outputType` (OutputTypeCode) with the settings made so far, and
  // writes its header. A file still open is closed first. Anything at `path`
  // but a regular file (a pipe, device, socket or folder) is refused without
  // being opened. On failure a file it made is removed, one that was there is
  // not, and MediaError says why ("Cannot create ...: Not a directory"). The
  // write job gives it a new partial file (PartialOutput.h), never a target.
  virtual void CreateOutput(const std::string& path, std::int32_t outputType) = 0;
  // Finishes the open file: encodes what is still queued and writes the
  // container's trailer once, so a file closed half way plays to where it was
  // closed. Does nothing when no file is open. Raises an encoding error that
  // no earlier call has reported.
  virtual void CloseSource() = 0;
  // Appends sound: interleaved signed 16-bit samples at the rate and channel
  // count of SetSourceAudioFormat (a sample may be split between two blocks).
  // Counted but not written when the output has no sound. Raises MediaError
  // when no file is open.
  virtual void WriteAudio(const AudioBlock& block) = 0;
  // Appends one source frame (32-bit B, G, R, x pixels) of any size: the
  // writer scales it into the output picture (see SetSourcePixelAspect) and repeats or drops frames to reach
  // the output frame rate by their times. An empty frame is ignored. Pass with
  // std::move when the frame is no longer needed. Raises MediaError when no
  // file is open.
  virtual void WriteFrame(Frame frame) = 0;
  // Appends one source picture as the reader decoded it (VideoReader::
  // ReadPicture), in any pixel format and size, and takes it as WriteFrame
  // takes a frame: converted and scaled to the output's pixel format and size
  // in one step, or encoded as it is when both already match. An empty
  // picture is ignored. Raises MediaError when no file is open.
  virtual void WritePicture(DecodedPicture picture) = 0;

  // What the write job will feed in: the source's sound and pictures. A rate
  // or channel count of 0 means that the source has no sound.
  virtual void SetSourceAudioFormat(int sampleRate, int channels) = 0;
  virtual void SetSourceVideoFormat(int width, int height, double frameRate) = 0;
  // How wide the source's pixels are shown (the reader's GetPixelAspect).
  // The written picture keeps that shape: at the source's size the aspect is
  // written with it where the file has a place for it; in a frame of another
  // size (a custom size, a profile's) the pixels are square and the picture
  // is fitted in between black bars. Square until set.
  virtual void SetSourcePixelAspect(int num, int den) = 0;
  virtual void AudioEnabled(bool enabled) = 0;
  virtual void VideoEnabled(bool enabled) = 0;
  // Sound and pictures accepted so far, in ms of the source's time line.
  virtual std::int32_t GetAudioPosition() const = 0;
  virtual std::int32_t GetPosition() const = 0;

  // AVI video codec catalogue: the installed codecs that AVI can hold, in a
  // fixed order. GetVideoFormatName is the selected codec's long name ("" when
  // none is installed).
  virtual int AviCodecCount() const = 0;
  virtual void SelectAviCodec(int number) = 0;
  virtual std::string GetVideoFormatName() const = 0;
  // The selected codec's settings (`ConfigureAviCodec` is the dialog that
  // edits them; it lives with the windows).
  virtual AviCodecSettings GetAviCodecSettings() const = 0;
  virtual void SetAviCodecSettings(const AviCodecSettings& settings) = 0;

  // AVI sound: one of these, the last call wins.
  virtual void SetAviAudioPcm(int sampleRate, int channels, int bitsPerSample) = 0;
  virtual void SetAviAudioAdpcm(int sampleRate, int channels) = 0;
  virtual void SetAviAudioAlaw(int sampleRate, int channels) = 0;
  virtual void SetAviAudioUlaw(int sampleRate, int channels) = 0;
  virtual void SetAviAudioGsm(int sampleRate) = 0;  // GSM is 8000 Hz mono
  virtual void SetAviAudioMp3(int bitRateKbps, int sampleRate, int channels) = 0;
  virtual void SetAviVideoFormat(int width, int height, double frameRate) = 0;

  // MPEG: version 1 or 2 video with MPEG audio layer II.
  virtual void SetMpegAudioFormat(int bitRateKbps, int sampleRate, int channels) = 0;
  virtual void SetMpegVideoFormat(int version, int bitRateKbps, int width, int height, double frameRate) = 0;

  // WMV and RM profiles: fixed tables (WriterProfiles.h).
  virtual void SelectWmvProfile(int number) = 0;
  virtual int WmvProfileCount() const = 0;
  virtual std::string WmvProfileName() const = 0;  // the selected profile's name
  virtual void SelectRmProfile(int number) = 0;

  virtual void SetOtherFormat(const OtherFormat& format) = 0;
  virtual void SetDeliveryFormat(const DeliveryFormat& format) = 0;
};

}  // namespace orlisk
