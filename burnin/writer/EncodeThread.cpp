#include "EncodeThread.h"

namespace orlisk {
namespace {

// A few frames in flight keep both threads busy; more would only cost memory
// (a 1080p frame is 8 MB). Sound blocks are small and come between frames.
constexpr std::size_t kMaxQueuedFrames = 4;
constexpr std::size_t kMaxQueuedItems = 32;

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

void EncodeThread::Push(AudioBlock block) { Enqueue(std::move(block)); }

void EncodeThread::Enqueue(Work work) {
  const bool isFrame = std::holds_alternative<Frame>(work);
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] {
    return error_ || (queue_.size() < kMaxQueuedItems && (!isFrame || queuedFrames_ < kMaxQueuedFrames));
  });
  if (error_) {
    RaiseUnreportedError();
    return;  // reported before: the job has been told; drop the work
  }
  queue_.push_back(std::move(work));
  if (isFrame) ++queuedFrames_;
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
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return !queue_.empty() || finishing_; });
      if (queue_.empty()) break;  // finishing, and everything is encoded
      work = std::move(queue_.front());
      queue_.pop_front();
      if (std::holds_alternative<Frame>(work)) --queuedFrames_;
      changed_.notify_all();
      if (error_) continue;  // after a failure the rest is dropped
    }
    try {
      if (auto* frame = std::get_if<Frame>(&work)) {
        session_->WriteFrame(*frame);
      } else {
        session_->WriteAudio(std::get<AudioBlock>(work));
      }
    } catch (...) {
      std::lock_guard lock(mutex_);
      error_ = std::current_exception();
      changed_.notify_all();
    }
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
