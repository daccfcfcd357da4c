#pragma once

// 「年間の集計」: the accounting months whose periods end in a year, side by side. A table of
// categories by months with totals and averages, 収入, 支出, 差額 and the accounts' month-end
// balances; a bar chart of one category (or of all spending) over the months against the
// same months a year earlier; export to CSV and printing through the print preview.

#include <QWidget>

#include <string>
#include <vector>

#include "report/YearReport.h"
#include "ui/common/DataWindows.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace kzm::ui {

class TFormPrintPreView;

// Two bars a month: the year before in grey, the year itself in the program's colour.
class TYearChart : public QWidget {
  Q_OBJECT

 public:
  explicit TYearChart(QWidget* parent = nullptr);
  void SetSeries(const QStringList& labels, const std::vector<int64_t>& current, const std::vector<int64_t>& previous);
  [[nodiscard]] const std::vector<int64_t>& Current() const { return m_current; }
  [[nodiscard]] const std::vector<int64_t>& Previous() const { return m_previous; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QStringList m_labels;
  std::vector<int64_t> m_current;
  std::vector<int64_t> m_previous;
};

class TFmYearReport : public QWidget, public TDataWindowInfo {
  Q_OBJECT

 public:
  explicit TFmYearReport(QWidget* parent = nullptr);
  ~TFmYearReport() override;

  // Summarises the year and the year before and shows them.
  void ShowYear(int year);
  [[nodiscard]] const kzm::TYearReport& Report() const { return m_report; }
  [[nodiscard]] QTableWidget& Table() const { return *m_table; }
  [[nodiscard]] TYearChart& Chart() const { return *m_chart; }
  // Writes the export; false after telling the user why not.
  bool ExportCsv(const QString& path);

  [[nodiscard]] kzm::TDataWindow DataWindowInfo() const override;

 protected:
  bool event(QEvent* event) override;

 private:
  void Fill();
  void ChartCategoryChanged();
  void ButtonCsvClick();
  void ButtonPrintClick();

  kzm::TYearReport m_report;
  kzm::TYearReport m_previous;
  std::string m_chartKey;  // the category of the chart; empty for all spending
  QLabel* m_title = nullptr;
  QTableWidget* m_table = nullptr;
  QComboBox* m_category = nullptr;
  TYearChart* m_chart = nullptr;
  QPushButton* m_buttonBefore = nullptr;
  QPushButton* m_buttonNext = nullptr;
  QPushButton* m_buttonCsv = nullptr;
  QPushButton* m_buttonPrint = nullptr;
};

// Draws the year's table on the preview's pages: a heading with the year and page number,
// then the lines, as many pages as they need.
void DrawYearPrintout(TFormPrintPreView& preview, const kzm::TYearReport& report);

}  // namespace kzm::ui
