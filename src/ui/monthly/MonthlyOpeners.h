#pragma once

// The openers of the monthly view's windows that the other windows need not know.

#include "settlement/AccountingMonth.h"

class QWidget;

namespace kzm {
class THeadList;
}

namespace kzm::ui {

// Runs the period setup of the month (monthList: the month as the monthly view summarised
// it). When the user confirmed, every window is told that any day may have changed. True
// when confirmed.
bool OpenMonthSetup(kzm::TMonthKey key, const kzm::THeadList& monthList, QWidget* parent = nullptr);

}  // namespace kzm::ui
