#pragma once

#include "foundation/Errors.h"

#include <cstdint>
#include <initializer_list>

namespace kzm::ui {

// A small set over an enumeration of at most 32 members, like the option sets of the grid.
template <typename E>
class TEnumSet {
 public:
  constexpr TEnumSet() = default;
  constexpr TEnumSet(std::initializer_list<E> members) {
    for (E m : members) Include(m);
  }
  [[nodiscard]] constexpr bool Contains(E m) const { return (m_bits & Bit(m)) != 0; }
  constexpr TEnumSet& Include(E m) {
    m_bits |= Bit(m);
    return *this;
  }
  constexpr TEnumSet& Exclude(E m) {
    m_bits &= ~Bit(m);
    return *this;
  }
  [[nodiscard]] constexpr TEnumSet With(E m) const { return TEnumSet(*this).Include(m); }
  [[nodiscard]] constexpr TEnumSet Without(E m) const { return TEnumSet(*this).Exclude(m); }
  [[nodiscard]] constexpr bool Empty() const { return m_bits == 0; }
  constexpr bool operator==(const TEnumSet&) const = default;

 private:
  static constexpr uint32_t Bit(E m) { return uint32_t{1} << static_cast<unsigned>(m); }
  uint32_t m_bits = 0;
};

enum class TGridOption : uint8_t {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goDrawFocusSelected,
  goRowSizing,
  goColSizing,
  goRowMoving,
  goColMoving,
  goEditing,
  goTabs,
  goRowSelect,
  goAlwaysShowEditor,
  goThumbTracking,
};
using TGridOptions = TEnumSet<TGridOption>;

inline constexpr TGridOptions kDefaultGridOptions{
    TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine, TGridOption::goVertLine,
    TGridOption::goHorzLine, TGridOption::goRangeSelect};

enum class TGridDrawFlag : uint8_t { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TEnumSet<TGridDrawFlag>;

// The sort marker of a column, drawn after the text of its fixed cells.
enum class TGridSortFlag : uint8_t { gsfNone, gsfForword, gsfReverse };

enum class TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TBorderStyle : uint8_t { bsNone, bsSingle };

enum class TGridState : uint8_t {
  gsNormal,
  gsSelecting,
  gsRowSizing,
  gsColSizing,
  gsRowMoving,
  gsColMoving,
};

// A cell by column (X) and row (Y).
struct TGridCoord {
  int X = 0;
  int Y = 0;
  constexpr bool operator==(const TGridCoord&) const = default;
};

// A block of cells, both corners inclusive.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr bool operator==(const TGridRect&) const = default;
  [[nodiscard]] constexpr bool Contains(int col, int row) const {
    return col >= Left && col <= Right && row >= Top && row <= Bottom;
  }
};

// Raised for an index outside the grid, impossible fixed counts, a grid too large to measure
// and deleting more rows or columns than exist.
class EInvalidGridOperation : public kzm::EkzmError {
 public:
  using EkzmError::EkzmError;
};

inline constexpr const char* kGridIndexOutOfRange = "グリッドインデックス が範囲を超えています";
inline constexpr const char* kFixedColTooBig = "固定列の数は列数より小さくなければなりません";
inline constexpr const char* kFixedRowTooBig = "固定行の数は行数より小さくなければなりません";
inline constexpr const char* kGridTooLarge = "グリッドが大きすぎます";
inline constexpr const char* kTooManyDeleted = "削除する行または列が多すぎます";

}  // namespace kzm::ui
