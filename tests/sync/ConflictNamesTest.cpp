#include <gtest/gtest.h>

#include "sync/ConflictNames.h"

namespace kzm {
namespace {

TEST(ConflictNames, EachEngineNamesItsCopiesItsOwnWay) {
  struct TCase {
    const char* name;
    const char* original;  // null: no conflict copy
    const char* made;
  };
  const TCase cases[] = {
      {"202405.sync-conflict-20240512-093011-ABCDEF7.kzm", "202405.kzm", "20240512093011"},
      {"Budget.sync-conflict-20240512-093011-7Q2LZ4X.csv", "Budget.csv", "20240512093011"},
      {"Headfile.sync-conflict-20240101-000000-AAAAAAA", "Headfile", "20240101000000"},
      {"202405 (conflicted copy 2024-05-12 093011).kzm", "202405.kzm", "20240512093011"},
      {"Budget (PC-2's conflicted copy 2024-05-12).csv", "Budget.csv", "20240512000000"},
      {"nbkr (conflicted copy 2024-05-12).ini", "nbkr.ini", "20240512000000"},
      {"202405.kzm", nullptr, nullptr},
      {"202405.sync-conflict-2024051-093011-ABCDEF7.kzm", nullptr, nullptr},  // a digit short
      {"202405.sync-conflict-20240512-093011-.kzm", nullptr, nullptr},        // no device
      {"202405.sync-conflict-20240512-093011-abc.kzm", nullptr, nullptr},     // not a device id
      {".sync-conflict-20240512-093011-ABCDEF7.kzm", nullptr, nullptr},       // no name before it
      {"202405 (conflicted copy).kzm", nullptr, nullptr},
      {"202405 (conflicted copy 2024-05-12 0930).kzm", nullptr, nullptr},
      {"202405 (my conflicted copy 2024-05-12)x.kzm", nullptr, nullptr},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string original;
    std::string made;
    ASSERT_EQ(ParseConflictName(c.name, original, made), c.original != nullptr);
    if (!c.original) continue;
    EXPECT_EQ(original, c.original);
    EXPECT_EQ(made, c.made);
  }
}

}  // namespace
}  // namespace kzm
