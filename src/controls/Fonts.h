#pragma once

// The windows name the fonts of the desktop they were designed on ("ＭＳ Ｐゴシック"); here
// those names resolve to the IPA fonts, which hold every Japanese character the program
// shows.

#include <QFont>

namespace kzm::ui {

// The program's proportional Japanese font, as the windows name it.
inline constexpr const char* kProgramFontFamily = "ＭＳ Ｐゴシック";

// Maps the named fonts to installed Japanese fonts. Call once, after the QApplication.
void InstallFontSubstitutions();
// The program's font at the given point size.
[[nodiscard]] QFont ProgramFont(int pointSize = 9);

}  // namespace kzm::ui
