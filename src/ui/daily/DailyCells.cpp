#include "ui/daily/DailyCells.h"

namespace kzm::ui {

namespace {

bool IsKeyStart(QChar first, QChar second) { return first.unicode() == 0xFF && second.unicode() < 0x20; }

}  // namespace

QString ToCell(std::string_view text) {
  if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFF &&
      static_cast<unsigned char>(text[1]) < 0x20) {
    QString cell;
    cell += QChar(0xFF);
    cell += QChar(static_cast<unsigned char>(text[1]));
    text.remove_prefix(2);
    return cell + QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromCell(const QString& cell) {
  if (cell.size() >= 2 && IsKeyStart(cell[0], cell[1])) {
    std::string key{'\xFF', static_cast<char>(cell[1].unicode())};
    return key + cell.mid(2).toStdString();
  }
  return cell.toStdString();
}

}  // namespace kzm::ui
