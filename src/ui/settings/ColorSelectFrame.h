#pragma once

// The colour picker TFrameColorSelect: a colour shown as red, green and blue, as hue,
// saturation and value and as RRGGBB text, with a hue strip, saturation and value sliders
// and a palette of 64 swatches. Every way of changing it keeps the others in step.

#include <QWidget>

#include <array>

#include "graphics/ColorPick.h"

class QLineEdit;
class QSlider;
class QSpinBox;

namespace kzm::ui {

// A plain filled rectangle with a frame, showing one colour.
class TColorShape : public QWidget {
  Q_OBJECT

 public:
  explicit TColorShape(QWidget* parent = nullptr);
  [[nodiscard]] TColor Color() const { return m_color; }
  void SetColor(TColor color);
  void SetFrameColor(const QColor& color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TColor m_color = 0xFFFFFF;
  QColor m_frame = Qt::black;
};

class THueStrip;
class TColorPalette;

class TFrameColorSelect : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameColorSelect(QWidget* parent = nullptr);

  [[nodiscard]] TColor Color() const { return m_pick.Color(); }
  // Shows color (layout BBGGRR) in every field.
  void SetColor(TColor color);
  // Switches the sliders, the edits and the hue strip together.
  void SetPickerEnabled(bool enabled);

  // A colour dragged from the colour tree and let go at globalPos: when that is one of the
  // first palette swatches, the swatch takes color (true).
  bool DropOnPalette(QPoint globalPos, TColor color);

 private:
  friend class THueStrip;
  friend class TColorPalette;

  void CreateEdits();
  QSpinBox* NewNumberEdit(const char* name, const char* label, int top, bool keyboardTracking);
  void RgbEdited();
  void HsvEdited();
  void HexEdited();
  void SlidersMoved();
  void PickHue(int x);
  void PickPalette(TColor color);
  // Shows the picker's state in every field, with the edit handlers held off.
  void ShowPick();

  TColorPick m_pick;
  bool m_updating = false;

  TColorShape* m_shape = nullptr;
  QLineEdit* m_rgbText = nullptr;
  QSpinBox* m_red = nullptr;
  QSpinBox* m_green = nullptr;
  QSpinBox* m_blue = nullptr;
  QSpinBox* m_hue = nullptr;
  QSpinBox* m_saturation = nullptr;
  QSpinBox* m_value = nullptr;
  QSlider* m_saturationSlider = nullptr;
  QSlider* m_valueSlider = nullptr;
  THueStrip* m_strip = nullptr;
  TColorPalette* m_palette = nullptr;
};

}  // namespace kzm::ui
