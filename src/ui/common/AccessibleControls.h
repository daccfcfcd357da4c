#pragma once

// What a screen reader hears from the program's own drawn controls, which Qt cannot describe
// by itself: a round button is a push button named by its caption, with its tooltip as the
// description and a press action; a picture control is a graphic; a link label is a link.

namespace kzm::ui {

// Installs the descriptions once for the whole program (again does nothing); the windows'
// too.
void InstallAccessibleControls();
// Windows made straight from QWidget are windows to readers, not panes.
void InstallAccessibleWindows();
// Widgets that paint their own tables (the grids) are tables to readers, cell by cell.
void InstallAccessibleTables();

}  // namespace kzm::ui
