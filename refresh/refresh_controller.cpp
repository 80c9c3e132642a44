#include "refresh/refresh_controller.h"

#include "refresh/interval.h"

namespace vorlindy {

void OnStartClicked(RefreshView& view) {
  double number = 0.0;
  {
    // The empty box converts as the empty text; the read text is released
    // before anything is written.
    const Text interval = view.ReadText(EditBoxName::编辑框2);
    number = NumberFromText(interval ? interval->c_str() : "");
  }
  view.SetTimerPeriod(PeriodFromNumber(number));
}

void OnStopClicked(RefreshView& view) { view.SetTimerPeriod(0); }

void OnRefreshTick(RefreshView& view) {
  const Text address = view.ReadText(EditBoxName::编辑框1);
  view.SetPageAddress(address);
}

}  // namespace vorlindy
