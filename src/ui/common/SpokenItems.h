#pragma once

// Table cells and labels whose text a screen reader should say differently from how it
// reads on screen: a window may mark a below-zero amount only in red, which a reader does
// not see.

#include <cstdint>

class QTableWidgetItem;

namespace kzm::ui {

// A read-only amount ("-1,461"), right-aligned; a screen reader says "マイナス 1,461円".
[[nodiscard]] QTableWidgetItem* AmountItem(int64_t yen);

}  // namespace kzm::ui
