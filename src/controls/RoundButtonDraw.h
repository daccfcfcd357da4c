#pragma once

#include <QFont>
#include <functional>
#include <string>

#include "controls/Region.h"
#include "controls/RoundButtonInput.h"
#include "controls/RoundButtonShape.h"
#include "graphics/Bitmap.h"
#include "graphics/BitmapRoutines.h"

class QPainter;

namespace kzm::ui {

enum class TBtnAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// The look of a round button that is kept with it; assigning one button's settings to
// another copies them.
struct TorvBtnSettings {
  TorvBtnStyle style = TorvBtnStyle::bsBox;
  bool square = false;
  bool flat = false;               // no bevel shading, only the outline
  bool region = false;             // the window is clipped to the shape
  bool transParent = false;        // the parent's image is the background
  bool textAntialiasing = true;    // caption drawn at double size and shrunk
  bool textEmboss = false;
  TBtnAlignment alignment = TBtnAlignment::taCenter;
  TColor color = 0xFFFFFF;         // body
  TColor colorDown = 0x000000;     // mixed in while pressed
  TColor colorOver = 0x60A0FF;     // rim under the pointer
  TColor colorFocus = 0xFFA080;    // rim while focused
  int focusLineWidth = 4;          // rim width in button pixels
  TDrawType overDrawType = TDrawType::dtMulti;
  int overDrawAlpha = 255;         // 0 leaves the body out
  std::string faceFlat, faceOver, faceDown;  // picture names by state
  bool faceMonoColor = false;      // face recoloured to the font colour

  friend bool operator==(const TorvBtnSettings&, const TorvBtnSettings&) = default;
};

// Renders a round button into off-screen 32-bit pictures: everything shaded is drawn at
// double size and halved once, and a button whose look has not changed since the last
// paint is shown by copying one picture.
class TorvBtnDraw {
 public:
  TorvBtnDraw();
  ~TorvBtnDraw();
  TorvBtnDraw(const TorvBtnDraw&) = delete;
  TorvBtnDraw& operator=(const TorvBtnDraw&) = delete;

  // Raised after every change that needs a repaint.
  std::function<void()> OnChanged;
  // Fills the background with the parent's image under the button (TransParent).
  std::function<void(TBitmap& background)> OnCaptureParent;

  [[nodiscard]] const TorvBtnSettings& Settings() const { return m_settings; }
  void SetSettings(const TorvBtnSettings& settings);

  [[nodiscard]] TorvBtnStyle Style() const { return m_settings.style; }
  void SetStyle(TorvBtnStyle v);
  [[nodiscard]] bool Square() const { return m_settings.square; }
  void SetSquare(bool v);
  [[nodiscard]] bool Flat() const { return m_settings.flat; }
  void SetFlat(bool v);
  [[nodiscard]] bool Region() const { return m_settings.region; }
  void SetRegion(bool v);
  [[nodiscard]] bool TransParent() const { return m_settings.transParent; }
  void SetTransParent(bool v);
  [[nodiscard]] bool TextAntialiasing() const { return m_settings.textAntialiasing; }
  void SetTextAntialiasing(bool v);
  [[nodiscard]] bool TextEmboss() const { return m_settings.textEmboss; }
  void SetTextEmboss(bool v);
  [[nodiscard]] TBtnAlignment Alignment() const { return m_settings.alignment; }
  void SetAlignment(TBtnAlignment v);
  [[nodiscard]] TColor Color() const { return m_settings.color; }
  void SetColor(TColor v);
  [[nodiscard]] TColor ColorDown() const { return m_settings.colorDown; }
  void SetColorDown(TColor v);
  [[nodiscard]] TColor ColorOver() const { return m_settings.colorOver; }
  void SetColorOver(TColor v);
  [[nodiscard]] TColor ColorFocus() const { return m_settings.colorFocus; }
  void SetColorFocus(TColor v);
  [[nodiscard]] int FocusLineWidth() const { return m_settings.focusLineWidth; }
  void SetFocusLineWidth(int v);
  [[nodiscard]] TDrawType OverDrawType() const { return m_settings.overDrawType; }
  void SetOverDrawType(TDrawType v);
  [[nodiscard]] int OverDrawAlpha() const { return m_settings.overDrawAlpha; }
  void SetOverDrawAlpha(int v);
  [[nodiscard]] const std::string& FaceFlat() const { return m_settings.faceFlat; }
  void SetFaceFlat(const std::string& name);
  [[nodiscard]] const std::string& FaceOver() const { return m_settings.faceOver; }
  void SetFaceOver(const std::string& name);
  [[nodiscard]] const std::string& FaceDown() const { return m_settings.faceDown; }
  void SetFaceDown(const std::string& name);
  [[nodiscard]] bool FaceMonoColor() const { return m_settings.faceMonoColor; }
  void SetFaceMonoColor(bool v);

  // What the owning button passes on.
  void SetCaption(const std::string& caption);
  [[nodiscard]] const std::string& Caption() const { return m_caption; }
  void SetFont(const QFont& font);
  void SetFontColor(TColor color);
  void SetBackColor(TColor color);
  void SetState(TBtnState state);
  [[nodiscard]] TBtnState State() const { return m_state; }
  void SetSize(int width, int height);
  // Work pixels to each pixel of the design's lines (see TBtnShape::scale).
  void SetScale(int scale);
  // Forgets the captured background, e.g. after the parent's picture changed.
  void RecaptureBackground();

  // The finished picture of the button, rendered first if anything changed.
  [[nodiscard]] const TBitmap& Composite();
  // Copies the finished picture to the painter at (0, 0).
  // ratio: device pixels per pixel of the painter (the picture was drawn that much larger).
  void PaintTo(QPainter& painter, qreal ratio = 1.0);
  [[nodiscard]] bool Dirty() const { return m_dirty; }

  // With Region: the window's shape in button pixels; otherwise empty. RegionChanged stays
  // set until the owner has applied it (TakeRegionChanged).
  [[nodiscard]] const TRegion& WindowRegion() const { return m_region; }
  [[nodiscard]] bool TakeRegionChanged();

  [[nodiscard]] const TBtnShape& Shape() const { return m_shape; }

 private:
  struct TFace;
  enum TChange : int { kLook = 0, kShape = 1, kBackground = 2 };

  template <typename T>
  void Change(T& field, const T& value, int change);
  void Changed(int change);
  static void ReloadFace(std::unique_ptr<TFace>& face, const std::string& oldName, const std::string& name);
  void UpdateShape();
  void CaptureBackground();
  void Render();
  void DrawFace();
  [[nodiscard]] const TBitmap* FacePicture() const;

  TorvBtnSettings m_settings;
  std::string m_caption;
  QFont m_font;
  TColor m_fontColor = 0;
  TColor m_backColor = 0xFFFFFF;
  TBtnState m_state = kBtnNormal;
  TBitmap m_composite;
  TBitmap m_background;
  TBitmap m_work;
  TBtnShape m_shape;
  int m_scale = 1;
  bool m_captured = false;
  bool m_dirty = true;
  TRegion m_region;
  bool m_regionChanged = false;
  std::unique_ptr<TFace> m_faceFlat, m_faceOver, m_faceDown;
};

}  // namespace kzm::ui
