#pragma once

class QWidget;

namespace kzm::ui {

// The category replacement, modal. Refused while a daily window is open (it comes forward).
// Afterwards every window is told that any day may have changed.
void OpenReplace(QWidget* parent = nullptr);

}  // namespace kzm::ui
