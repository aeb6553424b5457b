#pragma once
// Runs an EncodingSession on a thread of its own behind a small bounded
// queue, so that the caller's decoding and drawing overlap the encoding. The
// caller's thread makes every call; an error of the encoding thread is raised
// by the caller's next Push or by Finish. Internal to the writer.
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <variant>

#include "EncodingSession.h"

namespace orlisk {

class EncodeThread {
 public:
  explicit EncodeThread(std::unique_ptr<EncodingSession> session);
  // Finishes the file if Finish was not called, swallowing errors.
  ~EncodeThread();
  EncodeThread(const EncodeThread&) = delete;
  EncodeThread& operator=(const EncodeThread&) = delete;

  // Queue work; wait while the queue is full: four frames queued, or frames
  // of more than 64 MB queued and being encoded together (but a frame always
  // gets through when no other is in flight).
  void Push(Frame frame);
  void Push(DecodedPicture picture);
  void Push(AudioBlock block);
  // Encodes what is queued, writes the trailer and ends the thread. Raises
  // an error of the encoding that no Push has raised yet.
  void Finish();

 private:
  using Work = std::variant<Frame, DecodedPicture, AudioBlock>;
  void Enqueue(Work work);
  void Run();
  void RaiseUnreportedError();  // with mutex_ held

  std::unique_ptr<EncodingSession> session_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Work> queue_;
  std::size_t queuedFrames_ = 0;
  // Queued or being encoded.
  std::size_t framesInFlight_ = 0;
  std::size_t frameBytesInFlight_ = 0;
  bool finishing_ = false;
  std::exception_ptr error_;
  bool errorReported_ = false;
  std::thread worker_;
};

}  // namespace orlisk
