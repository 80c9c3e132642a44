// The window design document: the one the program carries holds the window's
// designed values, and a malformed document is refused with the line named.

#include "ui/design_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <variant>

#include "ui/design_document.h"

namespace vorlindy {
namespace {

WindowDesign ShippedDesign() {
  const std::string_view text(reinterpret_cast<const char*>(kMainWindowDesign.data()),
                              kMainWindowDesign.size());
  auto result = ReadWindowDesign(text);
  if (auto* error = std::get_if<DesignError>(&result)) ADD_FAILURE() << error->message;
  return std::get<WindowDesign>(result);
}

TEST(DesignReaderTest, ShippedDesignHoldsTheWindowAsDesigned) {
  const WindowDesign w = ShippedDesign();
  EXPECT_EQ(w.title, "Vorlindy");
  EXPECT_EQ(w.rect, (Rect{50, 50, 435, 291}));
  EXPECT_EQ(w.background, (Colour{163, 139, 154}));
  EXPECT_TRUE(w.maximize_box);
  EXPECT_FALSE(w.minimize_box);
  EXPECT_TRUE(w.enter_moves_focus);
  EXPECT_FALSE(w.esc_closes);
  EXPECT_TRUE(w.drag_by_client_area);
  EXPECT_EQ(w.music, MusicMode::Once);

  struct Expected {
    const char* name;
    ControlKind kind;
    Rect rect;
    const char* text;
    bool tab_stop;
    const char* handler;
  };
  const Expected controls[] = {
      {"时钟2", ControlKind::Timer, {0, 88, 104, 48}, "", false, "OnRefreshTick"},
      {"超文本浏览框1", ControlKind::HtmlViewer, {-8, 0, 432, 176}, "", true, ""},
      {"时钟1", ControlKind::Timer, {24, 16, 104, 48}, "", false, ""},
      {"标签1", ControlKind::Label, {154, 186, 46, 41}, "刷新地址", false, ""},
      {"按钮2", ControlKind::Button, {336, 226, 80, 32}, "停止", true, "OnStopClicked"},
      {"按钮1", ControlKind::Button, {241, 227, 80, 32}, "开始", true, "OnStartClicked"},
      {"标签2", ControlKind::Label, {285, 185, 51, 41}, "刷新频率", false, ""},
      {"编辑框2", ControlKind::EditBox, {216, 187, 56, 32}, "1000", true, ""},
      {"编辑框1", ControlKind::EditBox, {4, 188, 136, 32}, "", true, ""},
  };
  ASSERT_EQ(w.controls.size(), std::size(controls));
  for (std::size_t i = 0; i < w.controls.size(); ++i) {
    const ControlDesign& c = w.controls[i];
    SCOPED_TRACE(controls[i].name);
    EXPECT_EQ(c.name, controls[i].name);
    EXPECT_EQ(c.kind, controls[i].kind);
    EXPECT_EQ(c.rect, controls[i].rect);
    EXPECT_EQ(c.text, controls[i].text);
    EXPECT_EQ(c.tab_stop, controls[i].tab_stop);
    EXPECT_EQ(c.event_handler, controls[i].handler);
    EXPECT_EQ(c.shown, c.kind != ControlKind::Timer);
  }
  EXPECT_EQ(w.Find("时钟2")->period, 1000);
  EXPECT_EQ(w.Find("时钟1")->period, 1000);
  const ControlDesign& pane = *w.Find("超文本浏览框1");
  EXPECT_EQ(pane.font_size, 2);
  EXPECT_FALSE(pane.offline);
  EXPECT_TRUE(pane.silent);
  EXPECT_EQ(pane.address, "");
  EXPECT_EQ(w.Find("标签1")->text_colour, (Colour{216, 216, 0}));
  EXPECT_EQ(w.Find("标签2")->text_colour, (Colour{128, 0, 128}));
  EXPECT_EQ(w.Find("编辑框2")->input, InputMode::DigitEntry);
  EXPECT_EQ(w.Find("编辑框1")->input, InputMode::AnyText);
  EXPECT_EQ(w.Find("编辑框1")->background, (Colour{255, 255, 255}));
}

TEST(DesignReaderTest, MalformedDocumentsNameTheLine) {
  struct Case {
    const char* document;
    int line;
    const char* says;
  };
  const Case cases[] = {
      {"", 1, "no window record"},
      {"control 编辑框1 EditBox\n  rect = 0 0 1 1\n", 1, "before the window"},
      {"window\n  rect = 1 2 3\n", 2, "needs 4 integers"},
      {"window\n  rect = 1 2 3 x\n", 2, "not an integer"},
      {"window\n  rect = 1 2 -3 4\n", 2, "negative"},
      {"window\n  rect = 1 2 3 4\n  background = 1 2 300\n", 3, "0 to 255"},
      {"window\n  rect = 1 2 3 4\n  colour = 1 2 3\n", 3, "unknown setting"},
      {"window\n  rect = 1 2 3 4\n  rect = 1 2 3 4\n", 3, "twice"},
      {"window\n  rect = 1 2 3 4\n  maximize-box = maybe\n", 3, "yes or no"},
      {"window\n  rect = 1 2 3 4\ncontrol a Gauge\n", 3, "unknown control kind"},
      {"window\n  rect = 1 2 3 4\ncontrol a Label\n  rect = 0 0 1 1\ncontrol a Label\n", 5,
       "second control"},
      {"window\n  rect = 1 2 3 4\ncontrol a Label\n  period = 5\n", 4, "unknown setting"},
      {"window\n  rect = 1 2 3 4\ncontrol a Label\ncontrol b Label\n", 4, "no rect"},
      {"window\n  rect = 1 2 3 4\ncontrol a Timer\n  rect = 0 0 1 1\n  period = 99999999999\n", 5,
       "not an integer"},
      {"window\n  rect = 1 2 3 4\n  title\n", 3, "key = value"},
      {"  title = x\n", 1, "outside any record"},
      {"window\n  rect = 1 2 3 4\nwindow\n", 3, "second window"},
      {"window\nwindow\n", 2, "no rect"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.document);
    const auto result = ReadWindowDesign(c.document);
    const auto* error = std::get_if<DesignError>(&result);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->line, c.line) << error->message;
    EXPECT_NE(error->message.find("line " + std::to_string(c.line) + ":"), std::string::npos);
    EXPECT_NE(error->message.find(c.says), std::string::npos) << error->message;
  }
}

TEST(DesignReaderTest, CommentsBlankLinesAndEmptyValuesAreAccepted) {
  const auto result = ReadWindowDesign(
      "# a comment\n\nwindow\n  title =\n  rect = 0 0 10 10\n  background = 0 0 0\n"
      "control 编辑框1 EditBox\n  rect = 1 1 5 5\n  text =\n");
  ASSERT_TRUE(std::holds_alternative<WindowDesign>(result));
  const WindowDesign& w = std::get<WindowDesign>(result);
  EXPECT_EQ(w.title, "");
  ASSERT_EQ(w.controls.size(), 1u);
  EXPECT_EQ(w.controls[0].line, 7);
}

}  // namespace
}  // namespace vorlindy
