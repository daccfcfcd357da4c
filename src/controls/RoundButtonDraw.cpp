#include "controls/RoundButtonDraw.h"

#include <QPainter>
#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>

#include "controls/CanvasRoutines.h"
#include "controls/RoundButtonLayers.h"
#include "foundation/WindowSystem.h"
#include "graphics/GraphicSource.h"

namespace kzm::ui {

// A face picture taken from the picture source, handed back when dropped. A 24-bit picture
// is shown through a 32-bit copy whose top-left colour is transparent.
struct TorvBtnDraw::TFace {
  TGraphicPtr source;
  TBitmap converted;

  explicit TFace(const std::string& name) {
    try {
      source = ImageSource().GetImage(name, kImageShared, 0);
    } catch (const std::exception& e) {
      // A broken picture leaves the button without a face rather than stopping its window.
      WindowSystem().Notify(e.what());
    }
    if (source && !source->Is32()) {
      converted = *source;
      converted.SetBitsPerPixel(32);
      KeyColorToAlpha(converted, 255);
    }
  }
  ~TFace() {
    if (source) ImageSource().ReleaseImage(source);
  }
  TFace(const TFace&) = delete;
  TFace& operator=(const TFace&) = delete;

  [[nodiscard]] const TBitmap* Picture() const {
    if (!source) return nullptr;
    return source->Is32() ? source.get() : &converted;
  }
};

TorvBtnDraw::TorvBtnDraw() { UpdateShape(); }

TorvBtnDraw::~TorvBtnDraw() = default;

template <typename T>
void TorvBtnDraw::Change(T& field, const T& value, int change) {
  if (field == value) return;
  field = value;
  Changed(change);
}

void TorvBtnDraw::Changed(int change) {
  if (change >= kShape) UpdateShape();
  if (change >= kBackground) m_captured = false;
  m_dirty = true;
  if (OnChanged) OnChanged();
}

void TorvBtnDraw::SetSettings(const TorvBtnSettings& settings) {
  if (settings == m_settings) return;
  const TorvBtnSettings old = m_settings;
  m_settings = settings;
  ReloadFace(m_faceFlat, old.faceFlat, settings.faceFlat);
  ReloadFace(m_faceOver, old.faceOver, settings.faceOver);
  ReloadFace(m_faceDown, old.faceDown, settings.faceDown);
  Changed(kBackground);
}

void TorvBtnDraw::SetStyle(TorvBtnStyle v) { Change(m_settings.style, v, kBackground); }
void TorvBtnDraw::SetSquare(bool v) { Change(m_settings.square, v, kBackground); }
void TorvBtnDraw::SetFlat(bool v) { Change(m_settings.flat, v, kLook); }
void TorvBtnDraw::SetRegion(bool v) { Change(m_settings.region, v, kShape); }
void TorvBtnDraw::SetTransParent(bool v) { Change(m_settings.transParent, v, kBackground); }
void TorvBtnDraw::SetTextAntialiasing(bool v) { Change(m_settings.textAntialiasing, v, kLook); }
void TorvBtnDraw::SetTextEmboss(bool v) { Change(m_settings.textEmboss, v, kLook); }
void TorvBtnDraw::SetAlignment(TBtnAlignment v) { Change(m_settings.alignment, v, kLook); }
void TorvBtnDraw::SetColor(TColor v) { Change(m_settings.color, v, kBackground); }
void TorvBtnDraw::SetColorDown(TColor v) { Change(m_settings.colorDown, v, kLook); }
void TorvBtnDraw::SetColorOver(TColor v) { Change(m_settings.colorOver, v, kLook); }
void TorvBtnDraw::SetColorFocus(TColor v) { Change(m_settings.colorFocus, v, kLook); }
void TorvBtnDraw::SetFocusLineWidth(int v) { Change(m_settings.focusLineWidth, v, kLook); }
void TorvBtnDraw::SetOverDrawType(TDrawType v) { Change(m_settings.overDrawType, v, kLook); }
void TorvBtnDraw::SetOverDrawAlpha(int v) { Change(m_settings.overDrawAlpha, v, kLook); }
void TorvBtnDraw::SetFaceMonoColor(bool v) { Change(m_settings.faceMonoColor, v, kLook); }

void TorvBtnDraw::ReloadFace(std::unique_ptr<TFace>& face, const std::string& oldName, const std::string& name) {
  if (name == oldName) return;
  face = name.empty() ? nullptr : std::make_unique<TFace>(name);
}

void TorvBtnDraw::SetFaceFlat(const std::string& name) {
  const std::string old = std::exchange(m_settings.faceFlat, name);
  ReloadFace(m_faceFlat, old, name);
  if (old != name) Changed(kLook);
}

void TorvBtnDraw::SetFaceOver(const std::string& name) {
  const std::string old = std::exchange(m_settings.faceOver, name);
  ReloadFace(m_faceOver, old, name);
  if (old != name) Changed(kLook);
}

void TorvBtnDraw::SetFaceDown(const std::string& name) {
  const std::string old = std::exchange(m_settings.faceDown, name);
  ReloadFace(m_faceDown, old, name);
  if (old != name) Changed(kLook);
}

void TorvBtnDraw::SetCaption(const std::string& caption) { Change(m_caption, caption, kLook); }
void TorvBtnDraw::SetFont(const QFont& font) { Change(m_font, font, kLook); }
void TorvBtnDraw::SetFontColor(TColor color) { Change(m_fontColor, color, kLook); }
void TorvBtnDraw::SetBackColor(TColor color) { Change(m_backColor, color, kBackground); }
void TorvBtnDraw::SetState(TBtnState state) { Change(m_state, state, kLook); }

void TorvBtnDraw::SetSize(int width, int height) {
  if (width == m_composite.Width() && height == m_composite.Height()) return;
  m_composite.SetSize(width, height, 32);
  m_background.SetSize(width, height, 32);
  m_work.SetSize(2 * width, 2 * height, 32);
  Changed(kBackground);
}

void TorvBtnDraw::SetScale(int scale) { Change(m_scale, std::max(1, scale), kShape); }

void TorvBtnDraw::RecaptureBackground() {
  m_captured = false;
  m_dirty = true;
}

void TorvBtnDraw::UpdateShape() {
  m_shape = MakeBtnShape(m_work.Width(), m_work.Height(), m_settings.square, m_scale);
  TRegion region;
  if (m_settings.region) {
    const TRect box = BtnRegionBox(m_shape, m_settings.style);
    if (m_settings.style == TorvBtnStyle::bsCircle) {
      region.AddEllipse(box.left, box.top, box.right, box.bottom, kRgnCopy);
    } else {
      region.AddRect(box, kRgnCopy);
    }
  }
  if (region.Handle() != m_region.Handle()) m_regionChanged = true;
  m_region = region;
}

bool TorvBtnDraw::TakeRegionChanged() {
  const bool changed = m_regionChanged;
  m_regionChanged = false;
  return changed;
}

void TorvBtnDraw::CaptureBackground() {
  FillBitmap32(m_background, m_backColor | 0xFF000000u);
  if (m_settings.transParent && OnCaptureParent) {
    OnCaptureParent(m_background);
    SetBitmapAlpha(m_background, 255);
  }
  if (!(m_settings.transParent && m_settings.color == m_backColor))
    btn::LayBackgroundShape(m_work, m_background, m_shape, m_settings, m_backColor);
  m_captured = true;
}

const TBitmap* TorvBtnDraw::FacePicture() const {
  const TFace* face = m_faceFlat.get();
  if (m_state == kBtnHover && m_faceOver) face = m_faceOver.get();
  if (m_state == kBtnPressed && m_faceDown) face = m_faceDown.get();
  return face ? face->Picture() : nullptr;
}

void TorvBtnDraw::DrawFace() {
  const TBitmap* face = FacePicture();
  if (!face || face->IsEmpty() || !face->Is32()) return;
  const int x = (m_composite.Width() - face->Width()) / 2;
  const int y = (m_composite.Height() - face->Height()) / 2;
  if (m_settings.faceMonoColor) {
    TBitmap tinted = *face;
    SetBitmapRGB(tinted, m_fontColor);
    DrawBitmap32(x, y, m_composite, TDrawType::dtAlpha, tinted);
  } else {
    DrawBitmap32(x, y, m_composite, TDrawType::dtAlpha, *face);
  }
}

void TorvBtnDraw::Render() {
  if (!m_captured) CaptureBackground();
  std::memcpy(m_composite.Bits(), m_background.Bits(), static_cast<std::size_t>(m_composite.Stride()) * m_composite.Height());
  DrawFace();
  if (m_settings.overDrawAlpha != 0)
    btn::LayBody(m_work, m_composite, m_shape, m_settings, m_state, m_backColor);
  const bool disabled = m_state == kBtnDisabled;
  btn::TCaption caption;
  caption.text = &m_caption;
  caption.font = &m_font;
  caption.color = disabled ? GrayTone(m_fontColor) : m_fontColor;
  caption.alignment = m_settings.alignment;
  caption.antialiasing = m_settings.textAntialiasing;
  caption.emboss = m_settings.textEmboss;
  btn::LayCaption(m_work, m_composite, caption);
  btn::LayBevel(m_work, m_composite, m_shape, m_settings, disabled);
  m_dirty = false;
}

const TBitmap& TorvBtnDraw::Composite() {
  if (m_dirty && !m_composite.IsEmpty()) Render();
  return m_composite;
}

void TorvBtnDraw::PaintTo(QPainter& painter, qreal ratio) {
  if (Composite().IsEmpty()) return;
  // The bevel leaves every pixel opaque, so the picture is copied without blending.
  QImage image = btn::WorkImage(m_composite);
  image.setDevicePixelRatio(ratio);
  painter.drawImage(QPointF(0, 0), image);
}

}  // namespace kzm::ui
