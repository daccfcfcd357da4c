#include "foundation/ProfileList.h"

#include "common/TempFolder.h"

#include <gtest/gtest.h>

namespace kzm {
namespace {

using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;

TEST(ProfileList, ParsesSectionsKeysAndSkipsTheRest) {
  TprofileList list;
  list.LoadFromText(
      "top=1\r\n"
      "  [ date ]  \n"
      "Key = Value = 2 \r"
      "; comment=x\n"
      "no equals sign\n"
      "\n"
      "[Other]\r\n"
      "key=other\r\n"
      "[broken\n"
      "key=dup\n");
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Sections(0), "");
  EXPECT_EQ(list.Strings(1), "key");
  EXPECT_EQ(list.Sections(1), "DATE");
  EXPECT_EQ(list.ReadString("Date", "KEY", "-"), "Value = 2");
  EXPECT_EQ(list.ReadString("other", "key", "-"), "other");  // "[broken" is no section line
  EXPECT_EQ(list.ReadInteger("", "top", 9), 1);
  EXPECT_EQ(list.ReadString("nothing", "key", "fallback"), "fallback");
  EXPECT_EQ(list.Count(), 4);  // a miss adds nothing
}

TEST(ProfileList, TypedReadsCacheTheirType) {
  struct Case {
    const char* text;
    bool asBool;
    const char* saved;  // the value written back after ReadBool
  };
  const Case cases[] = {
      {"True", true, "True"}, {"TRUE", true, "TRUE"}, {"1", true, "1"}, {"-7", true, "-7"},
      {"yes", false, "0"},    {"false", false, "0"},  {"0", false, "0"}, {"", false, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TprofileList list;
    list.LoadFromText(std::string("[S]\r\nflag=") + c.text + "\r\n");
    EXPECT_EQ(list.ReadBool("s", "flag", !c.asBool), c.asBool);
    EXPECT_EQ(list.MergeInto(""), std::string("[S]\r\nflag=") + c.saved + "\r\n");
  }
  TprofileList list;
  list.LoadFromText("[S]\nn=12x\nt=42\n");
  EXPECT_EQ(list.ReadInteger("S", "n", 5), 0);
  EXPECT_EQ(list.ReadString("S", "n", ""), "12x");  // the other cached field, unchanged
  EXPECT_EQ(list.ReadString("S", "t", ""), "42");
  EXPECT_EQ(list.ReadInteger("S", "t", 5), 0);      // read as text first: integer never set
}

TEST(ProfileList, WritesFindOrAppend) {
  TprofileList list;
  list.WriteString("Startup", "LastProfile", "/data/通帳1");
  list.WriteInteger("GRID1", "0", 120);
  list.WriteBool("startup", "selection", true);
  list.WriteInteger("STARTUP", "LASTPROFILE", 3);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.ReadInteger("startup", "lastprofile", 0), 3);
  EXPECT_TRUE(list.ReadBool("STARTUP", "SELECTION", false));
  EXPECT_EQ(list.MergeInto(""), "[STARTUP]\r\nlastprofile=3\r\nselection=1\r\n[GRID1]\r\n0=120\r\n");
}

TEST(ProfileList, SaveMergesIntoTheFile) {
  TTempFolder dir;
  const std::string path = dir.File("nbkr.ini");
  // 通帳 in Shift-JIS, a key the list will not hold, a comment, a duplicate key.
  WriteBytes(path,
             "; settings\r\n"
             "[Data]\r\n"
             "Name=\x92\xCA\x92\xA0\r\n"
             "Keep=me\r\n"
             "name=second\r\n"
             "\r\n"
             "[Other]\r\n"
             "x=1\r\n");
  TprofileList list;
  ASSERT_TRUE(list.LoadFromFile(path));
  EXPECT_EQ(list.ReadString("DATA", "NAME", ""), "通帳");
  list.WriteString("data", "name", "家計");
  list.WriteInteger("data", "new", 7);
  list.WriteString("fresh", "k", "v");
  std::string error;
  ASSERT_TRUE(list.SaveToFile(path, &error)) << error;
  EXPECT_EQ(ReadBytes(path),
            "; settings\r\n"
            "[Data]\r\n"
            "Name=\x89\xC6\x8C\x76\r\n"
            "Keep=me\r\n"
            "name=second\r\n"
            "new=7\r\n"
            "\r\n"
            "[Other]\r\n"
            "x=1\r\n"
            "[FRESH]\r\n"
            "k=v\r\n");
  TprofileList again;
  again.LoadFromFile(path);
  EXPECT_EQ(again.ReadString("data", "name", ""), "家計");
}

TEST(ProfileList, MissingFilesAndFailedSaves) {
  TTempFolder dir;
  TprofileList list;
  list.WriteString("A", "b", "c");
  EXPECT_FALSE(list.LoadFromFile(dir.File("missing.ini")));
  EXPECT_EQ(list.Count(), 0);
  list.WriteString("A", "b", "c");
  EXPECT_TRUE(list.SaveToFile(""));
  std::string error;
  EXPECT_FALSE(list.SaveToFile(dir.File("no/folder.ini"), &error));
  EXPECT_FALSE(error.empty());
  list.WriteString("A", "b", "絵文字😀");
  const std::string path = dir.File("x.ini");
  WriteBytes(path, "[A]\r\nb=old\r\n");
  EXPECT_FALSE(list.SaveToFile(path, &error));
  EXPECT_NE(error.find("😀"), std::string::npos);
  EXPECT_EQ(ReadBytes(path), "[A]\r\nb=old\r\n");
}

TEST(ProfileList, LineBreaksInValuesCannotInjectKeys) {
  TprofileList list;
  list.WriteString("A", "b", "one\r\n[B]\r\nc=two");
  TprofileList back;
  back.LoadFromText(list.MergeInto(""));
  EXPECT_EQ(back.Count(), 1);
  EXPECT_EQ(back.ReadString("A", "b", ""), "one  [B]  c=two");
}

}  // namespace
}  // namespace kzm
