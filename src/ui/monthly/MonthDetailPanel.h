#pragma once

// TMonthDetailPanel: the small window beside a cell of the monthly view that lists the
// entries behind its amount. A tool window of its own that never takes the focus.

#include <QWidget>

#include "views/MonthTable.h"

namespace kzm::ui {

class TMonthDetailPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TMonthDetailPanel(QWidget* owner);

  // Takes the lines to show and sizes itself to them.
  void SetDetail(const kzm::TMonthDetail& detail);
  [[nodiscard]] const kzm::TMonthDetail& Detail() const { return m_detail; }
  // The height of one line: the font's height + 3.
  [[nodiscard]] int LineHeight() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  kzm::TMonthDetail m_detail;
};

}  // namespace kzm::ui
