#pragma once

// The line chart of 「これからの残高」: one line per account over the days of the forecast,
// each balance held until the day it changes, with the zero line and a legend.

#include <QRect>
#include <QString>
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

  // A date along the bottom as it is drawn: today's, then the first of the months, thinned
  // out where they would run into each other.
  struct TDayLabel {
    QString text;
    QRect rect;
  };
  [[nodiscard]] std::vector<TDayLabel> DayLabels() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The days that get a line: today and the first of each month.
  [[nodiscard]] std::vector<kzm::TDayNumber> LineDays() const;
  [[nodiscard]] QRect Plot() const;
  [[nodiscard]] double DayX(kzm::TDayNumber day) const;

  kzm::TForecast m_forecast;
  std::vector<bool> m_shown;
};

}  // namespace kzm::ui
