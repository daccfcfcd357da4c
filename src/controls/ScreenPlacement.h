#pragma once

// The screens as the window-placement rules see them.

#include "foundation/WindowPlacement.h"

#include <QSize>
#include <QWidget>

#include <vector>

namespace kzm::ui {

// Size of the primary screen.
[[nodiscard]] QSize ScreenSize();
// The work areas (screen less panels) of every monitor, primary first.
[[nodiscard]] std::vector<TWindowRect> WorkAreas();
// The work area of the monitor the window is on.
[[nodiscard]] TWindowRect WorkAreaOf(const QWidget& window);
// Moves (and if need be shrinks) the window onto the screen when it lies on no monitor.
void KeepOnScreen(QWidget& window);

}  // namespace kzm::ui
