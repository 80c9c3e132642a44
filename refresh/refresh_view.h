#pragma once
// The three operations through which the refresh controller reaches the
// window's controls. The main window supplies the real view; tests supply fakes.

#include <cstdint>
#include <optional>
#include <string>

namespace vorlindy {

// The two edit boxes the controller reads, by their names in the main window.
enum class EditBoxName { 编辑框1, 编辑框2 };

// A text read from a control: no text exactly when the control is empty,
// otherwise the reader's own copy in the program's code page. The copy is
// released when the value goes out of scope, on every path.
using Text = std::optional<std::string>;

class RefreshView {
 public:
  virtual ~RefreshView() = default;

  // The control's current text, the user's edits included.
  virtual Text ReadText(EditBoxName box) = 0;

  // Writes the Period of the refresh timer: a negative value counts as 0, an
  // unchanged value has no effect, 0 stops, a new positive value restarts the count.
  virtual void SetTimerPeriod(std::int32_t period) = 0;

  // Hands an address to the browser pane, which navigates there; no text is the
  // empty address. The pane copies what it keeps.
  virtual void SetPageAddress(const Text& address) = 0;
};

}  // namespace vorlindy
