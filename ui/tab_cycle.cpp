#include "ui/tab_cycle.h"

#include <algorithm>

namespace vorlindy {

std::vector<std::string> TabCycle(const WindowDesign& design) {
  std::vector<const ControlDesign*> members;
  for (auto it = design.controls.rbegin(); it != design.controls.rend(); ++it) {
    const bool can_focus = it->kind != ControlKind::Timer && it->kind != ControlKind::Label;
    if (can_focus && it->shown && it->tab_stop) members.push_back(&*it);
  }
  std::stable_sort(
      members.begin(), members.end(),
      [](const ControlDesign* a, const ControlDesign* b) { return a->tab_key < b->tab_key; });
  std::vector<std::string> names;
  for (const ControlDesign* member : members) names.push_back(member->name);
  return names;
}

std::string NextInCycle(const std::vector<std::string>& cycle, const std::string& from,
                        bool forward) {
  const auto at = std::find(cycle.begin(), cycle.end(), from);
  if (at == cycle.end()) return from;
  const std::size_t index = static_cast<std::size_t>(at - cycle.begin());
  const std::size_t n = cycle.size();
  return cycle[forward ? (index + 1) % n : (index + n - 1) % n];
}

}  // namespace vorlindy
