#pragma once

class QWidget;

namespace kzm::ui {

// The statement import, modal. Refused while a daily window is open (it comes forward): its
// next save of a day would drop the entries booked into that day. Afterwards every window
// is told that any day may have changed.
void OpenStatementImport(QWidget* parent = nullptr);

}  // namespace kzm::ui
