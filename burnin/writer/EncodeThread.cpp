#include "EncodeThread.h"

#include <utility>

namespace orlisk {
namespace {

// A few frames in flight keep both threads busy; more would only cost memory
// (a 1080p frame is 8 MB). Large pictures are held back by their bytes: the
// frames queued and the one being encoded stay within a budget, except that
// one frame always gets through, so a 16000x8000 picture (512 MB) waits until
// the one before it is encoded. Sound blocks are small and come between frames.
constexpr std::size_t kMaxQueuedFrames = 4;
constexpr std::size_t kMaxFrameBytesInFlight = std::size_t{64} << 20;
constexpr std::size_t kMaxQueuedItems = 32;

std::size_t BytesOf(const std::variant<Frame, DecodedPicture, AudioBlock>& work) {
  if (const Frame* frame = std::get_if<Frame>(&work)) return frame->Pixels.size();
  if (const DecodedPicture* picture = std::get_if<DecodedPicture>(&work)) return picture->Bytes();
  return 0;
}

bool IsPicture(const std::variant<Frame, DecodedPicture, AudioBlock>& work) {
  return !std::holds_alternative<AudioBlock>(work);
}

}  // namespace

EncodeThread::EncodeThread(std::unique_ptr<EncodingSession> session)
    : session_(std::move(session)), worker_([this] { Run(); }) {}

EncodeThread::~EncodeThread() {
  try {
    Finish();
  } catch (...) {
    // Nobody to tell; CloseSource is where failures are reported.
  }
}

void EncodeThread::Push(Frame frame) { Enqueue(std::move(frame)); }

void EncodeThread::Push(DecodedPicture picture) { Enqueue(std::move(picture)); }

void EncodeThread::Push(AudioBlock block) { Enqueue(std::move(block)); }

void EncodeThread::Enqueue(Work work) {
  const bool isFrame = IsPicture(work);
  const std::size_t bytes = BytesOf(work);
  std::unique_lock lock(mutex_);
  const auto roomForFrame = [&] {
    return framesInFlight_ == 0 ||
           (queuedFrames_ < kMaxQueuedFrames && frameBytesInFlight_ + bytes <= kMaxFrameBytesInFlight);
  };
  changed_.wait(lock, [&] { return error_ || (queue_.size() < kMaxQueuedItems && (!isFrame || roomForFrame())); });
  if (error_) {
    RaiseUnreportedError();
    return;  // reported before: the job has been told; drop the work
  }
  queue_.push_back(std::move(work));
  queuedFrames_ += isFrame;
  framesInFlight_ += isFrame;
  frameBytesInFlight_ += bytes;
  changed_.notify_all();
}

void EncodeThread::Finish() {
  {
    std::lock_guard lock(mutex_);
    if (!worker_.joinable()) return;
    finishing_ = true;
    changed_.notify_all();
  }
  worker_.join();
  std::lock_guard lock(mutex_);
  RaiseUnreportedError();
}

void EncodeThread::RaiseUnreportedError() {
  if (error_ && !errorReported_) {
    errorReported_ = true;
    std::rethrow_exception(error_);
  }
}

void EncodeThread::Run() {
  for (;;) {
    Work work;
    bool failedBefore = false;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return !queue_.empty() || finishing_; });
      if (queue_.empty()) break;  // finishing, and everything is encoded
      work = std::move(queue_.front());
      queue_.pop_front();
      queuedFrames_ -= IsPicture(work);
      changed_.notify_all();
      failedBefore = error_ != nullptr;  // after a failure the rest is dropped
    }
    const bool isFrame = IsPicture(work);
    const std::size_t bytes = BytesOf(work);
    std::exception_ptr failure;
    if (!failedBefore) {
      try {
        if (Frame* frame = std::get_if<Frame>(&work)) {
          session_->WriteFrame(std::move(*frame));
        } else if (DecodedPicture* picture = std::get_if<DecodedPicture>(&work)) {
          session_->WritePicture(std::move(*picture));
        } else {
          session_->WriteAudio(std::get<AudioBlock>(work));
        }
      } catch (...) {
        failure = std::current_exception();
      }
    }
    std::lock_guard lock(mutex_);
    framesInFlight_ -= isFrame;
    frameBytesInFlight_ -= bytes;
    if (failure) error_ = failure;
    changed_.notify_all();
  }
  // The trailer is written whatever happened, so the file plays to its end.
  try {
    session_->Finish();
  } catch (...) {
    std::lock_guard lock(mutex_);
    if (!error_) error_ = std::current_exception();
  }
}

}  // namespace orlisk
