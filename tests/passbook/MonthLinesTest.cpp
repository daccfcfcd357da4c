#include "passbook/MonthLines.h"

#include <gtest/gtest.h>

#include <random>

#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"

namespace kzm {
namespace {

// What the reader must make of bytes, worked out the plain way: cut the bytes into lines,
// decode each line on its own and split it.
struct TExpected {
  std::vector<std::vector<std::string>> entries;  // the fields of each entry line
  std::vector<std::string> kept;
};

TExpected ReadPlainly(const std::string& bytes, int32_t firstDay, int32_t lastDay) {
  TExpected expected;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(start, end - start);
    const size_t lineStart = start;
    start = end == bytes.size() ? end : end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    const bool loneCr = start > end && bytes[start - 1] == '\r';
    std::vector<std::string> fields = CsvSplit(DecodeCp932(line));
    const int32_t date = ParseDate(fields[0]);
    int32_t amount = 0;
    // Kinds as names or codes, only the low 7 bits counting; none is a payment from an asset.
    const auto kind = [](const std::string& field) {
      return (KindCode(field) != kKindNone ? KindCode(field) : ParseInt(field)) & 0x7F;
    };
    if (fields.size() >= 8 && date >= firstDay && date <= lastDay && TryParseInt(fields[5], amount) &&
        kind(fields[1]) < kKindCount && kind(fields[3]) < kKindCount && !loneCr) {
      fields[5] = std::to_string(amount);
      const int categoryKind = kind(fields[1]) == 0 ? kKindPayment : kind(fields[1]);
      const int accountKind =
          categoryKind == kKindMemo ? kKindMemo : kind(fields[3]) == 0 ? kKindAsset : kind(fields[3]);
      fields[1] = std::to_string(categoryKind);
      fields[3] = std::to_string(accountKind);
      if (categoryKind == kKindMemo) fields[2] = fields[4] = "メモ";
      expected.entries.push_back(fields);
    } else {
      expected.kept.push_back(bytes.substr(lineStart, start - lineStart));
    }
  }
  return expected;
}

// Records what the reader shows. Entries are made with the keys of names seen before (in
// this file or in others read with the same keys) and must be what making them afresh makes.
class TRecordLines final : public TMonthLineSink {
 public:
  explicit TRecordLines(TNameKeys& keys) : m_keys(keys) {}
  void Entry(const TEntryLine& line) override {
    const TkzmEntry fresh = MakeEntry(line);
    TkzmEntry entry;
    AssignEntry(entry, line, m_keys);
    EXPECT_EQ(entry.categoryKey, fresh.categoryKey);
    EXPECT_EQ(entry.accountKey, fresh.accountKey);
    std::vector<std::string> fields{FormatDate8(entry.date),       std::to_string(KeyKind(entry.categoryKey)),
                                    KeyName(entry.categoryKey),    std::to_string(KeyKind(entry.accountKey)),
                                    KeyName(entry.accountKey),     std::to_string(entry.amount),
                                    entry.itemText,                entry.note};
    fields.insert(fields.end(), entry.extraFields.begin(), entry.extraFields.end());
    got.entries.push_back(fields);
    places.push_back(line.placeInDay);
  }
  void Kept(int32_t, std::string_view bytes) override { got.kept.emplace_back(bytes); }

  TExpected got;
  std::vector<int32_t> places;

