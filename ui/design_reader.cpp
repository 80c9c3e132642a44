#include "ui/design_reader.h"

#include <charconv>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

namespace vorlindy {

const ControlDesign* WindowDesign::Find(const std::string& name) const {
  for (const ControlDesign& control : controls) {
    if (control.name == name) return &control;
  }
  return nullptr;
}

namespace {

struct Failure {
  std::string message;
};

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

std::vector<int> Integers(std::string_view value, std::size_t count, const std::string& key) {
  const std::vector<std::string_view> words = Words(value);
  std::vector<int> numbers;
  for (std::string_view word : words) {
    int n = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), n);
    if (error != std::errc() || end != word.data() + word.size()) {
      throw Failure{key + " has a value that is not an integer: '" + std::string(word) + "'"};
    }
    numbers.push_back(n);
  }
  if (numbers.size() != count) {
    throw Failure{key + " needs " + std::to_string(count) + " integer" + (count == 1 ? "" : "s")};
  }
  return numbers;
}

int Integer(std::string_view value, const std::string& key) { return Integers(value, 1, key)[0]; }

Rect RectFrom(std::string_view value, const std::string& key) {
  const std::vector<int> n = Integers(value, 4, key);
  if (n[2] < 0 || n[3] < 0) throw Failure{key + " has a negative width or height"};
  return Rect{n[0], n[1], n[2], n[3]};
}

Colour ColourFrom(std::string_view value, const std::string& key) {
  const std::vector<int> n = Integers(value, 3, key);
  for (int c : n) {
    if (c < 0 || c > 255) throw Failure{key + " needs three values from 0 to 255"};
  }
  return Colour{static_cast<std::uint8_t>(n[0]), static_cast<std::uint8_t>(n[1]),
                static_cast<std::uint8_t>(n[2])};
}

bool BoolFrom(std::string_view value, const std::string& key) {
  if (value == "yes") return true;
  if (value == "no") return false;
  throw Failure{key + " must be yes or no"};
}

std::optional<ControlKind> KindFrom(std::string_view word) {
  static const std::map<std::string_view, ControlKind> kinds = {
      {"Timer", ControlKind::Timer},
      {"HtmlViewer", ControlKind::HtmlViewer},
      {"Label", ControlKind::Label},
      {"Button", ControlKind::Button},
      {"EditBox", ControlKind::EditBox}};
  const auto found = kinds.find(word);
  if (found == kinds.end()) return std::nullopt;
  return found->second;
}

using Setter = std::function<void(std::string_view value, const std::string& key)>;

std::map<std::string, Setter> WindowKeys(WindowDesign& w) {
  return {
      {"title", [&w](std::string_view v, const std::string&) { w.title = std::string(v); }},
      {"rect", [&w](std::string_view v, const std::string& k) { w.rect = RectFrom(v, k); }},
      {"background",
       [&w](std::string_view v, const std::string& k) { w.background = ColourFrom(v, k); }},
      {"maximize-box",
       [&w](std::string_view v, const std::string& k) { w.maximize_box = BoolFrom(v, k); }},
      {"minimize-box",
       [&w](std::string_view v, const std::string& k) { w.minimize_box = BoolFrom(v, k); }},
      {"enter-moves-focus",
       [&w](std::string_view v, const std::string& k) { w.enter_moves_focus = BoolFrom(v, k); }},
      {"esc-closes",
       [&w](std::string_view v, const std::string& k) { w.esc_closes = BoolFrom(v, k); }},
      {"drag-by-client-area",
       [&w](std::string_view v, const std::string& k) { w.drag_by_client_area = BoolFrom(v, k); }},
      {"music",
       [&w](std::string_view v, const std::string& k) {
         if (v == "once") {
           w.music = MusicMode::Once;
         } else if (v == "loop") {
           w.music = MusicMode::Loop;
         } else if (v == "off") {
           w.music = MusicMode::Off;
         } else {
           throw Failure{k + " must be once, loop or off"};
         }
       }},
  };
}

