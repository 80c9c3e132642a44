#pragma once
// The platform's event suppression: while it is raised no handler of the
// program runs, and an event that arrives then is dropped, not kept for later.
// Raised while the main window is being built, and for good once the end
// processing has begun. Touched on the GUI thread only.

namespace vorlindy {

class EventGate {
 public:
  void Raise() { ++count_; }
  void Lower() {
    if (count_ > 0) --count_;
  }
  bool IsOpen() const { return count_ == 0; }

 private:
  unsigned count_ = 0;
};

}  // namespace vorlindy
