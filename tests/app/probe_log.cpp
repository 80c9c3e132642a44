// The test build's observation points: one line per event, with steady-clock
// microseconds, appended to the file named by VORLINDY_PROBE_LOG (nothing when
// it is unset). Writes are unbuffered so a killed process loses no line.

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "ui/probe.h"

namespace vorlindy {

namespace {

int LogDescriptor() {
  static const int fd = [] {
    const char* path = std::getenv("VORLINDY_PROBE_LOG");
    return path == nullptr ? -1 : ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  }();
  return fd;
}

}  // namespace

void Probe(std::string_view event, std::string_view argument) {
  static std::mutex lock;  // playback threads may probe too
  const int fd = LogDescriptor();
  if (fd < 0) return;
  const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
  std::string line = std::to_string(micros) + " " + std::string(event);
  if (!argument.empty()) line += " " + std::string(argument);
  line += "\n";
  const std::lock_guard<std::mutex> guard(lock);
  const ssize_t written = ::write(fd, line.data(), line.size());
  (void)written;
}

}  // namespace vorlindy
