#pragma once

// The line chart of 「これからの残高」: one line per account over the days of the forecast,
// each balance held until the day it changes, with the zero line and a legend.

#include <QWidget>

#include <vector>

#include "card/Forecast.h"

namespace kzm::ui {

class TForecastChart : public QWidget {
  Q_OBJECT

 public:
  explicit TForecastChart(QWidget* parent = nullptr);

  // Shows the accounts of forecast whose shown flag is set (all when shown is shorter).
  void SetForecast(const kzm::TForecast& forecast, const std::vector<bool>& shown);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  kzm::TForecast m_forecast;
  std::vector<bool> m_shown;
};

}  // namespace kzm::ui
