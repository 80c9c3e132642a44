#include "ui/tab_cycle.h"

#include <gtest/gtest.h>

#include <string_view>
#include <variant>

#include "ui/design_document.h"
#include "ui/design_reader.h"

namespace vorlindy {
namespace {

TEST(TabCycleTest, ShippedWindowCyclesBoxesButtonsThenPane) {
  const std::string_view text(reinterpret_cast<const char*>(kMainWindowDesign.data()),
                              kMainWindowDesign.size());
  const WindowDesign design = std::get<WindowDesign>(ReadWindowDesign(text));
  const std::vector<std::string> cycle = TabCycle(design);
  EXPECT_EQ(cycle,
            (std::vector<std::string>{"编辑框1", "编辑框2", "按钮1", "按钮2", "超文本浏览框1"}));
  EXPECT_EQ(NextInCycle(cycle, "超文本浏览框1", true), "编辑框1");
  EXPECT_EQ(NextInCycle(cycle, "编辑框1", false), "超文本浏览框1");
  EXPECT_EQ(NextInCycle(cycle, "按钮1", true), "按钮2");
  EXPECT_EQ(NextInCycle(cycle, "标签1", true), "标签1") << "not in the cycle: stays";
}

TEST(TabCycleTest, TabKeysOrderFirstThenReverseDesignOrder) {
  WindowDesign design;
  const auto add = [&](const char* name, ControlKind kind, int key, bool shown, bool stop) {
    ControlDesign c;
    c.name = name;
    c.kind = kind;
    c.tab_key = key;
    c.shown = shown;
    c.tab_stop = stop;
    design.controls.push_back(c);
  };
  add("a", ControlKind::Button, 1, true, true);
  add("b", ControlKind::EditBox, 0, true, true);
  add("hidden", ControlKind::EditBox, 0, false, true);
  add("nostop", ControlKind::Button, 0, true, false);
  add("label", ControlKind::Label, 0, true, true);
  add("c", ControlKind::Button, 0, true, true);
  EXPECT_EQ(TabCycle(design), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(NextInCycle({}, "x", true), "x");
}

}  // namespace
}  // namespace vorlindy
