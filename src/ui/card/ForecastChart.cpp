#include "ui/card/ForecastChart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "controls/UiBasics.h"
#include "foundation/ColorScheme.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "report/ChartPalette.h"
#include "views/AxisLabels.h"

namespace kzm::ui {

namespace {

constexpr int kMarginLeft = 78;
constexpr int kMarginRight = 12;
constexpr int kMarginTop = 24;
constexpr int kMarginBottom = 22;
// The least room between two dates along the bottom.
constexpr int kLabelGap = 6;

QColor LineColor(int index) {
  TIntegerList& palette = ChartPalette();
  return ToQColor(static_cast<TColor>(palette.Items(index % std::max(1, palette.Count()))));
}

}  // namespace

TForecastChart::TForecastChart(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ChartForecast"));
  setMinimumSize(360, 200);
}

void TForecastChart::SetForecast(const TForecast& forecast, const std::vector<bool>& shown) {
  m_forecast = forecast;
  m_shown = shown;
  update();
}

QRect TForecastChart::Plot() const {
  return QRect(kMarginLeft, kMarginTop, width() - kMarginLeft - kMarginRight, height() - kMarginTop - kMarginBottom);
}

double TForecastChart::DayX(TDayNumber day) const {
  const QRect plot = Plot();
  const double days = std::max(1, m_forecast.last - m_forecast.today);
  return plot.left() + plot.width() * ((day - m_forecast.today) / days);
}

std::vector<TDayNumber> TForecastChart::LineDays() const {
  std::vector<TDayNumber> result;
  for (TDayNumber day = m_forecast.today; day <= m_forecast.last; ++day) {
    if (day == m_forecast.today || DecodeDate(day).day == 1) result.push_back(day);
  }
  return result;
}

std::vector<TForecastChart::TDayLabel> TForecastChart::DayLabels() const {
  const QFontMetrics metrics(font());
  const int top = Plot().bottom() + 3;
  std::vector<TDayLabel> labels;
  std::vector<TAxisLabel> places;
  for (const TDayNumber day : LineDays()) {
    const TYmd ymd = DecodeDate(day);
    const QString text = QString::number(ymd.month) + QStringLiteral("/") + QString::number(ymd.day);
    const int left = static_cast<int>(std::lround(DayX(day))) + 2;
    labels.push_back({text, QRect(left, top, metrics.horizontalAdvance(text), metrics.height())});
    places.push_back({left, metrics.horizontalAdvance(text)});
  }
  const std::vector<bool> fits = LabelsThatFit(places, kLabelGap, width());
  std::vector<TDayLabel> shown;
  for (size_t i = 0; i < labels.size(); ++i) {
    if (fits[i]) shown.push_back(labels[i]);
  }
  return shown;
}

void TForecastChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TColorsList& scheme = ColorScheme();
  painter.fillRect(rect(), ToQColor(scheme.GetColor("全般\\背景色")));
  const QRect plot = Plot();
  if (plot.width() < 10 || plot.height() < 10 || m_forecast.last <= m_forecast.today) return;
  const auto shown = [this](size_t i) { return i >= m_shown.size() || m_shown[i]; };

  int64_t low = 0;
  int64_t high = 0;
  for (size_t i = 0; i < m_forecast.accounts.size(); ++i) {
    if (!shown(i)) continue;
    const TAccountForecast& a = m_forecast.accounts[i];
    low = std::min({low, a.start, a.lowest});
    high = std::max(high, a.start);
    for (const TForecastPoint& p : a.days) high = std::max(high, p.balance);
  }
  const TBalanceAxis axis = BalanceAxis(low, high);
  const double step = axis.step, bottom = axis.bottom, top = axis.top;
  const auto x = [this](TDayNumber day) { return DayX(day); };
  const auto y = [&](int64_t balance) {
    return plot.bottom() - plot.height() * ((static_cast<double>(balance) - bottom) / (top - bottom));
  };

  const QColor text = ToQColor(scheme.GetColor("月間表示\\文字\\通常"));
  const QColor grid(0xDD, 0xDD, 0xDD);
  painter.fillRect(plot, Qt::white);
  const QFontMetrics metrics(font());
  for (double v = bottom; v <= top + step / 2; v += step) {
    const int yy = static_cast<int>(std::lround(y(static_cast<int64_t>(v))));
    painter.setPen(grid);
    painter.drawLine(plot.left(), yy, plot.right(), yy);
    painter.setPen(text);
    const QString label = QString::fromStdString(FormatThousands(static_cast<int64_t>(v)));
    painter.drawText(QRect(0, yy - metrics.height() / 2, kMarginLeft - 4, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, label);
  }
  // The first of each month along the bottom.
  painter.setPen(grid);
  for (const TDayNumber day : LineDays()) {
    const int xx = static_cast<int>(std::lround(x(day)));
    painter.drawLine(xx, plot.top(), xx, plot.bottom());
  }
  painter.setPen(text);
  for (const TDayLabel& label : DayLabels()) painter.drawText(label.rect, Qt::AlignLeft | Qt::AlignTop, label.text);
  // Below zero the account cannot pay: the zero line stands out.
  painter.setPen(QPen(QColor(0xE0, 0x20, 0x20), 1, Qt::DashLine));
  const int zero = static_cast<int>(std::lround(y(0)));
  painter.drawLine(plot.left(), zero, plot.right(), zero);

  painter.setRenderHint(QPainter::Antialiasing, true);
  int legendX = plot.left();
  for (size_t i = 0; i < m_forecast.accounts.size(); ++i) {
    if (!shown(i)) continue;
    const TAccountForecast& a = m_forecast.accounts[i];
    const QColor colour = LineColor(static_cast<int>(i));
    QPainterPath path(QPointF(x(m_forecast.today), y(a.start)));
    for (const TForecastPoint& p : a.days) {
      path.lineTo(x(p.date), path.currentPosition().y());
      path.lineTo(x(p.date), y(p.balance));
    }
    path.lineTo(x(m_forecast.last), path.currentPosition().y());
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    const QString name = QString::fromStdString(KeyName(a.accountKey));
    painter.fillRect(legendX, 8, 14, 4, colour);
    painter.setPen(text);
    painter.drawText(legendX + 18, 6 + metrics.ascent() / 2 + 4, name);
    legendX += 26 + metrics.horizontalAdvance(name);
  }
}

}  // namespace kzm::ui
