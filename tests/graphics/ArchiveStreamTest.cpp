#include "archive/ArchiveStream.h"

#include <gtest/gtest.h>

#include <functional>

#include "archive/ArchiveWriter.h"
#include "graphics/TestFiles.h"

namespace kzm {
namespace {

using test::TTempDir;

std::string Bytes(int n, char first) {
  std::string s;
  for (int i = 0; i < n; ++i) s.push_back(static_cast<char>(first + i % 50));
  return s;
}

std::string SampleArchive() {
  return BuildArchive({{"back.png", Bytes(100, 'a')}, {"Std04.png", Bytes(10, 'A')}, {"STD04.PNG", "second"}},
                      "2024010203040512");
}

std::string Message(const std::function<void()>& action) {
  try {
    action();
  } catch (const EarcSTreamError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(ArchiveStream, ZeroLengthFileBecomesEmptyArchive) {
  TTempDir dir;
  test::WriteBytes(dir.File("a.arc"), "");
  {
    TArchiveStream arc(dir.File("a.arc"));
    EXPECT_EQ(arc.Files().Count(), 0);
    EXPECT_EQ(arc.SelectedIndex(), -1);
  }
  const std::string bytes = test::ReadBytes(dir.File("a.arc"));
  ASSERT_EQ(bytes.size(), 48u);
  EXPECT_EQ(bytes.substr(0, 4), "OARC");
  EXPECT_EQ(bytes.substr(4, 8), std::string("\4\0\0\0\0\0\0\0", 8));
  EXPECT_EQ(bytes.substr(12, 4), "AHDR");
  EXPECT_EQ(bytes.substr(16, 4), std::string("\x18\0\0\0", 4));
  EXPECT_EQ(bytes.substr(20, 8), std::string(8, '\0'));
  EXPECT_EQ(bytes.substr(44, 4), "ADAT");
  for (char c : bytes.substr(28, 16)) EXPECT_TRUE(c >= '0' && c <= '9');
}

TEST(ArchiveStream, DateStampHasSixteenDigits) {
  const std::string stamp = ArchiveDateStamp();
  ASSERT_EQ(stamp.size(), 16u);
  EXPECT_EQ(stamp.find_first_not_of("0123456789"), std::string::npos);
}

TEST(ArchiveStream, SelectsByNameAndIndexAndReadsMember) {
  TTempDir dir;
  test::WriteBytes(dir.File("a.arc"), SampleArchive());
  TArchiveStream arc(dir.File("a.arc"));
  ASSERT_EQ(arc.Files().Count(), 3);
  EXPECT_EQ(arc.DateStamp(), "2024010203040512");

  ASSERT_TRUE(arc.SelectName("std04.PNG"));
  EXPECT_EQ(arc.SelectedIndex(), 1) << "first of two equal names";
  EXPECT_EQ(arc.ReadAll(), Bytes(10, 'A'));

  EXPECT_FALSE(arc.SelectIndex(3));
  EXPECT_FALSE(arc.SelectName("missing.png"));
  EXPECT_EQ(arc.SelectedIndex(), 1) << "a failed selection keeps the previous one";

  // A member followed by another: only the end of the member, not of the file, stops the read.
  ASSERT_TRUE(arc.SelectIndex(1));
  char buffer[64];
  EXPECT_EQ(arc.Read(buffer, sizeof buffer), 10) << "reading stops at the member's end";
  EXPECT_EQ(std::string(buffer, 10), Bytes(10, 'A'));
  EXPECT_EQ(arc.Read(buffer, sizeof buffer), 0);

  ASSERT_TRUE(arc.SelectIndex(2));
  EXPECT_EQ(arc.Read(buffer, sizeof buffer), 6);
  EXPECT_EQ(std::string(buffer, 6), "second");
}

TEST(ArchiveStream, SeeksWithinTheMember) {
  TTempDir dir;
  test::WriteBytes(dir.File("a.arc"), SampleArchive());
  TArchiveStream arc(dir.File("a.arc"));
  ASSERT_TRUE(arc.SelectName("BACK.png"));
  EXPECT_EQ(arc.Seek(100, TSeekOrigin::Beginning), 100);
  EXPECT_EQ(arc.Seek(0, TSeekOrigin::End), 100);
  EXPECT_EQ(arc.Seek(10, TSeekOrigin::End), 90);
  EXPECT_EQ(arc.Seek(-5, TSeekOrigin::Current), 85);
  char c = 0;
  ASSERT_EQ(arc.Read(&c, 1), 1);
  EXPECT_EQ(c, Bytes(100, 'a')[85]);
  const std::string outside = "TArchiveStream:\r\n[Seek]格納ファイルの範囲外を指定しました";
  EXPECT_EQ(Message([&] { arc.Seek(101, TSeekOrigin::Beginning); }), outside);
  EXPECT_EQ(Message([&] { arc.Seek(-1, TSeekOrigin::Beginning); }), outside);
  EXPECT_EQ(Message([&] { arc.Seek(INT64_MAX, TSeekOrigin::Current); }), outside);
  EXPECT_EQ(arc.Seek(0, TSeekOrigin::Current), 86) << "a refused seek leaves the position";
}

TEST(ArchiveStream, RefusesMisuse) {
  TTempDir dir;
  test::WriteBytes(dir.File("a.arc"), SampleArchive());
  TArchiveStream arc(dir.File("a.arc"));
  char c;
  EXPECT_EQ(Message([&] { (void)arc.Read(&c, 1); }), "TArchiveStream:\r\n[Read]読み込みINDEXが指定されていません");
  EXPECT_EQ(Message([&] { arc.Seek(0, TSeekOrigin::Beginning); }),
            "TArchiveStream:\r\n[Seek]読み込みINDEXが指定されていません");
  ASSERT_TRUE(arc.SelectIndex(0));
  EXPECT_EQ(Message([&] { (void)arc.Read(&c, -1); }), "TArchiveStream:\r\n[Read]Countが負です(-1)");
  EXPECT_EQ(Message([&] { arc.Write(&c, 1); }), "TArchiveStream:\r\n[Write]対応していません");
}

TEST(ArchiveStream, BrokenFilesRaiseErrors) {
  std::string lyingCount = SampleArchive();
  lyingCount[20] = 100;
  std::string hugeName = SampleArchive();
  hugeName.replace(48 + 4, 4, std::string("\0\0\0\x80", 4));
  std::string hugeSize = SampleArchive();
  hugeSize.replace(48 + 17, 8, std::string("\xff\xff\xff\xff\xff\xff\xff\x7f", 8));
  std::string negativeOffset = SampleArchive();
  negativeOffset.replace(48 + 8, 8, std::string("\xff\xff\xff\xff\xff\xff\xff\xff", 8));
  // The first member (100 bytes) said to start 50 bytes before the end of the file.
  std::string badOffset = SampleArchive();
  const uint64_t lateStart = badOffset.size() - 50;
  for (int i = 0; i < 8; ++i) badOffset[48 + 8 + i] = static_cast<char>(lateStart >> (8 * i));
  std::string badData = SampleArchive();
  badData[44] = 'X';
  std::string badHeader = SampleArchive();
  badHeader[12] = 'X';
  const std::string list = "TArchiveStream:\r\n[Reload]格納ファイルの一覧が不正です";
  const struct {
    const char* name;
    std::string bytes;
    std::string message;
  } cases[] = {
      {"zip", std::string("PK\3\4rest of a zip file", 22), "TArchiveStream:\r\n[Reload]ファイルが不正[PK\3\4]です"},
      {"short magic", "OA", "TArchiveStream:\r\n[Reload]ファイルが不正[OA]です"},
      {"header tag", badHeader, "TArchiveStream:\r\n[Reload]ファイルヘッダが不正[XHDR]です"},
      {"data tag", badData, "TArchiveStream:\r\n[Reload]ファイルデータが不正[XDAT]です"},
      {"truncated header", SampleArchive().substr(0, 30), "TArchiveStream:\r\n[Reload]ファイルヘッダが不正[AHDR]です"},
      {"count beyond file", lyingCount, list},
      {"name of 2 GB", hugeName, list},
      {"size beyond file", hugeSize, list},
      {"negative offset", negativeOffset, list},
      {"offset beyond file", badOffset, list},
      {"truncated member", SampleArchive().substr(0, 120), list},
  };
  TTempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteBytes(dir.File("bad.arc"), c.bytes);
    EXPECT_EQ(Message([&] { TArchiveStream arc(dir.File("bad.arc")); }), c.message);
  }
}

TEST(ArchiveStream, ExistingArchiveIsOpenedReadOnly) {
  TTempDir dir;
  test::WriteBytes(dir.File("a.arc"), SampleArchive());
  std::filesystem::permissions(dir.File("a.arc"), std::filesystem::perms::owner_read);
  TArchiveStream arc(dir.File("a.arc"));
  EXPECT_EQ(arc.Files().Count(), 3);
  EXPECT_THROW(arc.InitArchive(), EarcSTreamError);
  EXPECT_EQ(test::ReadBytes(dir.File("a.arc")), SampleArchive());
}

TEST(ArchiveStream, MissingFileIsAnError) {
  TTempDir dir;
  EXPECT_THROW(TArchiveStream(dir.File("none.arc")), EarcSTreamError);
}

TEST(FilesList, AddsInsertsRenamesAndRoundTripsItsText) {
  TfilesList list;
  EXPECT_EQ(list.AddObject("a.png"), 0);
  EXPECT_EQ(list.Id(0), 1);
  TArcEntry given;
  given.id = 7;
  given.nameLength = 5;
  given.offset = 123;
  given.size = 45;
  list.AddObject("b.png", given);
  EXPECT_EQ(list.AddObject("c.png"), 2);
  EXPECT_EQ(list.Id(2), 8);
  EXPECT_EQ(list.Entry(2).flag, 1);
  list.Insert(0, "first");
  EXPECT_EQ(list.Id(0), 0);
  EXPECT_EQ(list.Entry(0).nameLength, 5);
  list.Put(0, "longer name");
  EXPECT_EQ(list.Entry(0).nameLength, 11);
  EXPECT_EQ(list.IndexOfName("B.PNG"), 2);

  TfilesList copy;
  copy.SetText(list.Text());
  ASSERT_EQ(copy.Count(), 4);
  EXPECT_EQ(copy.Text(), list.Text());
  EXPECT_EQ(copy.Offset(2), 123);
  EXPECT_EQ(copy.Size(2), 45);
  list.Delete(0);
  EXPECT_EQ(list.Name(0), "a.png");
}

}  // namespace
}  // namespace kzm
