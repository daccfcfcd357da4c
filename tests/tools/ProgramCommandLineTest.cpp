// The program's own command line, read before Qt starts.
#include "CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace kzm {
namespace {

TCommandLine Read(std::vector<const char*> args) {
  args.insert(args.begin(), "tavimrok");
  return ReadCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(ProgramCommandLine, Actions) {
  struct Case {
    std::vector<const char*> args;
    TStartAction action;
    const char* dataFolder;
  };
  const Case cases[] = {
      {{}, TStartAction::saRun, ""},
      {{"--data-folder", "/tmp/x"}, TStartAction::saRun, "/tmp/x"},
      {{"--data-folder=/tmp/y"}, TStartAction::saRun, "/tmp/y"},
      {{"--self-check", "--data-folder", "/tmp/x"}, TStartAction::saSelfCheck, "/tmp/x"},
      // Help and version never start anything, wherever they stand and whatever else is wrong.
      {{"--self-check", "--help"}, TStartAction::saHelp, ""},
      {{"--nonsense", "-h"}, TStartAction::saHelp, ""},
      {{"-v", "--self-check"}, TStartAction::saVersion, ""},
      // Qt's options, with one dash or two, and their values, are left for Qt.
      {{"-platform", "offscreen", "--data-folder", "/d"}, TStartAction::saRun, "/d"},
      {{"--style", "--fusion-like", "-reverse"}, TStartAction::saRun, ""},
      {{"--style=fusion", "--widgetcount"}, TStartAction::saRun, ""},
      // The folder is not taken for an option's value when it is missing.
      {{"--data-folder"}, TStartAction::saMistake, ""},
      {{"--data-folder="}, TStartAction::saMistake, ""},
      {{"--self-check", "--data-folder"}, TStartAction::saMistake, ""},
      // A misspelt option must not start the program on the default data folder.
      {{"--data-foldr", "/tmp/x"}, TStartAction::saMistake, ""},
  };
  for (const Case& c : cases) {
    std::string name;
    for (const char* arg : c.args) name += std::string(arg) + " ";
    SCOPED_TRACE(name);
    const TCommandLine line = Read(c.args);
    EXPECT_EQ(line.action, c.action);
    if (c.action != TStartAction::saMistake) {
      EXPECT_EQ(line.dataFolder, c.dataFolder);
    }
    if (c.action == TStartAction::saMistake) {
      EXPECT_NE(line.error.find("tavimrok --help"), std::string::npos);
    } else if (c.action != TStartAction::saHelp) {
      EXPECT_EQ(line.error, "");
    }
  }
}

TEST(ProgramCommandLine, TextsAreJapaneseAndName) {
  EXPECT_NE(HelpText().find("使い方: tavimrok"), std::string::npos);
  EXPECT_NE(HelpText().find("--data-folder"), std::string::npos);
  EXPECT_NE(HelpText().find("Orvik/もるぽ通帳"), std::string::npos);
  EXPECT_EQ(HelpText().find("Usage"), std::string::npos);
  EXPECT_EQ(VersionText(), std::string("もるぽ通帳 (tavimrok) ") + KZM_VERSION + "\n");
}

}  // namespace
}  // namespace kzm
