#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/ArchiveEntry.h"

namespace kzm {

// The members of a resource archive in file order: each name (the bytes stored in the
// archive) with its entry record. Not sorted; a name may occur more than once.
class TfilesList {
 public:
  [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
  [[nodiscard]] const std::string& Name(int index) const { return m_items.at(index).name; }
  [[nodiscard]] const TArcEntry& Entry(int index) const { return m_items.at(index).entry; }
  [[nodiscard]] std::int32_t Id(int index) const { return Entry(index).id; }
  [[nodiscard]] std::int64_t Offset(int index) const { return Entry(index).offset; }
  [[nodiscard]] std::int64_t Size(int index) const { return Entry(index).size; }

  // Appends name with its record and returns the new index.
  int AddObject(std::string name, const TArcEntry& entry);
  // Appends name with a new record: the next free Id (largest + 1, 1 for an empty list), the
  // name's length and flag 1, everything else zero.
  int AddObject(std::string name);
  // Inserts name with a zeroed record that carries only the name's length.
  void Insert(int index, std::string name);
  // Renames an entry, keeping its record's NameLength in step.
  void Put(int index, std::string name);
  void Delete(int index);
  void Clear() { m_items.clear(); }

  // First index whose name equals name ignoring ASCII letter case, or -1.
  [[nodiscard]] int IndexOfName(std::string_view name) const;

  // The list as one text: each 37-byte record followed by its name bytes, in list order.
  [[nodiscard]] std::string Text() const;
  // Parses the form Text writes. A record whose name runs past the end ends the parse.
  void SetText(std::string_view text);

 private:
  struct TItem {
    std::string name;
    TArcEntry entry;
  };
  std::vector<TItem> m_items;
};

}  // namespace kzm
