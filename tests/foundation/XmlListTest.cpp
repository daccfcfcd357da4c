#include "foundation/XmlList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "foundation/Utf16.h"
#include "common/TestPaths.h"

namespace kzm {
namespace {

using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;

constexpr const char* kUtf8Declaration = "<?xml version=\"\" encoding=\"utf-8\" ?>\r\n";

std::string Sjis(const std::string& utf8) {
  std::string bytes;
  EXPECT_TRUE(EncodeCp932(utf8, bytes));
  return bytes;
}

// The message of the parse error, or "" when the text parses.
std::string ParseError(const std::string& bytes) {
  TxmlList doc;
  try {
    doc.ParseText(bytes);
  } catch (const ExmlParseError& e) {
    return e.what();
  }
  return {};
}

TEST(XmlList, PathLookupCreatesMissingElements) {
  TxmlList doc;
  EXPECT_EQ(doc.Value("head/name"), "");
  ASSERT_EQ(doc.Count(), 1);
  EXPECT_EQ(doc.Items(0).TagName(), "head");
  ASSERT_EQ(doc.Items(0).Count(), 1);
  EXPECT_EQ(doc.Items(0).Items(0).TagName(), "name");
  EXPECT_EQ(doc.Items(0).Items(0).Count(), 0);
  EXPECT_EQ(doc.SaveToBytes(),
            "<?xml version=\"\" encoding=\"shift_jis\" ?>\r\n<data>\r\n\t<head>\r\n\t\t<name />\r\n"
            "\t</head>\r\n</data>\r\n");

  // Both separators work, names ignore case, a leading separator starts at the root.
  doc.SetValue("Head\\Kind", "x");
  TxmlList& head = doc.Node("head");
  EXPECT_EQ(head.Value("/HEAD/kind"), "x");
  EXPECT_EQ(head.Value(""), "x");
  EXPECT_EQ(doc.Count(), 1);
  EXPECT_EQ(head.Count(), 2);
  EXPECT_EQ(head.Items(1).Depth(), 2);
}

TEST(XmlList, DeclarationEncodingIsStoredInLowerCase) {
  TxmlList doc;
  doc.ParseText("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<Colors><A>1</A></Colors>\r\n");
  EXPECT_EQ(doc.Encoding(), "shift_jis");
  EXPECT_EQ(doc.Version(), "1.0");
  EXPECT_EQ(doc.TagName(), "colors");
  EXPECT_EQ(doc.Value("a"), "1");
  EXPECT_EQ(doc.SaveToBytes(),
            "<?xml version=\"1.0\" encoding=\"shift_jis\" ?>\r\n<colors>\r\n\t<a>1</a>\r\n</colors>\r\n");
}

TEST(XmlList, RootWithoutDeclaration) {
  struct TCase {
    const char* text;
    const char* rootName;
    const char* firstChild;
  };
  const TCase cases[] = {
      {"<list><a>1</a></list>", "list", "a"},
      {"<list><a>1</a></list>\r\n", "data", "list"},  // the trailing line break
      {"<a>1</a><b>2</b>", "data", "a"},
      {"plain text", "data", ""},
      {"", "data", nullptr},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    TxmlList doc;
    doc.ParseText(c.text);
    EXPECT_EQ(doc.TagName(), c.rootName);
    if (c.firstChild) {
      ASSERT_GE(doc.Count(), 1);
      EXPECT_EQ(doc.Items(0).TagName(), c.firstChild);
    } else {
      EXPECT_EQ(doc.Count(), 0);
    }
  }
}

TEST(XmlList, TextIsTrimmedEscapedAndDecodedOnce) {
  TxmlList doc;
  doc.SetValue("memo", "  a<b & 'c'  ");
  EXPECT_EQ(doc.Value("memo"), "a<b & 'c'");
  const std::string saved = doc.SaveToBytes();
  EXPECT_NE(saved.find("<memo>a&lt;b &amp; &apos;c&apos;</memo>\r\n"), std::string::npos) << saved;

  doc.ParseText("<data><x>&amp;lt;</x><y> a <b>b</b> c </y><z>   </z></data>");
  EXPECT_EQ(doc.Value("x"), "&lt;");
  EXPECT_EQ(doc.Value("y"), "abc");  // text runs are trimmed, descendants included
  EXPECT_EQ(doc.Node("z").Count(), 0);

  doc.SetValue("x", " \r\n ");
  EXPECT_EQ(doc.Node("x").Count(), 0);
}

TEST(XmlList, Attributes) {
  TxmlList doc;
  doc.ParseText(
      "<data><Holiday day= \"1\" Name=\"New Year&amp;Co\" month =  \"Jan\" empty=\"\"/>"
      "<b note=\"a b\"\tc=\"2\" /></data>");
  const TxmlList& holiday = doc.Items(0);
  EXPECT_EQ(holiday.TagName(), "holiday");
  EXPECT_EQ(holiday.Attribute("day"), "1");
  EXPECT_EQ(holiday.Attribute("NAME"), "new year&co");
  EXPECT_EQ(holiday.Attribute("month"), "jan");
  EXPECT_EQ(holiday.Attribute("empty"), "");
  EXPECT_EQ(holiday.Attribute("missing"), "");
  EXPECT_EQ(doc.Items(1).Attribute("note"), "a b");
  EXPECT_EQ(doc.Items(1).Attribute("c"), "2");
  EXPECT_EQ(doc.SaveToBytes(),
            "<?xml version=\"\" encoding=\"shift_jis\" ?>\r\n<data>\r\n"
            "\t<holiday day=\"1\" name=\"new year&amp;co\" month=\"jan\" empty=\"\" />\r\n"
            "\t<b note=\"a b\" c=\"2\" />\r\n</data>\r\n");
}

TEST(XmlList, MalformedTextsGiveTheirMessages) {
  struct TCase {
    const char* text;
    const char* message;
  };
  const TCase cases[] = {
      {"a > b <c/>", "解析できません"},
      {"<data><a>", "終了タグがありません\r\n<data>"},
      {"<data><a></b></data>", "終了タグがありません\r\n<a>"},
      // A child whose name extends its parent's counts as another opening of the parent.
      {"<head><headline>x</headline></head>", "終了タグがありません\r\n<head>"},
      {"<data><a day=1></a></data>", "属性指定が不正です\r\nday=1"},
      {"<data><a day></a></data>", "属性指定が不正です\r\nday"},
      {"<data><a day=\"1></a></data>", "属性指定が不正です\r\nday=\"1"},
      {"<?xml version=1 ?><data/>", "属性指定が不正です\r\nversion=1"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string message = ParseError(c.text);
    EXPECT_EQ(message.substr(0, std::string(c.message).size()), c.message) << message;
  }
}

TEST(XmlList, NestedElementsOfOneName) {
  TxmlList doc;
  doc.ParseText("<a><a><a>x</a></a><b/><c><a>y</a></c></a>");
  EXPECT_EQ(doc.TagName(), "a");
  ASSERT_EQ(doc.Count(), 3);
  EXPECT_EQ(doc.Items(0).Items(0).Value(""), "x");
  EXPECT_EQ(doc.Items(1).TagName(), "b");
}

TEST(XmlList, EncodingsOfTheDocument) {
  const std::string utf8Doc = std::string(kUtf8Declaration) + "<data><x>食費€</x></data>";
  struct TCase {
    const char* label;
    std::string bytes;
    const char* value;
  };
  const TCase cases[] = {
      {"utf-8", utf8Doc, "食費€"},
      {"utf-8 with a mark", "\xEF\xBB\xBF" + utf8Doc, "食費€"},
      {"utf-8n", "<?xml version=\"\" encoding=\"UTF-8N\" ?><data><x>食費</x></data>", "食費"},
      {"broken utf-8", std::string(kUtf8Declaration) + "<data><x>a\xFF</x></data>", "a\xEF\xBF\xBD"},
      {"cp932 declared", Sjis("<?xml version=\"\" encoding=\"shift_jis\" ?><data><x>食費</x></data>"), "食費"},
      {"cp932 undeclared", Sjis("<data><x>住居･光熱</x></data>"), "住居･光熱"},
      {"utf-16", "\xFF\xFE" + Utf8ToUtf16Le("<data><x>食費😀</x></data>") + std::string("\0\0junk", 6),
       "食費😀"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.label);
    TxmlList doc;
    doc.ParseText(c.bytes);
    EXPECT_EQ(doc.Value("x"), c.value);
  }
}

TEST(XmlList, WritesTheDeclaredEncoding) {
  TxmlList doc;
  doc.SetValue("x", "食費");
  const std::string body = "<data>\r\n\t<x>食費</x>\r\n</data>\r\n";
  EXPECT_EQ(doc.SaveToBytes(), Sjis("<?xml version=\"\" encoding=\"shift_jis\" ?>\r\n" + body));
  EXPECT_EQ(doc.Encoding(), "shift_jis");

  doc.SetEncoding("UTF-8N");
  EXPECT_EQ(doc.SaveToBytes(), "<?xml version=\"\" encoding=\"utf-8n\" ?>\r\n" + body);
  doc.SetEncoding("utf-8");
  EXPECT_EQ(doc.SaveToBytes(), "<?xml version=\"\" encoding=\"utf-8\" ?>\r\n" + body);

  doc.SetEncoding("utf-16");
  doc.SetValue("y", "😀");
  const std::string utf16 = doc.SaveToBytes();
  EXPECT_EQ(utf16.substr(0, 4), std::string("\xFF\xFE<\0", 4));
  TxmlList back;
  back.ParseText(utf16);
  EXPECT_EQ(back.Encoding(), "utf-16");
  EXPECT_EQ(back.Value("y"), "😀");
  EXPECT_EQ(back.SaveToBytes(), utf16);
}

TEST(XmlList, CharacterOutsideShiftJisIsRefusedOnSave) {
  TTempFolder dir;
  const std::string path = dir.File("keep.xml");
  WriteBytes(path, "old");
  TxmlList doc;
  doc.SetValue("x", "😀");
  try {
    doc.SaveToFile(path);
    FAIL() << "saved";
  } catch (const EkzmError& e) {
    EXPECT_NE(std::string(e.what()).find("😀"), std::string::npos);
  }
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(doc.Value("x"), "😀");
}

TEST(XmlList, FileRoundTripKeepsTheBytes) {
  TTempFolder dir;
  const std::string path = dir.File("a.xml");
  const std::string text = Sjis(
      "<?xml version=\"\" encoding=\"shift_jis\" ?>\r\n<data>\r\n\t<head>\r\n\t\t<name>食費</name>\r\n"
      "\t\t<kind>支出</kind>\r\n\t\t<a x=\"1\" />\r\n\t</head>\r\n\t<t>\r\n\t\tone\r\n\t\t<b />\r\n"
      "\t\ttwo\r\n\t</t>\r\n</data>\r\n");
  WriteBytes(path, text);
  TxmlList doc;
  doc.LoadFromFile(path);
  EXPECT_EQ(doc.Value("head/name"), "食費");
  EXPECT_EQ(doc.Value("t"), "onetwo");
  doc.SaveToFile(dir.File("b.xml"));
  EXPECT_EQ(ReadBytes(dir.File("b.xml")), text);

  EXPECT_THROW(doc.LoadFromFile(dir.File("missing.xml")), EkzmError);
}

// Read from a file, a malformed document names the file and the reason, never its bytes.
TEST(XmlList, AMalformedFileIsNamedWithoutItsBytes) {
  TTempFolder dir;
  struct Case {
    const char* bytes;
    const char* reason;
  };
  for (const Case& c : {Case{"<data><color>$00FF00</co", "終了タグがありません"},
                        Case{"a > b <data></data>", "解析できません"},
                        Case{"<data><a x=1>v</a></data>", "属性指定が不正です"}}) {
    SCOPED_TRACE(c.bytes);
    const std::string path = dir.File("Colors.clr");
    WriteBytes(path, c.bytes);
    TxmlList doc;
    try {
      doc.LoadFromFile(path);
      ADD_FAILURE() << "read";
    } catch (const ExmlParseError& e) {
      EXPECT_EQ(std::string(e.what()), std::string(c.reason) + "\r\n" + path);
      EXPECT_EQ(e.Reason().rfind(c.reason, 0), 0u);
    }
  }
}

TEST(XmlList, DeclarationAloneIsAnEmptyDocument) {
  TxmlList doc;
  doc.ParseText("<?xml version=\"\" encoding=\"shift_jis\" ?>\r\n  ");
  EXPECT_EQ(doc.TagName(), "data");
  EXPECT_EQ(doc.Count(), 0);
  EXPECT_FALSE(doc.HasElements());
}

TEST(XmlList, VeryDeepNestingIsRefused) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "<a>";
  for (int i = 0; i < 5000; ++i) text += "</a>";
  EXPECT_EQ(ParseError(text).substr(0, 21), "解析できません");
}

TEST(XmlList, MalformedFilesGiveAnErrorNotACrash) {
  const std::filesystem::path folder =
      std::filesystem::path(test::SourceDir()) / "tests/data/foundation/malformed/xml";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    SCOPED_TRACE(entry.path().string());
    EXPECT_NE(ParseError(ReadBytes(entry.path().string())), "");
    ++files;
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace kzm
