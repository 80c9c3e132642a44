#include "media/stop_signal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace vorlindy {

StopSignal::StopSignal() : descriptor_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (descriptor_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

StopSignal::~StopSignal() { close(descriptor_); }

void StopSignal::Raise() {
  raised_.store(true, std::memory_order_release);
  // The counter is never read back, so it stays readable; a full counter
  // (EAGAIN) is readable too.
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(descriptor_, &one, sizeof one);
}

bool StopSignal::WaitFor(int timeout_ms) const {
  pollfd watch{descriptor_, POLLIN, 0};
  while (!Raised()) {
    const int ready = poll(&watch, 1, timeout_ms);
    if (ready == 0) return Raised();
    if (ready < 0 && errno != EINTR) return Raised();
  }
  return true;
}

}  // namespace vorlindy
