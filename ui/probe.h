#pragma once
// Observation points for the test build of the program. The shipped program
// links a version that does nothing; the test build writes each event, with a
// steady-clock time stamp, to a log that the GUI tests read back.

#include <string_view>

namespace vorlindy {

void Probe(std::string_view event, std::string_view argument = {});

}  // namespace vorlindy