std::map<std::string, Setter> ControlKeys(ControlDesign& c) {
  std::map<std::string, Setter> keys = {
      {"rect", [&c](std::string_view v, const std::string& k) { c.rect = RectFrom(v, k); }},
      {"shown", [&c](std::string_view v, const std::string& k) { c.shown = BoolFrom(v, k); }},
      {"tab-stop", [&c](std::string_view v, const std::string& k) { c.tab_stop = BoolFrom(v, k); }},
      {"tab-key", [&c](std::string_view v, const std::string& k) { c.tab_key = Integer(v, k); }},
  };
  const auto text = [&c](std::string_view v, const std::string&) { c.text = std::string(v); };
  const auto colours = [&](void) {
    keys["text-colour"] = [&c](std::string_view v, const std::string& k) {
      c.text_colour = ColourFrom(v, k);
    };
    keys["background"] = [&c](std::string_view v, const std::string& k) {
      c.background = ColourFrom(v, k);
    };
  };
  const auto handler = [&c](std::string_view v, const std::string&) {
    c.event_handler = std::string(v);
  };
  switch (c.kind) {
    case ControlKind::Timer:
      keys["period"] = [&c](std::string_view v, const std::string& k) { c.period = Integer(v, k); };
      keys["tick"] = handler;
      break;
    case ControlKind::HtmlViewer:
      keys["字体大小"] = [&c](std::string_view v, const std::string& k) {
        c.font_size = Integer(v, k);
      };
      keys["离线浏览"] = [&c](std::string_view v, const std::string& k) {
        c.offline = BoolFrom(v, k);
      };
      keys["静默"] = [&c](std::string_view v, const std::string& k) { c.silent = BoolFrom(v, k); };
      keys["地址"] = [&c](std::string_view v, const std::string&) { c.address = std::string(v); };
      break;
    case ControlKind::Label:
      keys["text"] = text;
      colours();
      break;
    case ControlKind::Button:
      keys["text"] = text;
      keys["click"] = handler;
      break;
    case ControlKind::EditBox:
      keys["text"] = text;
      colours();
      keys["input"] = [&c](std::string_view v, const std::string& k) {
        if (v == "any") {
          c.input = InputMode::AnyText;
        } else if (v == "digits") {
          c.input = InputMode::DigitEntry;
        } else {
          throw Failure{k + " must be any or digits"};
        }
      };
      break;
  }
  return keys;
}

}  // namespace

std::variant<WindowDesign, DesignError> ReadWindowDesign(std::string_view document) {
  WindowDesign design;
  bool window_seen = false;
  std::set<std::string> given;  // keys given in the current record
  std::map<std::string, Setter> keys;
  std::set<std::string> names;
  int line_number = 0;

  // Checks what the record that just ended must have.
  const auto finish_record = [&]() {
    if (!keys.empty() && !given.count("rect"))
      throw Failure{"the record that ends here has no rect"};
  };

  try {
    std::size_t pos = 0;
    while (pos <= document.size()) {
      std::size_t end = document.find('\n', pos);
      if (end == std::string_view::npos) end = document.size();
      const std::string_view raw = document.substr(pos, end - pos);
      pos = end + 1;
      ++line_number;

      if (raw.find('\0') != std::string_view::npos) throw Failure{"the line holds a NUL byte"};
      const std::string_view line = Trim(raw);
      if (line.empty() || line.front() == '#') continue;

      const bool indented = raw.front() == ' ' || raw.front() == '\t';
      if (!indented) {
        finish_record();
        given.clear();
        const std::vector<std::string_view> words = Words(line);
        if (words.size() == 1 && words[0] == "window") {
          if (window_seen) throw Failure{"a second window record"};
          if (!design.controls.empty()) throw Failure{"the window record must come first"};
          window_seen = true;
          keys = WindowKeys(design);
        } else if (words.size() == 3 && words[0] == "control") {
          if (!window_seen) throw Failure{"a control before the window record"};
          const std::optional<ControlKind> kind = KindFrom(words[2]);
          if (!kind) throw Failure{"unknown control kind '" + std::string(words[2]) + "'"};
          const std::string name(words[1]);
          if (!names.insert(name).second) throw Failure{"a second control named " + name};
          ControlDesign& control = design.controls.emplace_back();
          control.name = name;
          control.kind = *kind;
          control.line = line_number;
          keys = ControlKeys(design.controls.back());
        } else {
          throw Failure{"expected 'window' or 'control <name> <kind>'"};
        }
        continue;
      }

      if (keys.empty()) throw Failure{"a setting outside any record"};
      const std::size_t equals = line.find('=');
      if (equals == std::string_view::npos) throw Failure{"expected 'key = value'"};
      const std::string key(Trim(line.substr(0, equals)));
      const std::string_view value = Trim(line.substr(equals + 1));
      const auto setter = keys.find(key);
      if (setter == keys.end()) throw Failure{"unknown setting '" + key + "'"};
      if (!given.insert(key).second) throw Failure{"'" + key + "' given twice"};
      setter->second(value, key);
    }
    finish_record();
    if (!window_seen) throw Failure{"no window record"};
  } catch (const Failure& failure) {
    return DesignError{line_number, "line " + std::to_string(line_number) + ": " + failure.message};
  }
  return design;
}

}  // namespace vorlindy
