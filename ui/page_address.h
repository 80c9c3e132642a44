#pragma once
// What the browser pane loads for an address typed into the address box: an
// address with a scheme as it stands, the empty address as a blank page, an
// absolute file path as a file address, anything else as a web address, the
// way a browser's address bar completes it. Standard library only.

#include <string>
#include <string_view>

namespace vorlindy {

// The address is UTF-8; so is the result.
std::string CompletePageAddress(std::string_view address);

}  // namespace vorlindy
