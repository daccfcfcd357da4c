#pragma once

// 「これからの残高」: each asset account's balance from today over the next 3, 6 or 12 months
// as a line chart, and a table of each account's lowest balance and its day, in red where
// it goes below zero (「残高が足りなくなる日」). What could not be foreseen is said below.

#include <QWidget>

#include "card/Forecast.h"
#include "ui/common/DataWindows.h"

class QComboBox;
class QLabel;
class QTableWidget;
class QTableWidgetItem;

namespace kzm::ui {

class TForecastChart;

class TFmForecast : public QWidget, public TDataWindowInfo {
  Q_OBJECT

 public:
  enum : int { kColAccount, kColToday, kColLowest, kColLowestDate, kColShort, kColCount };

  explicit TFmForecast(QWidget* parent = nullptr);
  ~TFmForecast() override;

  // Works the forecast out again from today for months months (3, 6 or 12).
  void ShowMonths(int months);
  [[nodiscard]] const kzm::TForecast& Forecast() const { return m_forecast; }
  [[nodiscard]] QTableWidget& Table() const { return *m_table; }

  [[nodiscard]] kzm::TDataWindow DataWindowInfo() const override;

 protected:
  bool event(QEvent* event) override;

 private:
  void FillTable();
  void ShownChanged(QTableWidgetItem* item);

  kzm::TForecast m_forecast;
  int m_months = 3;
  bool m_working = false;
  std::vector<bool> m_shown;
  QComboBox* m_monthsBox = nullptr;
  TForecastChart* m_chart = nullptr;
  QTableWidget* m_table = nullptr;
  QLabel* m_problems = nullptr;
};

}  // namespace kzm::ui
