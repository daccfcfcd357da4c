#include "ui/monthly/MonthDetailPanel.h"

#include <QFontMetrics>
#include <QPainter>

#include "controls/UiBasics.h"
#include "foundation/Text.h"

namespace kzm::ui {

namespace {

const QColor kLineColor(0xC0, 0xC0, 0xC0);
const QColor kEntryText(0x80, 0x80, 0x80);

}  // namespace

TMonthDetailPanel::TMonthDetailPanel(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
  setObjectName(QStringLiteral("MonthDetailPanel"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  setFont(owner->font());
}

int TMonthDetailPanel::LineHeight() const { return QFontMetrics(font()).height() + 3; }

void TMonthDetailPanel::SetDetail(const kzm::TMonthDetail& detail) {
  m_detail = detail;
  const int l = LineHeight();
  setFixedSize(10 * l + 2, static_cast<int>(m_detail.lines.size()) * l);
  update();
}

void TMonthDetailPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics(font());
  const TTextWidth measure = [&metrics](std::string_view text) {
    return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  };
  const int l = LineHeight();
  for (size_t i = 0; i < m_detail.lines.size(); ++i) {
    const int top = static_cast<int>(i) * l;
    const bool header = i == 0;
    painter.fillRect(0, top, 10 * l + 2, l, header ? ToQColor(m_detail.headerColor) : QColor(Qt::white));
    painter.setPen(header ? QColor(Qt::white) : kEntryText);
    const int baseline = top + 2 + metrics.ascent();
    const kzm::TDetailLine& line = m_detail.lines[i];
    painter.drawText(3, baseline, QString::fromStdString(FitText(line.item, measure, 6 * l)));
    const QString amount = QString::fromStdString(FitText(line.amount, measure, 4 * l));
    painter.drawText(10 * l - 2 - metrics.horizontalAdvance(amount), baseline, amount);
    painter.setPen(kLineColor);
    painter.drawLine(0, top + l - 1, 10 * l + 1, top + l - 1);
  }
}

}  // namespace kzm::ui