 private:
  TNameKeys& m_keys;
};

// Random lines of pieces that matter to the reader: line ends of every kind, commas, quotes,
// backslashes (also as the second byte of a character: ソ is 83 5C), broken bytes, dates.
std::string RandomMonthBytes(std::mt19937& random, int maxPieces) {
  static const std::vector<std::string> bytePieces = {
      "20240305", "20240306", "2024/3/7", "20240401", ",", ",", ",", ",", "\r\n", "\r\n", "\n", "\r",
      "\"", "\\", "\\n", "\x83\x5C", "\x81", "\xFF", "\xB1", "\x87\x40", "\xED\x40", "12", "-5", "1.5", " ",
      "+7", "0", "2147483647", "99999999999", "99", "7"};
  // Text pieces, written in CP932.
  static const std::vector<std::string> textPieces = {
      "20240305,支出,食費,資産,現金,100,パン,\r\n", "20240306,メモ,x,資産,y,0,ソ,\r\n", "2024年3月8日", "支出", "食費"};
  std::string bytes;
  const int count = std::uniform_int_distribution<int>(0, maxPieces)(random);
  for (int i = 0; i < count; ++i) {
    const size_t n = std::uniform_int_distribution<size_t>(0, bytePieces.size() + textPieces.size() - 1)(random);
    if (n < bytePieces.size()) {
      bytes += bytePieces[n];
    } else {
      std::string encoded;
      EXPECT_TRUE(EncodeCp932(textPieces[n - bytePieces.size()], encoded));
      bytes += encoded;
    }
  }
  return bytes;
}

void ExpectReadAsPlainly(const std::string& bytes, TNameKeys& keys) {
  SCOPED_TRACE(bytes);
  const int32_t first = EncodeDate(2024, 3, 1);
  const int32_t last = EncodeDate(2024, 3, 31);
  TRecordLines record(keys);
  ReadMonthLines(bytes, first, last, record);
  const TExpected expected = ReadPlainly(bytes, first, last);
  ASSERT_EQ(record.got.kept, expected.kept);
  ASSERT_EQ(record.got.entries.size(), expected.entries.size());
  for (size_t i = 0; i < expected.entries.size(); ++i) {
    const std::vector<std::string>& want = expected.entries[i];
    const std::vector<std::string>& got = record.got.entries[i];
    ASSERT_EQ(got.size(), want.size());
    for (size_t field = 1; field < 8; ++field) EXPECT_EQ(got[field], want[field]) << "field " << field;
    EXPECT_EQ(std::vector<std::string>(got.begin() + 8, got.end()),
              std::vector<std::string>(want.begin() + 8, want.end()));
  }
}

TEST(MonthLinesTest, ReadsEveryLineAsReadingItAloneWould) {
  std::mt19937 random(20261209);
  TNameKeys keys;
  for (int round = 0; round < 3000; ++round) {
    ExpectReadAsPlainly(RandomMonthBytes(random, round % 20 ? 60 : 3000), keys);
  }
}

// A line end, a comma, a quote or a ソ falls on each side of where the reader looks at the
// next block of bytes, and the file ends anywhere in a block.
TEST(MonthLinesTest, LinesAcrossTheReadersStepsReadWhole) {
  const std::string line = "20240305,支出,食費,資産,現金,100,パン,\r\n";
  std::string entry;
  ASSERT_TRUE(EncodeCp932(line, entry));
  TNameKeys keys;
  for (const std::string tail : {"\r\n", ",", "\"", "\x83\x5C"}) {
    for (size_t padding = 0; padding < 200; ++padding) {
      ExpectReadAsPlainly(std::string(padding, 'x') + tail + entry + entry, keys);
    }
  }
}

TEST(MonthLinesTest, EntriesKnowTheirPlaceInTheirDayInFileOrder) {
  std::string bytes;
  ASSERT_TRUE(EncodeCp932("20240305,支出,食費,資産,現金,1,a,\r\n"
                          "20240306,支出,食費,資産,現金,2,b,\r\n"
                          "20240305,支出,食費,資産,現金,x,kept,\r\n"
                          "20240305,支出,食費,資産,現金,3,c,\r\n"
                          "20240306,支出,食費,資産,現金,4,d,\r\n",
                          bytes));
  TNameKeys keys;
  TRecordLines record(keys);
  ReadMonthLines(bytes, EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 31), record);
  EXPECT_EQ(record.places, (std::vector<int32_t>{0, 0, 1, 1}));
  ASSERT_EQ(record.got.kept.size(), 1u);
}

