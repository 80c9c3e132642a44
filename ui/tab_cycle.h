#pragma once
// The order in which Tab and Enter move the focus through the window's controls.

#include <string>
#include <vector>

#include "ui/window_design.h"

namespace vorlindy {

// The controls that are shown, can take the focus (timers and labels never do)
// and are tab stops, ordered by tab key; equal keys follow reverse design order.
std::vector<std::string> TabCycle(const WindowDesign& design);

// The control after (forward) or before the given one, wrapping around; the
// given name itself when it is not in the cycle or the cycle is empty.
std::string NextInCycle(const std::vector<std::string>& cycle, const std::string& from,
                        bool forward);

}  // namespace vorlindy
