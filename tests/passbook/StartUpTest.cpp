#include "passbook/StartUp.h"

#include <gtest/gtest.h>

namespace kzm {
namespace {

TEST(ChooseStartupPassbook, FollowsTheCountOfPassbooksAndTheSettings) {
  const std::vector<std::string> none;
  const std::vector<std::string> one = {"/d/通帳1"};
  const std::vector<std::string> two = {"/d/Home", "/d/通帳2"};
  struct TCase {
    const char* name;
    const std::vector<std::string>* folders;
    bool selection;
    std::string last;
    TStartupAction action;
    std::string folder;
  } cases[] = {
      {"none", &none, false, "/d/x", TStartupAction::saNewPassbook, ""},
      {"one, selection set", &one, true, "", TStartupAction::saOpen, "/d/通帳1"},
      {"one, last names another", &one, false, "/d/gone", TStartupAction::saOpen, "/d/通帳1"},
      {"two, last found", &two, false, "/d/通帳2", TStartupAction::saOpen, "/d/通帳2"},
      {"two, last in other case", &two, false, "/D/HOME", TStartupAction::saOpen, "/d/Home"},
      {"two, last gone", &two, false, "/d/通帳3", TStartupAction::saSelect, ""},
      {"two, no last", &two, false, "", TStartupAction::saSelect, ""},
      {"two, selection set", &two, true, "/d/Home", TStartupAction::saSelect, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TStartupChoice choice = ChooseStartupPassbook(*c.folders, c.selection, c.last);
    EXPECT_EQ(choice.action, c.action);
    EXPECT_EQ(choice.folder, c.folder);
  }
}

}  // namespace
}  // namespace kzm
