#pragma once

// Reading the lines of a month file ("yyyymm.kzm", described in MonthFile.h): the entries it
// holds and the lines it keeps as they are.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "passbook/MonthEntry.h"

namespace kzm {

// An entry line of a month file as read. Its texts point into the file's bytes (CP932, to be
// decoded when needed: a search looks at few of them) or, for a line that had to be
// unescaped and for an entry held in memory, into text; they last only as long as the call
// that shows them. The kinds have their defaults applied, and a memo's category and account
// are "メモ" whatever the line says.
struct TEntryLine {
  int32_t date = 0;
  int32_t amount = 0;
  int32_t placeInDay = 0;  // how many entry lines of the same day came before it in the file
  int kind = 0;            // of the category
  int accountKind = 0;
  bool cp932 = false;      // the texts are CP932 bytes
  std::string_view category;
  std::string_view account;
  std::string_view itemText;
  std::string_view note;
  std::span<const std::string_view> extraFields;  // past the eighth
};

// One of the line's texts as text (UTF-8): the text itself, or the bytes decoded into buffer.
[[nodiscard]] std::string_view LineText(const TEntryLine& line, std::string_view text, std::string& buffer);

// The keys of the category and account names read so far. A passbook has few names, used
// again and again: each is decoded and made a key once, and copied after.
class TNameKeys {
 public:
  // The key of name, one of line's names, as a name of kind.
  const std::string& Key(const TEntryLine& line, std::string_view name, int kind);

 private:
  struct TSlot {
    std::string name;  // as in the line
    bool cp932 = false;
    int kind = -1;  // -1: empty
    std::string key;
  };
  std::array<TSlot, 128> m_slots;
};

// The entry the line stands for, its sequence its place in the day.
[[nodiscard]] TkzmEntry MakeEntry(const TEntryLine& line);
// The same into entry, whose memory is used again, taking its keys from keys.
void AssignEntry(TkzmEntry& entry, const TEntryLine& line, TNameKeys& keys);

// What reading a month file shows, line by line in file order.
class TMonthLineSink {
 public:
  virtual void Entry(const TEntryLine& line) = 0;
  // A line that is no entry of the month, as its bytes with its line end; sortDate as in
  // TKeptLine.
  virtual void Kept(int32_t sortDate, std::string_view bytes) = 0;

 protected:
  ~TMonthLineSink() = default;
};

// Reads the lines of a month file's bytes. Lines dated firstDay..lastDay with at least eight
// fields, an amount that is a plain integer and kinds the program knows are entries, unless
// they end in a lone CR (a line break inside a field); every other line is kept as its bytes.
// Returns how many lines were kept for their amount.
int ReadMonthLines(std::string_view bytes, int32_t firstDay, int32_t lastDay, TMonthLineSink& sink);

// Gathers the entries (in file order) and the kept lines.
class TGatherMonthLines final : public TMonthLineSink {
 public:
  TGatherMonthLines(std::vector<TkzmEntry>& entries, std::vector<TKeptLine>& kept) : m_entries(entries), m_kept(kept) {}
  void Entry(const TEntryLine& line) override;
  void Kept(int32_t sortDate, std::string_view bytes) override;

 private:
  std::vector<TkzmEntry>& m_entries;
  std::vector<TKeptLine>& m_kept;
};

// ReadMonthLines gathering the entries (in file order) and the kept lines.
int ParseMonthBytes(std::string_view bytes, int32_t firstDay, int32_t lastDay,
                    std::vector<TkzmEntry>& entries, std::vector<TKeptLine>& kept);

}  // namespace kzm
