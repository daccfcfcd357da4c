#pragma once

// TDateField: a date box ("yyyy/MM/dd" with a calendar drop-down) that behaves as the other
// fields of a window: Tab and Shift+Tab leave it for the next or previous control instead of
// stepping between year, month and day inside it, where a person cannot see that the next
// keys change the date; the arrow keys change the part the cursor is in; a click selects the
// part clicked, so that typing replaces it.

#include <QDateEdit>

namespace kzm::ui {

class TDateField : public QDateEdit {
  Q_OBJECT

 public:
  explicit TDateField(QWidget* parent = nullptr);

 protected:
  bool focusNextPrevChild(bool next) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SelectPartAtCursor();
};

}  // namespace kzm::ui
