#pragma once
// The window design document compiled into the program (UTF-8 text). The
// shipped program carries ui/main_window.design; the test build that checks a
// broken design carries another document under the same name.

#include <span>

namespace vorlindy {

extern const std::span<const unsigned char> kMainWindowDesign;

}  // namespace vorlindy
