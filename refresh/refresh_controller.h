#pragma once
// The program's event handlers. They keep no state: whether and how often the
// page is refreshed is the refresh timer's period, and which page is whatever
// the address box holds at each tick.

#include "refresh/refresh_view.h"

namespace vorlindy {

// Start: the interval box's text becomes the refresh timer's period.
void OnStartClicked(RefreshView& view);

// Stop: the refresh timer's period becomes 0; the pane keeps its page.
void OnStopClicked(RefreshView& view);

// Each tick of the refresh timer hands the address box's current text to the
// browser pane, also when it is the address already shown.
void OnRefreshTick(RefreshView& view);

}  // namespace vorlindy
