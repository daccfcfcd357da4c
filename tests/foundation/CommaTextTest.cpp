// Comma texts as a string list reads them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/CommaText.h"

namespace kzm {
namespace {

TEST(CommaTextTest, SplitsLikeAStringList) {
  struct TCase {
    const char* text;
    std::vector<std::string> parts;
  };
  const TCase cases[] = {
      {"ラッキー__\\n__カラーは,赤", {"ラッキー__\\n__カラーは", "赤"}},
      {"a b,c", {"a", "b", "c"}},
      {"  a , b ", {"a", "b"}},
      {"a,,b,", {"a", "", "b", ""}},
      {"\"x, \"\"y\"\"\",z", {"x, \"y\"", "z"}},
      {"", {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SplitCommaText(c.text), c.parts);
  }
}

}  // namespace
}  // namespace kzm
