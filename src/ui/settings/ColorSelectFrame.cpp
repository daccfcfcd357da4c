#include "ui/settings/ColorSelectFrame.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <QSpinBox>

#include "controls/UiBasics.h"
#include "foundation/ColorModel.h"

namespace kzm::ui {

namespace {

constexpr int kFrameWidth = 236;
constexpr int kFrameHeight = 374;
constexpr int kEditLeft = 168;
constexpr int kEditWidth = 60;
constexpr int kRowHeight = 19;
constexpr int kSliderTop = 134;  // the value slider; the palette starts below it
constexpr int kSliderHeight = 17;
constexpr int kPaletteTop = kSliderTop + kSliderHeight + 10;

// A label ending just left of an edit in the same row.
void AddLabel(const char* text, int top, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setGeometry(kEditLeft - 60, top, 58, kRowHeight);
  label->setBuddy(buddy);
}

}  // namespace

TColorShape::TColorShape(QWidget* parent) : QWidget(parent) {}

void TColorShape::SetColor(TColor color) {
  m_color = color;
  update();
}

void TColorShape::SetFrameColor(const QColor& color) {
  m_frame = color;
  update();
}

void TColorShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), isEnabled() ? ToQColor(m_color) : QColor(Qt::white));
  painter.setPen(m_frame);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// The hue strip: every column the colour of its hue at full saturation and value, and a
// marker around the current hue. Pressing or dragging picks the hue under the pointer.
class THueStrip : public QWidget {
 public:
  explicit THueStrip(TFrameColorSelect& frame) : QWidget(&frame), m_frame(frame) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const int w = width();
    for (int x = 0; x < w; ++x) {
      const TRgb rgb = HsvToRgb(HueAtStripX(x, w), 100, 100);
      painter.fillRect(x, 0, 1, height(), QColor(rgb.red, rgb.green, rgb.blue));
    }
    if (!isEnabled()) return;
    const int x = StripXOfHue(m_frame.m_pick.Hue(), w);
    const int middle = height() / 2;
    painter.setPen(Qt::white);
    painter.drawRect(x - 5, middle - 5, 10, 10);
    painter.setPen(Qt::black);
    painter.drawRect(x - 4, middle - 4, 8, 8);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    m_dragging = true;
    m_frame.PickHue(event->position().toPoint().x());
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (m_dragging) m_frame.PickHue(event->position().toPoint().x());
  }
  void mouseReleaseEvent(QMouseEvent*) override { m_dragging = false; }

 private:
  TFrameColorSelect& m_frame;
  bool m_dragging = false;
};

// The 64 swatches. A click picks a swatch's colour; the first swatches take a colour dragged
// from the colour tree.
class TColorPalette : public QWidget {
 public:
  explicit TColorPalette(TFrameColorSelect& frame) : QWidget(&frame), m_frame(frame), m_colors(PaletteColors()) {
    setGeometry(0, kPaletteTop, kFrameWidth, kFrameHeight - kPaletteTop);
  }

