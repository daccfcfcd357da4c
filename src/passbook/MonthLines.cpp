#include "passbook/MonthLines.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"

namespace kzm {

namespace {

constexpr std::string_view kMemoName = "メモ";
constexpr std::string_view kMemoNameCp932 = "\x83\x81\x83\x82";

// The lines of a month file's bytes and their fields. Most lines hold no quote and no
// backslash: their fields are cut at the commas and stay CP932. The others are decoded and
// split as CSV. CR LF, LF and CR end lines, and a line end at the very end does not start
// another line.
//
// The bytes that shape lines are found first, for the whole file, as bits of 64-byte blocks
// (a line is then cut from the bits without looking at its bytes again). CP932 has commas,
// quotes, CR and LF only as themselves; 5C, the backslash, is also the second byte of some
// characters (ソ is 83 5C), so a line with a 5C is read the careful way.
class TCsvLines {
 public:
  explicit TCsvLines(std::string_view bytes) : m_bytes(bytes) {
    const size_t blocks = (bytes.size() + kBlock - 1) / kBlock;
    m_commas.resize(blocks);
    m_lineEnds.resize(blocks);
    m_careful.resize(blocks);
    for (size_t k = 0; k < blocks; ++k) MarkBlock(k);
    m_nextCareful = NextBit(m_careful, 0);
  }

  // The next line: its bytes, and its fields (CP932 bytes when cp932, else text); false
  // after the last line.
  bool Next(std::string_view& line, std::vector<std::string_view>& fields, bool& cp932) {
    const size_t size = m_bytes.size();
    if (m_start >= size) return false;
    const size_t end = NextBit(m_lineEnds, m_start);
    if (m_nextCareful < m_start) m_nextCareful = NextBit(m_careful, m_start);
    line = Piece(m_start, end);
    cp932 = m_nextCareful >= end;
    fields.clear();
    if (cp932) {
      size_t fieldStart = m_start;
      ForEachBit(m_commas, m_start, end, [&](size_t comma) {
        fields.push_back(Piece(fieldStart, comma));
        fieldStart = comma + 1;
      });
      fields.push_back(Piece(fieldStart, end));
    } else {
      DecodeCp932(line, m_text);
      CsvSplitViews(m_text, fields, m_unescaped);
    }
    const bool crLf = end + 1 < size && m_bytes[end] == '\r' && m_bytes[end + 1] == '\n';
    m_lineStart = m_start;
    m_start = end == size ? size : end + (crLf ? 2 : 1);
    return true;
  }

  // The last line read with its line end as it stands in the bytes (none at their end).
  [[nodiscard]] std::string_view LineWithEnd() const { return Piece(m_lineStart, m_start); }

 private:
  static constexpr size_t kBlock = 64;
  using TBits = std::vector<uint64_t>;  // bit n of word k: the byte at 64 k + n

  // The bytes from from up to to, both within the bytes: no check, for every field of every line.
  std::string_view Piece(size_t from, size_t to) const { return {m_bytes.data() + from, to - from}; }

