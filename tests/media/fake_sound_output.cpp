#include "tests/media/fake_sound_output.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace vorlindy::testing {

class FakeSoundOutput::Stream final : public SoundStream {
 public:
  Stream(FakeSoundOutput& owner, std::size_t index, std::size_t bytes_per_frame)
      : owner_(owner),
        index_(index),
        bytes_per_frame_(bytes_per_frame),
        wake_fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    const std::lock_guard lock(owner_.mutex_);
    Record().wake_fd = wake_fd_;
  }

  ~Stream() override {
    std::unique_lock lock(owner_.mutex_);
    owner_.changed_.wait(lock, [&] { return !owner_.hold_closing_; });
    Record().closed = true;
    Record().wake_fd = -1;
    close(wake_fd_);
    owner_.changed_.notify_all();
  }

  std::optional<std::size_t> Write(std::span<const unsigned char> frames) override {
    const std::lock_guard lock(owner_.mutex_);
    FakeStreamRecord& record = Record();
    const std::size_t room = owner_.settings_.queue_frames - record.queued_frames;
    const std::size_t taken = std::min(room, frames.size() / bytes_per_frame_);
    record.written.insert(record.written.end(), frames.begin(),
                          frames.begin() + static_cast<std::ptrdiff_t>(taken * bytes_per_frame_));
    record.queued_frames = owner_.settings_.autoplay ? 0 : record.queued_frames + taken;
    owner_.changed_.notify_all();
    return taken;
  }

  std::optional<std::size_t> Queued() override {
    const std::lock_guard lock(owner_.mutex_);
    return Record().queued_frames;
  }

  void Wait(const StopSignal& stop, std::chrono::milliseconds timeout) override {
    SetWaiting(true);
    pollfd watch[] = {{stop.Descriptor(), POLLIN, 0}, {wake_fd_, POLLIN, 0}};
    poll(watch, 2, static_cast<int>(timeout.count()));
    std::uint64_t wakes = 0;
    [[maybe_unused]] const ssize_t got = read(wake_fd_, &wakes, sizeof wakes);
    SetWaiting(false);
  }

  void Drop() override {
    const std::lock_guard lock(owner_.mutex_);
    Record().queued_frames = 0;
    ++Record().drops;
    owner_.changed_.notify_all();
  }

 private:
  FakeStreamRecord& Record() { return owner_.records_[index_]; }

  void SetWaiting(bool waiting) {
    const std::lock_guard lock(owner_.mutex_);
    Record().waiting = waiting;
    owner_.changed_.notify_all();
  }

  FakeSoundOutput& owner_;
  std::size_t index_;
  std::size_t bytes_per_frame_;
  int wake_fd_;
};

std::unique_ptr<SoundStream> FakeSoundOutput::Open(const ClipFormat& format) {
  if (settings_.refuse_open) return nullptr;
  std::size_t index = 0;
  {
    const std::lock_guard lock(mutex_);
    FakeStreamRecord record;
    record.format = format;
    records_.push_back(std::move(record));
    index = records_.size() - 1;
  }
  return std::make_unique<Stream>(*this, index, format.bytes_per_frame);
}

void FakeSoundOutput::Play(std::size_t frames) {
  const std::lock_guard lock(mutex_);
  const std::uint64_t one = 1;
  for (FakeStreamRecord& record : records_) {
    record.queued_frames -= std::min(frames, record.queued_frames);
    if (record.wake_fd >= 0) [[maybe_unused]]
      const ssize_t put = write(record.wake_fd, &one, sizeof one);
  }
  changed_.notify_all();
}

void FakeSoundOutput::HoldClosing() {
  const std::lock_guard lock(mutex_);
  hold_closing_ = true;
}

void FakeSoundOutput::ReleaseClosing() {
  const std::lock_guard lock(mutex_);
  hold_closing_ = false;
  changed_.notify_all();
}

std::vector<FakeStreamRecord> FakeSoundOutput::Streams() const {
  const std::lock_guard lock(mutex_);
  return records_;
}

std::size_t FakeSoundOutput::OpenCount() const {
  const std::lock_guard lock(mutex_);
  return records_.size();
}

bool FakeSoundOutput::WaitFor(
    const std::function<bool(const std::vector<FakeStreamRecord>&)>& ready,
    std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return ready(records_); });
}

}  // namespace vorlindy::testing
