#pragma once

// TMultiStringList: strings that each own a small value record, a cached typed reading of
// a text value.

#include <cstdint>
#include <string>
#include <vector>

namespace kzm {

enum class TValueKind : uint8_t {
  vkUntyped = 0,  // text as loaded, not yet read as a type
  vkInteger = 1,  // integer (or boolean 0/1) in intValue
  vkFloat = 2,    // reserved, never set
  vkText = 3,     // text in text
};

struct TValueRecord {
  TValueKind kind = TValueKind::vkUntyped;
  int32_t intValue = 0;
  double floatValue = 0.0;
  std::string text;
};

class TMultiStringList {
 public:
  virtual ~TMultiStringList() = default;

  [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
  [[nodiscard]] const std::string& Strings(int index) const;
  [[nodiscard]] TValueRecord& Record(int index);
  [[nodiscard]] const TValueRecord& Record(int index) const;

  // Appends s with a fresh record; returns its index.
  virtual int Add(std::string s);
  // Inserts s with a fresh record before index (0 ≤ index ≤ Count()).
  virtual void Insert(int index, std::string s);
  virtual void Delete(int index);
  virtual void Clear();

 private:
  struct TItem {
    std::string s;
    TValueRecord record;
  };
  std::vector<TItem> m_items;
};

}  // namespace kzm