  [[nodiscard]] TRect Swatch(int index) const {
    TRect r = PaletteSwatch(index, kFrameWidth, kFrameHeight, kPaletteTop);
    r.top -= kPaletteTop;
    r.bottom -= kPaletteTop;
    return r;
  }
  [[nodiscard]] int SwatchAt(QPoint p) const {
    for (int i = 0; i < kPaletteCount; ++i) {
      const TRect r = Swatch(i);
      if (p.x() >= r.left && p.x() < r.right && p.y() >= r.top && p.y() < r.bottom) return i;
    }
    return -1;
  }
  bool Drop(QPoint p, TColor color) {
    const int i = SwatchAt(p);
    if (i < 0 || i >= kPaletteDropTargets) return false;
    m_colors[static_cast<size_t>(i)] = color;
    update();
    return true;
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    for (int i = 0; i < kPaletteCount; ++i) {
      const TRect r = Swatch(i);
      const QRect rect(r.left, r.top, r.Width(), r.Height());
      painter.fillRect(rect, ToQColor(m_colors[static_cast<size_t>(i)]));
      painter.setPen(QColor(0x80, 0x80, 0x80));
      painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
  }
  void mousePressEvent(QMouseEvent* event) override {
    const int i = SwatchAt(event->position().toPoint());
    if (i >= 0 && event->button() == Qt::LeftButton) m_frame.PickPalette(m_colors[static_cast<size_t>(i)]);
  }

 private:
  TFrameColorSelect& m_frame;
  std::array<TColor, kPaletteCount> m_colors;
};

TFrameColorSelect::TFrameColorSelect(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FrameColorSelect1"));
  setFixedSize(kFrameWidth, kFrameHeight);
  m_shape = new TColorShape(this);
  m_shape->setObjectName(QStringLiteral("ShapeColor"));
  m_shape->setGeometry(8, 8, 110, 75);
  CreateEdits();
  m_strip = new THueStrip(*this);
  m_strip->setObjectName(QStringLiteral("ImageColor"));
  m_strip->setGeometry(8, 98, 110, 15);
  m_saturationSlider = new QSlider(Qt::Horizontal, this);
  m_saturationSlider->setObjectName(QStringLiteral("TrackBarS"));
  m_saturationSlider->setGeometry(3, 115, 122, kSliderHeight);
  m_valueSlider = new QSlider(Qt::Horizontal, this);
  m_valueSlider->setObjectName(QStringLiteral("TrackBarV"));
  m_valueSlider->setGeometry(3, kSliderTop, 122, kSliderHeight);
  for (QSlider* slider : {m_saturationSlider, m_valueSlider}) {
    slider->setRange(0, 100);
    slider->setTickInterval(5);
    slider->setTickPosition(QSlider::NoTicks);  // no room for tick marks in 17 pixels
    slider->setValue(100);
    connect(slider, &QSlider::valueChanged, this, &TFrameColorSelect::SlidersMoved);
  }
  m_palette = new TColorPalette(*this);
  m_palette->setObjectName(QStringLiteral("Palette"));
  SetColor(0);
}

QSpinBox* TFrameColorSelect::NewNumberEdit(const char* name, const char* label, int top, bool keyboardTracking) {
  auto* edit = new QSpinBox(this);
  edit->setObjectName(QString::fromLatin1(name));
  // Out-of-range numbers are typed and then clamped or wrapped by the picker, as the user
  // sees them happen.
  edit->setRange(-999, 999);
  edit->setKeyboardTracking(keyboardTracking);
  edit->setGeometry(kEditLeft, top, kEditWidth, kRowHeight);
  AddLabel(label, top, edit, this);
  return edit;
}

void TFrameColorSelect::CreateEdits() {
  m_rgbText = new QLineEdit(this);
  m_rgbText->setObjectName(QStringLiteral("LeRGB"));
  m_rgbText->setGeometry(kEditLeft, 7, kEditWidth, kRowHeight);
  m_rgbText->setMaxLength(8);
  AddLabel("RGB値 ", 7, m_rgbText, this);
  connect(m_rgbText, &QLineEdit::editingFinished, this, &TFrameColorSelect::HexEdited);

  m_red = NewNumberEdit("EDred", "赤[R]", 26, true);
  m_green = NewNumberEdit("EDgreen", "緑[G]", 45, true);
  m_blue = NewNumberEdit("EDblue", "青[B]", 64, true);
  for (QSpinBox* edit : {m_red, m_green, m_blue})
    connect(edit, &QSpinBox::valueChanged, this, &TFrameColorSelect::RgbEdited);
  // Hue, saturation and value take effect on Enter, on leaving the field or by the arrows,
  // so that typing "-10" is not turned round at the "-1".
  m_hue = NewNumberEdit("LeH", "色相[H]", 96, false);
  m_saturation = NewNumberEdit("LeS", "彩度[S]", 115, false);
  m_value = NewNumberEdit("LeV", "明度[V]", 134, false);
  for (QSpinBox* edit : {m_hue, m_saturation, m_value})
    connect(edit, &QSpinBox::valueChanged, this, &TFrameColorSelect::HsvEdited);
}

void TFrameColorSelect::SetColor(TColor color) {
  m_pick.SetByColorValue(color);
  ShowPick();
}

bool TFrameColorSelect::DropOnPalette(QPoint globalPos, TColor color) {
  const QPoint at = m_palette->mapFromGlobal(globalPos);
  return m_palette->rect().contains(at) && m_palette->Drop(at, color);
}

void TFrameColorSelect::SetPickerEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{m_saturationSlider, m_valueSlider, m_rgbText, m_red, m_green,
                                                     m_blue, m_hue, m_saturation, m_value, m_strip})
    w->setEnabled(enabled);
}

void TFrameColorSelect::RgbEdited() {
  if (m_updating) return;
  m_pick.SetByColor(m_red->value(), m_green->value(), m_blue->value());
  ShowPick();
}

void TFrameColorSelect::HsvEdited() {
  if (m_updating) return;
  m_pick.SetByHsv(m_hue->value(), m_saturation->value(), m_value->value());
  ShowPick();
}

void TFrameColorSelect::HexEdited() {
  if (m_updating) return;
  m_pick.SetByHexText(m_rgbText->text().toStdString());
  ShowPick();
}

void TFrameColorSelect::SlidersMoved() {
  if (m_updating) return;
  m_pick.SetBySliders(m_saturationSlider->value(), m_valueSlider->value());
  ShowPick();
}

void TFrameColorSelect::PickHue(int x) {
  if (!m_strip->isEnabled()) return;
  m_pick.SetByHsv(HueAtStripX(x, m_strip->width()), m_pick.Saturation(), m_pick.Value());
  ShowPick();
}

void TFrameColorSelect::PickPalette(TColor color) {
  m_pick.SetByColorValue(color);
  ShowPick();
}

void TFrameColorSelect::ShowPick() {
  m_updating = true;
  m_red->setValue(m_pick.Red());
  m_green->setValue(m_pick.Green());
  m_blue->setValue(m_pick.Blue());
  m_hue->setValue(m_pick.Hue());
  m_saturation->setValue(m_pick.Saturation());
  m_value->setValue(m_pick.Value());
  m_rgbText->setText(QString::fromStdString(m_pick.HexText()));
  m_saturationSlider->setValue(m_pick.Saturation());
  m_valueSlider->setValue(m_pick.Value());
  m_shape->SetColor(m_pick.Color());
  m_strip->update();
  m_updating = false;
}

}  // namespace kzm::ui
