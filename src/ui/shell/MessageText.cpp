// Text pictures for the mascots' balloons.
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QStringList>

#include <algorithm>

#include "controls/CanvasRoutines.h"
#include "graphics/BitmapRoutines.h"
#include "ui/shell/MessageList.h"

namespace kzm::ui {

TBitmap RenderMessagePart(const std::string& lines) {
  QFont font = QGuiApplication::font();
  font.setPixelSize(12);
  const QFontMetrics metrics(font);
  const QStringList rows = QString::fromStdString(lines).split(QLatin1Char('\n'));
  const int lineHeight = metrics.height();
  int width = 0;
  for (const QString& row : rows) width = std::max(width, metrics.horizontalAdvance(row));
  TBitmap picture(std::max(width, 1), std::max(lineHeight * static_cast<int>(rows.size()), 1), 32);
  FillBitmap32(picture, MakeColor(255, 255, 255, 255));
  {
    QImage view = BitmapAsImage(picture);
    QPainter painter(&view);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int i = 0; i < rows.size(); ++i) {
      const int x = (width - metrics.horizontalAdvance(rows[i])) / 2;
      painter.drawText(x, i * lineHeight + metrics.ascent(), rows[i]);
    }
  }
  return picture;
}

}  // namespace kzm::ui
