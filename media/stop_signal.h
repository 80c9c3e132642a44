#pragma once
// A one-way "stop now" flag for one playback that a waiting thread can also
// watch with poll(), next to the sound device's own descriptors, so a stop
// wakes the playback at once instead of at its next time-out.

#include <atomic>

namespace vorlindy {

class StopSignal {
 public:
  StopSignal();  // throws std::system_error when no descriptor is left
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  // Safe from any thread, any number of times.
  void Raise();
  bool Raised() const { return raised_.load(std::memory_order_acquire); }

  // Becomes readable (POLLIN) once raised, and stays so.
  int Descriptor() const { return descriptor_; }

  // Sleeps until raised or until `timeout_ms` has passed; true if raised.
  bool WaitFor(int timeout_ms) const;

 private:
  std::atomic<bool> raised_{false};
  int descriptor_;
};

}  // namespace vorlindy
