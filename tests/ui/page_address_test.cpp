#include "ui/page_address.h"

#include <gtest/gtest.h>

namespace vorlindy {
namespace {

TEST(PageAddressTest, CompletesAsAnAddressBarWould) {
  struct Case {
    const char* typed;
    const char* loaded;
  };
  const Case cases[] = {
      {"", "about:blank"},
      {"   ", "about:blank"},
      {"example.com", "http://example.com/"},
      {" example.com/a?b=1 ", "http://example.com/a?b=1"},
      {"127.0.0.1:8080/x", "http://127.0.0.1:8080/x"},
      {"localhost:8080", "http://localhost:8080/"},
      {"http://example.com/x", "http://example.com/x"},
      {"HTTPS://Example.com", "HTTPS://Example.com"},
      {"file:///tmp/a.html", "file:///tmp/a.html"},
      {"/tmp/my page.html", "file:///tmp/my%20page.html"},
      {"about:blank", "about:blank"},
      {"data:text/html,hi", "data:text/html,hi"},
      {"C:\\pages\\a.html", "file:///C:/pages/a.html"},
      {"//example.com/x", "http://example.com/x"},
      {"例子.中国", "http://例子.中国/"},
  };
  for (const Case& c : cases) EXPECT_EQ(CompletePageAddress(c.typed), c.loaded) << c.typed;
}

}  // namespace
}  // namespace vorlindy
