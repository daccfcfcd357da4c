#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include "controls/RoundButtonLayers.h"

namespace kzm::ui::btn {

namespace {

QFont DoubledFont(const QFont& font) {
  QFont doubled = font;
  if (font.pixelSize() > 0) {
    doubled.setPixelSize(font.pixelSize() * 2);
  } else {
    doubled.setPointSizeF(font.pointSizeF() * 2);
  }
  return doubled;
}

Qt::Alignment HorizontalAlignment(TBtnAlignment alignment) {
  switch (alignment) {
    case TBtnAlignment::taLeftJustify: return Qt::AlignLeft;
    case TBtnAlignment::taRightJustify: return Qt::AlignRight;
    case TBtnAlignment::taCenter: break;
  }
  return Qt::AlignHCenter;
}

// Writes the lines in white on the black work picture: with antialiasing at double size
// over the whole picture (halved afterwards), otherwise at normal size in its top-left
// quarter, which is the part laid onto the button.
void WriteLines(TBitmap& work, const QStringList& lines, const TCaption& caption) {
  QImage image = WorkImage(work);
  QPainter p(&image);
  const QFont font = caption.antialiasing ? DoubledFont(*caption.font) : *caption.font;
  p.setFont(font);
  p.setPen(Qt::white);
  const int textHeight = QFontMetrics(font).height();
  const int count = static_cast<int>(lines.size());
  const Qt::Alignment align = HorizontalAlignment(caption.alignment) | Qt::AlignVCenter;
  const int flags = static_cast<int>(align) | Qt::TextSingleLine | Qt::TextShowMnemonic;
  if (caption.antialiasing) {
    const int lineHeight = textHeight + 2;
    const int top = (work.Height() - lineHeight * count) / 2 - 1;
    for (int i = 0; i < count; ++i) p.drawText(QRect(2, top + i * lineHeight, work.Width() - 4, lineHeight), flags, lines[i]);
  } else {
    const int lineHeight = textHeight + 1;
    const int width = work.Width() / 2, height = work.Height() / 2;
    const int top = (height - lineHeight * count) / 2 + 1;
    for (int i = 0; i < count; ++i) p.drawText(QRect(1, top + i * lineHeight, width - 1, lineHeight), flags, lines[i]);
  }
}

}  // namespace

void LayCaption(TBitmap& work, TBitmap& composite, const TCaption& caption) {
  if (caption.text->empty()) return;
  const QStringList lines = QString::fromStdString(*caption.text).split(QLatin1Char('\\'));
  FillBitmap32(work, 0);
  WriteLines(work, lines, caption);
  if (caption.antialiasing) HalveBitmap(work);
  if (caption.emboss) EmbossByMap(composite, work);
  TintByMask(composite, work, caption.color);
}

}  // namespace kzm::ui::btn
