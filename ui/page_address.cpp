#include "ui/page_address.h"

#include <array>
#include <cctype>

namespace vorlindy {

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// "scheme:" at the start: a letter, then letters, digits, '+', '-' or '.'.
std::string_view SchemeOf(std::string_view s) {
  if (s.empty() || !IsAsciiAlpha(s[0])) return {};
  std::size_t i = 1;
  while (i < s.size() && (IsAsciiAlpha(s[i]) || std::isdigit(static_cast<unsigned char>(s[i])) ||
                          s[i] == '+' || s[i] == '-' || s[i] == '.')) {
    ++i;
  }
  if (i >= s.size() || s[i] != ':') return {};
  return s.substr(0, i);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Schemes that never carry "//" but are complete addresses of their own.
bool IsOpaqueScheme(std::string_view scheme) {
  static constexpr std::array<std::string_view, 6> kSchemes = {
      "about", "data", "javascript", "mailto", "view-source", "blob"};
  for (std::string_view known : kSchemes) {
    if (EqualsIgnoringCase(scheme, known)) return true;
  }
  return false;
}

// Spaces are not allowed in a URL; a file path may hold them.
std::string EscapeForFileUrl(std::string_view path) {
  std::string out;
  for (char c : path) {
    if (c == ' ') {
      out += "%20";
    } else if (c == '%') {
      out += "%25";
    } else if (c == '#') {
      out += "%23";
    } else if (c == '?') {
      out += "%3F";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string CompletePageAddress(std::string_view address) {
  const std::string_view text = TrimBlanks(address);
  if (text.empty()) return "about:blank";

  // A Windows drive path, C:\dir or C:/dir, before the scheme test reads "C:" as one.
  if (text.size() >= 3 && IsAsciiAlpha(text[0]) && text[1] == ':' &&
      (text[2] == '\\' || text[2] == '/')) {
    std::string path(text);
    for (char& c : path) {
      if (c == '\\') c = '/';
    }
    return "file:///" + EscapeForFileUrl(path);
  }
  if (text.front() == '/') {
    if (text.size() > 1 && text[1] == '/') return "http:" + std::string(text);  // "//host/x"
    return "file://" + EscapeForFileUrl(text);
  }

  const std::string_view scheme = SchemeOf(text);
  if (!scheme.empty()) {
    const std::string_view rest = text.substr(scheme.size() + 1);
    if (rest.substr(0, 2) == "//" || IsOpaqueScheme(scheme)) return std::string(text);
    // "localhost:8080/x" reads as a scheme but is a host with a port.
    const bool port_follows = !rest.empty() && std::isdigit(static_cast<unsigned char>(rest[0]));
    if (!port_follows) return std::string(text);
  }

  // A bare host gets the root path, as the browser would show it.
  std::string url = "http://" + std::string(text);
  if (text.find_first_of("/?#") == std::string_view::npos) url += '/';
  return url;
}

}  // namespace vorlindy
