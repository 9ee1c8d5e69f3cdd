#include "rib/gzip_sink.h"

#if defined(VELLUM_HAVE_ZLIB) || defined(VELLUM_HAVE_ISAL)
#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "rib/gzip_encoder.h"
#endif

namespace vellum {

#if defined(VELLUM_HAVE_ZLIB) || defined(VELLUM_HAVE_ISAL)

namespace {

// What is written is gathered into blocks of 1 MiB.  A stream that fills
// one starts a thread of its own that compresses the blocks and hands the
// result to the destination while the client goes on writing the next
// (deflating costs more than formatting RIB, even at the fastest level);
// two blocks at most wait for it, so memory stays a few blocks.  A stream
// that never fills a block (most streams of a few requests) compresses on
// the client's thread, at its flushes, and starts no thread.
//
// A flush waits until everything before it went through the destination,
// so that it means what it means without compression: WorldEnd, a fork
// and the end of the process see all that was written.  In a forked child
// the thread is the parent's and is not there: release() touches nothing
// the thread uses.
class GzipSink : public OutputSink, private GzipEncoder::Output {
 public:
  GzipSink(std::unique_ptr<OutputSink> destination, const char *name, int level)
      : destination_(std::move(destination)), encoder_(makeGzipEncoder(level)) {
    if (encoder_ == nullptr) reportFailure("compressing RIB to", name, ENOMEM);
    block_.reserve(kBlockSize);
  }
  ~GzipSink() override {
    close();
    // A forked child's copy of the queue may say that the parent's thread
    // waits on it: destroying it would wait for ever.  It is left alone,
    // where it can still be found.
    if (released_ && queue_ != nullptr) forkedQueues().push_back(queue_.release());
  }

  void write(const char *data, size_t size) override {
    if (!compressing()) return;
    while (size > 0) {
      const size_t piece = std::min(size, kBlockSize - block_.size());
      block_.append(data, piece);
      data += piece;
      size -= piece;
      if (block_.size() == kBlockSize) handOn(GzipEncoder::Flush::kNone);
    }
  }
  void flush() override {
    if (!compressing()) return;
    handOn(GzipEncoder::Flush::kSync);
    waitIdle();
    destination_->flush();
    destinationFailed_ = destination_->failed();
  }
  void close() override {
    if (closed_) return;
    closed_ = true;
    if (released_) return;
    finish();
    stopThread();
    destination_->close();
    destinationFailed_ = destination_->failed();
    encoder_ = nullptr;
  }
  void release() override {
    released_ = true;
    destination_->release();
  }
  void finishAtExit() override {
    if (released_ || closed_) return;
    finish();
    stopThread();
    destination_->finishAtExit();
  }
  bool failed() const override { return OutputSink::failed() || destinationFailed_; }

 private:
  static constexpr size_t kBlockSize = size_t{1} << 20;
  static constexpr size_t kMostWaiting = 2;

  struct Job {
    std::string block;
    GzipEncoder::Flush flush;
  };
  // What the client's thread and the compressing one share.
  struct Queue {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> waiting;
    std::vector<std::string> spares;  // blocks done with, to be filled again
    bool busy = false;
    bool stopping = false;
  };
  static std::vector<Queue *> &forkedQueues() {
    static std::vector<Queue *> *queues = new std::vector<Queue *>;
    return *queues;
  }

  bool compressing() const { return encoder_ != nullptr && !finished_ && !released_ && !destinationFailed_; }

  // The compressed bytes, on whichever thread compresses.
  void take(const char *data, size_t size) override {
    destination_->write(data, size);
    if (destination_->failed()) destinationFailed_ = true;
  }

  // Hands the block gathered so far (maybe empty) on with `flush`: to the
  // thread, once there is one or once a block is full; otherwise it is
  // compressed at once.
  void handOn(GzipEncoder::Flush flush) {
    if (!threadStarted_ && flush == GzipEncoder::Flush::kNone) startThread();
    if (!threadStarted_) {
      encoder_->compress(block_.data(), block_.size(), flush, *this);
      block_.clear();
      return;
    }
    Queue &queue = *queue_;
    std::unique_lock<std::mutex> lock(queue.mutex);
    queue.changed.wait(lock, [&] { return queue.waiting.size() < kMostWaiting; });
    queue.waiting.push_back({std::move(block_), flush});
    block_ = std::string();
    if (!queue.spares.empty()) {
      block_ = std::move(queue.spares.back());
      queue.spares.pop_back();
    }
    lock.unlock();
    queue.changed.notify_all();
    block_.clear();
    block_.reserve(kBlockSize);
  }

  void startThread() {
    queue_ = std::make_unique<Queue>();
    threadStarted_ = pthread_create(&thread_, nullptr, &GzipSink::threadMain, this) == 0;
  }
  static void *threadMain(void *sink) {
    static_cast<GzipSink *>(sink)->compressBlocks();
    return nullptr;
  }
  void compressBlocks() {
    Queue &queue = *queue_;
    std::unique_lock<std::mutex> lock(queue.mutex);
    for (;;) {
      queue.changed.wait(lock, [&] { return !queue.waiting.empty() || queue.stopping; });
      if (queue.waiting.empty()) return;  // stopping, with nothing left
      Job job = std::move(queue.waiting.front());
      queue.waiting.pop_front();
      queue.busy = true;
      lock.unlock();
      queue.changed.notify_all();
      if (!destinationFailed_) encoder_->compress(job.block.data(), job.block.size(), job.flush, *this);
      lock.lock();
      queue.busy = false;
      if (queue.spares.size() < kMostWaiting) queue.spares.push_back(std::move(job.block));
      queue.changed.notify_all();
    }
  }
  // Until the thread has compressed and handed on all it was given.
  void waitIdle() {
    if (!threadStarted_) return;
    Queue &queue = *queue_;
    std::unique_lock<std::mutex> lock(queue.mutex);
    queue.changed.wait(lock, [&] { return queue.waiting.empty() && !queue.busy; });
  }
  void stopThread() {
    if (!threadStarted_) return;
    {
      std::lock_guard<std::mutex> lock(queue_->mutex);
      queue_->stopping = true;
    }
    queue_->changed.notify_all();
    pthread_join(thread_, nullptr);
    threadStarted_ = false;
  }
  // Ends the gzip stream: the last block and the trailer.  Nothing can be
  // written after it.
  void finish() {
    if (!compressing()) return;
    handOn(GzipEncoder::Flush::kFinish);
    waitIdle();
    finished_ = true;
  }

  std::unique_ptr<OutputSink> destination_;
  std::unique_ptr<GzipEncoder> encoder_;
  std::string block_;  // gathered, not yet handed on
  std::atomic<bool> destinationFailed_{false};
  bool finished_ = false;
  bool released_ = false;
  bool closed_ = false;
  // The thread, and what it shares with the client's.
  pthread_t thread_{};
  bool threadStarted_ = false;
  std::unique_ptr<Queue> queue_;  // made with the thread
};

}  // namespace

bool gzipAvailable() { return true; }

std::unique_ptr<OutputSink> gzipSink(std::unique_ptr<OutputSink> destination, const char *name, int level) {
  return std::make_unique<GzipSink>(std::move(destination), name, level);
}

#else

bool gzipAvailable() { return false; }

std::unique_ptr<OutputSink> gzipSink(std::unique_ptr<OutputSink> destination, const char *, int) {
  return destination;
}

#endif

}  // namespace vellum