// A line with a quote is decoded before it is split, the others are split as bytes: the same
// bytes in one and the other are different texts, and are read as such.
TEST(MonthLinesTest, TextAndBytesAreNeverTakenForEachOther) {
  std::string bytes;
  ASSERT_TRUE(EncodeCp932("20240305,収入,給与,資産,銀行,1,\"q\",\r\n", bytes));
  bytes += "20240305," + std::string("収入") + ",x,資産,y,2,b,\r\n";  // UTF-8 bytes, no kind as CP932
  std::vector<TkzmEntry> entries;
  std::vector<TKeptLine> kept;
  ParseMonthBytes(bytes, EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 31), entries, kept);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(KeyKind(entries[0].categoryKey), kKindReceipt);
  EXPECT_EQ(KeyKind(entries[1].categoryKey), kKindPayment);
}

// Names alike in length and in their first and last bytes, one name of two kinds, the same
// bytes as CP932 and as text: each keeps its own key, in any order and read again.
TEST(MonthLinesTest, AlikeNamesKeepTheirOwnKeys) {
  std::string bytes;
  ASSERT_TRUE(EncodeCp932("20240305,支出,食費の昼の分,資産,現金,1,a,\r\n"
                          "20240305,支出,食費の夜の分,資産,現金,2,b,\r\n"
                          "20240305,収入,食費の昼の分,資産,食費の夜の分,3,c,\r\n",
                          bytes));
  // A quoted line is read as text, a plain line as CP932: the same bytes mean different names.
  std::string quoted;
  ASSERT_TRUE(EncodeCp932("20240305,支出,\"食\",資産,現金,4,\"q\",\r\n", quoted));
  std::string plain;
  ASSERT_TRUE(EncodeCp932("20240305,支出,", plain));
  plain += "食";  // UTF-8 bytes
  std::string rest;
  ASSERT_TRUE(EncodeCp932(",資産,現金,5,p,\r\n", rest));
  bytes += quoted + plain + rest;
  // One name of every kind code a file may give; codes past the known kinds keep their lines.
  std::string kinds;
  for (int kind = 1; kind < 128; ++kind) kinds += "20240306," + std::to_string(kind) + ",abc,1,abc,6,k,\r\n";
  TNameKeys keys;
  for (int round = 0; round < 2; ++round) {
    TRecordLines record(keys);
    ReadMonthLines(bytes + bytes + kinds, EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 31), record);
    ASSERT_EQ(record.got.entries.size(), 10u + kKindCount - 1);
    EXPECT_EQ(record.got.kept.size(), 127u - (kKindCount - 1));
    EXPECT_EQ(record.got.entries[1][2], "食費の夜の分");
    EXPECT_EQ(record.got.entries[2][4], "食費の夜の分");
    EXPECT_EQ(record.got.entries[2][2], "食費の昼の分");
    EXPECT_EQ(record.got.entries[3][2], "食");
    EXPECT_EQ(record.got.entries[4][2], DecodeCp932("食"));
    EXPECT_EQ(record.got.entries[8][2], "食");
    EXPECT_EQ(record.got.entries[9][2], DecodeCp932("食"));
  }
}

// Names that differ only past their eighth byte (子供費（ is eight bytes in CP932), as
// category and as account, read one after the other with the same keys: each comes back as
// itself, not as the name read just before it.
TEST(MonthLinesTest, NamesDifferingPastTheirEighthByteKeepTheirOwn) {
  const std::vector<std::string> names = {"子供費（長男）", "子供費（次男）", "教育費の長男", "教育費の次男",
                                          "子供費（長男）の塾代", "子供費（次男）の塾代"};
  std::string text;
  for (const std::string& name : names) text += "20240305,支出," + name + ",資産," + name + ",1,x,\r\n";
  std::string bytes;
  ASSERT_TRUE(EncodeCp932(text, bytes));
  TNameKeys keys;
  for (int round = 0; round < 2; ++round) {
    TRecordLines record(keys);
    ReadMonthLines(bytes, EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 31), record);
    ASSERT_EQ(record.got.entries.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
      SCOPED_TRACE(names[i]);
      EXPECT_EQ(record.got.entries[i][2], names[i]);
      EXPECT_EQ(record.got.entries[i][4], names[i]);
    }
  }
}

}  // namespace
}  // namespace kzm
