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

namespace kzm::ui {

namespace {

constexpr int kMarginLeft = 78;
constexpr int kMarginRight = 12;
constexpr int kMarginTop = 24;
constexpr int kMarginBottom = 22;

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

void TForecastChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TColorsList& scheme = ColorScheme();
  painter.fillRect(rect(), ToQColor(scheme.GetColor("全般\\背景色")));
  const QRect plot(kMarginLeft, kMarginTop, width() - kMarginLeft - kMarginRight,
                   height() - kMarginTop - kMarginBottom);
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
  const double days = m_forecast.last - m_forecast.today;
  const auto x = [&](TDayNumber day) { return plot.left() + plot.width() * ((day - m_forecast.today) / days); };
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
  for (TDayNumber day = m_forecast.today; day <= m_forecast.last; ++day) {
    const TYmd ymd = DecodeDate(day);
    if (ymd.day != 1 && day != m_forecast.today) continue;
    const int xx = static_cast<int>(std::lround(x(day)));
    painter.setPen(grid);
    painter.drawLine(xx, plot.top(), xx, plot.bottom());
    const QString label = QString::number(ymd.month) + QStringLiteral("/") + QString::number(ymd.day);
    if (xx + 2 + metrics.horizontalAdvance(label) > width()) continue;
    painter.setPen(text);
    painter.drawText(xx + 2, plot.bottom() + metrics.ascent() + 3, label);
  }
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
