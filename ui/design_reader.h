#pragma once
// Reads the window design document: a small line-oriented text.
//
//   # comment
//   window
//     title = Vorlindy
//     rect = 50 50 435 291
//   control 编辑框1 EditBox
//     rect = 4 188 136 32
//
// A header line ("window" or "control <name> <kind>") starts a record; the
// indented "key = value" lines that follow belong to it. Every key must be known
// for the record's kind, and every value well formed: anything else makes the
// whole document unreadable, with a message that names the line.

#include <string>
#include <string_view>
#include <variant>

#include "ui/window_design.h"

namespace vorlindy {

struct DesignError {
  int line = 0;
  std::string message;  // "line 12: rect needs four integers"
};

std::variant<WindowDesign, DesignError> ReadWindowDesign(std::string_view document);

}  // namespace vorlindy