  // Sets the bits of block k. The last block, short of a whole one, is looked at in a copy
  // filled up with zeros.
  void MarkBlock(size_t k) {
    const size_t start = k * kBlock;
    const size_t count = std::min(kBlock, m_bytes.size() - start);
    const char* bytes = m_bytes.data() + start;
    std::array<char, kBlock> last{};
    if (count < kBlock) bytes = static_cast<const char*>(std::memcpy(last.data(), bytes, count));
#if defined(__SSE2__)
    for (size_t i = 0; i < kBlock; i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
      const auto is = [&v](char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
      const auto bits = [i](__m128i hits) { return static_cast<uint64_t>(_mm_movemask_epi8(hits)) << i; };
      m_commas[k] |= bits(is(','));
      m_lineEnds[k] |= bits(_mm_or_si128(is('\r'), is('\n')));
      m_careful[k] |= bits(_mm_or_si128(is('"'), is('\\')));
    }
#else
    for (size_t i = 0; i < kBlock; ++i) {
      const char c = bytes[i];
      const uint64_t bit = uint64_t{1} << i;
      if (c == ',') m_commas[k] |= bit;
      if (c == '\r' || c == '\n') m_lineEnds[k] |= bit;
      if (c == '"' || c == '\\') m_careful[k] |= bit;
    }
#endif
  }

  // The place of the first bit set at or after from, or the end of the bytes.
  size_t NextBit(const TBits& bits, size_t from) const {
    size_t k = from / kBlock;
    if (k >= bits.size()) return m_bytes.size();
    uint64_t word = bits[k] & (~uint64_t{0} << (from % kBlock));
    while (word == 0) {
      if (++k == bits.size()) return m_bytes.size();
      word = bits[k];
    }
    return k * kBlock + static_cast<size_t>(std::countr_zero(word));
  }

  // Calls found with the place of each bit set from from up to (not with) to, in order.
  template <class F>
  static void ForEachBit(const TBits& bits, size_t from, size_t to, F found) {
    for (size_t k = from / kBlock; k * kBlock < to; ++k) {
      const size_t base = k * kBlock;
      uint64_t word = bits[k];
      if (from > base) word &= ~uint64_t{0} << (from - base);
      if (to - base < kBlock) word &= (uint64_t{1} << (to - base)) - 1;
      for (; word != 0; word &= word - 1) found(base + static_cast<size_t>(std::countr_zero(word)));
    }
  }

  std::string_view m_bytes;
  TBits m_commas;
  TBits m_lineEnds;
  TBits m_careful;  // quotes and backslashes
  size_t m_start = 0;        // where the next line starts
  size_t m_lineStart = 0;    // where the last line read starts
  size_t m_nextCareful = 0;  // the first quote or backslash from the start of the line last read
  std::string m_text;        // the last line read the careful way, decoded
  std::vector<std::string> m_unescaped;
};

bool IsAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

uint64_t Load8(const char* p) {
  uint64_t v = 0;
  std::memcpy(&v, p, 8);
  return v;
}

uint32_t Load4(const char* p) {
  uint32_t v = 0;
  std::memcpy(&v, p, 4);
  return v;
}

// a == b, compared in place for the few bytes of a field: a call to memcmp for each of the
// fields of every line would cost more than the comparing.
inline bool SameBytes(std::string_view a, std::string_view b) {
  const size_t n = a.size();
  if (n != b.size()) return false;
  const char* x = a.data();
  const char* y = b.data();
  if (n >= 8 && n <= 16) return Load8(x) == Load8(y) && Load8(x + n - 8) == Load8(y + n - 8);
  if (n >= 4 && n < 8) return Load4(x) == Load4(y) && Load4(x + n - 4) == Load4(y + n - 4);
  if (n < 4) return std::equal(x, x + n, y, [](char c, char d) { return c == d; });
  return a == b;
}

// A hash of a short field and a number, from its length and its first and last bytes.
size_t ShortHash(std::string_view bytes, int number) {
  const size_t n = bytes.size();
  uint64_t h = n * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(number);
  if (n >= 4) {
    h ^= (uint64_t{Load4(bytes.data())} << 32 | Load4(bytes.data() + n - 4)) * 0xC2B2AE3D27D4EB4Full;
  } else {
    for (const char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
  }
  return static_cast<size_t>(h ^ h >> 29);
}

// A date field. ASCII reads the same as CP932 and as text, and dates are digits.
int32_t ReadDate(std::string_view field, bool cp932) {
  return !cp932 || IsAscii(field) ? ParseDate(field) : ParseDate(DecodeCp932(field));
}

// A kind field: a kind name or a kind code in decimal; only the low 7 bits count. The name
// is looked for first, as our own files hold names; no name reads as a number.
int ReadKind(std::string_view field, bool cp932) {
  const std::string text = cp932 ? DecodeCp932(field) : std::string(field);
  const int kind = KindCode(text);
  return (kind != kKindNone ? kind : ParseInt(text, 0)) & 0x7F;
}

// A month file's dates come in runs of the same bytes, and its kinds are few: a field that
// reads as one of the last few read is not read again.
template <class T, T (*read)(std::string_view, bool), size_t kRemembered>
class TFieldReader {
 public:
  T Read(std::string_view field, bool cp932) {
    // Nearly always the field before.
    if (m_count > 0 && m_known[m_last].Is(field, cp932)) return m_known[m_last].value;
    return ReadOther(field, cp932);
  }

 private:
  struct TRead {
    std::string field;
    bool cp932 = false;
    T value{};
    bool Is(std::string_view other, bool otherCp932) const { return cp932 == otherCp932 && SameBytes(other, field); }
  };

  // A field unlike the last: one read before, or read now in place of the one read longest
  // ago. Kept out of line, so that the look at the last stays in the loop over the lines.
  [[gnu::noinline]] T ReadOther(std::string_view field, bool cp932) {
    for (m_last = 0; m_last < m_count; ++m_last) {
      if (m_known[m_last].Is(field, cp932)) return m_known[m_last].value;
    }
    if (m_count < kRemembered) {
      m_last = m_count++;
    } else {
      m_last = m_oldest;
      m_oldest = (m_oldest + 1) % kRemembered;
    }
    TRead& known = m_known[m_last];
    known.field = field;
    known.cp932 = cp932;
    known.value = read(field, cp932);
    return known.value;
  }

  std::array<TRead, kRemembered> m_known;
  size_t m_count = 0;   // of m_known read
  size_t m_last = 0;    // the one that read as the last field
  size_t m_oldest = 0;  // once all are read, the one read longest ago
};

// How many entry lines of each day were read so far. A month's days are counted in place; a
// file read whatever its dates (the import history) counts in a map.
class TDayCounter {
 public:
  TDayCounter(int32_t firstDay, int32_t lastDay) : m_firstDay(firstDay) {
    if (lastDay >= firstDay && lastDay - firstDay < kInPlaceDays) m_inPlace.assign(lastDay - firstDay + 1, 0);
  }
  int32_t Next(int32_t day) { return m_inPlace.empty() ? m_counts[day]++ : m_inPlace[day - m_firstDay]++; }

 private:
  static constexpr int32_t kInPlaceDays = 62;
  int32_t m_firstDay;
  std::vector<int32_t> m_inPlace;
  std::map<int32_t, int32_t> m_counts;
};

TEntryLine LineOfFields(const std::vector<std::string_view>& fields, bool cp932, int32_t date, int32_t amount,
                        int kind, int accountKind, int32_t placeInDay) {
  const bool memo = kind == kKindMemo;
  const std::string_view memoName = cp932 ? kMemoNameCp932 : kMemoName;
  // Every member named: a line is made for each line of every file read.
  return TEntryLine{.date = date,
                    .amount = amount,
                    .placeInDay = placeInDay,
                    .kind = kind == 0 ? kKindPayment : kind,
                    .accountKind = memo ? kKindMemo : accountKind == 0 ? kKindAsset : accountKind,
                    .cp932 = cp932,
                    .category = memo ? memoName : fields[2],
                    .account = memo ? memoName : fields[4],
                    .itemText = fields[6],
                    .note = fields[7],
                    .extraFields = std::span(fields).subspan(8)};
}

// A text of the line into out.
void AssignText(const TEntryLine& line, std::string_view text, std::string& out) {
  if (line.cp932) {
    DecodeCp932(text, out);
  } else {
    out = text;
  }
}

// The amount and the texts of the line into entry.
void AssignTexts(TkzmEntry& entry, const TEntryLine& line) {
  entry.amount = line.amount;
  AssignText(line, line.itemText, entry.itemText);
  AssignText(line, line.note, entry.note);
  entry.extraFields.resize(line.extraFields.size());
  for (size_t i = 0; i < line.extraFields.size(); ++i) AssignText(line, line.extraFields[i], entry.extraFields[i]);
}

void AssignLineKey(const TEntryLine& line, std::string_view name, int kind, std::string& key) {
  std::string buffer;
  AssignKey(key, LineText(line, name, buffer), kind);
}

}  // namespace

std::string_view LineText(const TEntryLine& line, std::string_view text, std::string& buffer) {
  if (!line.cp932) return text;
  DecodeCp932(text, buffer);
  return buffer;
}

const std::string& TNameKeys::Key(const TEntryLine& line, std::string_view name, int kind) {
  TSlot& slot = m_slots[ShortHash(name, kind) % m_slots.size()];
  if (slot.kind != kind || slot.cp932 != line.cp932 || !SameBytes(slot.name, name)) {
    slot.name = name;
    slot.cp932 = line.cp932;
    slot.kind = kind;
    AssignLineKey(line, name, kind, slot.key);
  }
  return slot.key;
}

TkzmEntry MakeEntry(const TEntryLine& line) {
  TkzmEntry entry;
  entry.date = line.date;
  entry.sequence = line.placeInDay;
  AssignLineKey(line, line.category, line.kind, entry.categoryKey);
  AssignLineKey(line, line.account, line.accountKind, entry.accountKey);
  AssignTexts(entry, line);
  return entry;
}

void AssignEntry(TkzmEntry& entry, const TEntryLine& line, TNameKeys& keys) {
  entry.date = line.date;
  entry.sequence = line.placeInDay;
  entry.categoryKey = keys.Key(line, line.category, line.kind);
  entry.accountKey = keys.Key(line, line.account, line.accountKind);
  AssignTexts(entry, line);
}

int ReadMonthLines(std::string_view bytes, int32_t firstDay, int32_t lastDay, TMonthLineSink& sink) {
  TCsvLines lines(bytes);
  std::string_view line;
  std::vector<std::string_view> fields;
  fields.reserve(8);
  bool cp932 = false;
  TDayCounter places(firstDay, lastDay);
  TFieldReader<int32_t, ReadDate, 1> dates;  // 0: no date
  TFieldReader<int, ReadKind, 4> kinds;
  TFieldReader<int, ReadKind, 4> accountKinds;
  int32_t previousDate = 0;
  int unreadAmounts = 0;
  while (lines.Next(line, fields, cp932)) {
    const int32_t date = dates.Read(fields[0], cp932);
    int32_t amount = 0;
    const bool ofThisMonth = fields.size() >= 8 && date != 0 && date >= firstDay && date <= lastDay;
    // An amount is ASCII digits: bytes of any other character fail as CP932 as they would as text.
    const bool amountRead = ofThisMonth && TryParseInt(fields[5], amount);
    const int kind = amountRead ? kinds.Read(fields[1], cp932) : 0;
    const int accountKind = amountRead ? accountKinds.Read(fields[3], cp932) : 0;
    const std::string_view whole = lines.LineWithEnd();
    // A lone CR is most likely a break inside a field: the line goes back as it came.
    const bool endsInLoneCr = !whole.empty() && whole.back() == '\r';
    if (!amountRead || kind >= kKindCount || accountKind >= kKindCount || endsInLoneCr) {
      if (ofThisMonth && !amountRead) ++unreadAmounts;
      if (date != 0) previousDate = date;
      sink.Kept(previousDate, whole);
      continue;
    }
    previousDate = date;
    sink.Entry(LineOfFields(fields, cp932, date, amount, kind, accountKind, places.Next(date)));
  }
  return unreadAmounts;
}

void TGatherMonthLines::Entry(const TEntryLine& line) { m_entries.push_back(MakeEntry(line)); }

void TGatherMonthLines::Kept(int32_t sortDate, std::string_view bytes) {
  m_kept.push_back({sortDate, std::string(bytes)});
}

int ParseMonthBytes(std::string_view bytes, int32_t firstDay, int32_t lastDay,
                    std::vector<TkzmEntry>& entries, std::vector<TKeptLine>& kept) {
  TGatherMonthLines gather(entries, kept);
  return ReadMonthLines(bytes, firstDay, lastDay, gather);
}

}  // namespace kzm
