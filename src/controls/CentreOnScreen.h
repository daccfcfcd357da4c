#pragma once

class QWidget;

namespace kzm::ui {

// Centres the window in the work area of its screen (its parent's, else the primary one)
// each time it is shown, instead of over its parent window.
void CentreOnScreenWhenShown(QWidget& window);

}  // namespace kzm::ui
