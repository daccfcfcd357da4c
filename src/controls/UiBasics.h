#pragma once

// The small conversions and widget makers the windows share: a core colour, text or day as
// Qt wants it and back, and a plain push button.

#include "foundation/Color.h"
#include "foundation/Dates.h"

#include <QColor>
#include <QDate>
#include <QString>

#include <string>

class QPushButton;
class QTableWidgetItem;
class QWidget;

namespace kzm::ui {

// The colour as Qt paints it; the alpha byte of a TColor is ignored (always opaque).
[[nodiscard]] inline QColor ToQColor(TColor c) { return {RedOf(c), GreenOf(c), BlueOf(c)}; }
// The colour Qt reports as a core colour with no alpha byte.
[[nodiscard]] inline TColor FromQColor(const QColor& c) { return MakeColor(c.red(), c.green(), c.blue()); }

// Core text is UTF-8.
[[nodiscard]] inline QString Q(const std::string& text) { return QString::fromStdString(text); }

// Day numbers count from 1899-12-30, as the month files do.
[[nodiscard]] QDate ToQDate(TDayNumber day);
// An invalid date gives day 0.
[[nodiscard]] TDayNumber ToDay(const QDate& date);

// A push button named for the window's tests. It never presses itself on Enter: only the
// button a window marks as its default does.
[[nodiscard]] QPushButton* NewButton(const char* caption, const char* name, QWidget* parent);

// A table cell the person can select but not edit; amounts stand right.
[[nodiscard]] QTableWidgetItem* ReadOnlyItem(const QString& text, bool alignRight = false);

}  // namespace kzm::ui
