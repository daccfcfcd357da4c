#pragma once

// TorvFlat: one node of a small scene of layered, alpha-blended pictures. A node has a
// picture, a place in its parent, a drawing order, a blend mode, an opacity and a scale; it
// may hold child nodes drawn over it. Only what changed is recomposed: every change marks
// the node's old rectangle in its parent, and the next Render redraws the union of the old
// and new places only. The root node composes into its surface and tells its canvas which
// part of the screen to copy again.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "controls/Region.h"
#include "graphics/BitmapRoutines.h"
#include "graphics/GraphicSource.h"

namespace kzm::ui {

class TorvFlat;

// What a root node draws onto: told which part of it must be copied to the screen again.
class TFlatCanvas {
 public:
  virtual ~TFlatCanvas() = default;
  // region is in canvas coordinates.
  virtual void RepaintRegion(const TRegion& region) = 0;
};

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// Modifier keys and buttons held during a mouse event.
enum TShiftFlag : int { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = int;

// How a point is tested against a node.
enum THitKind : int {
  kHitRect = 0,     // anywhere inside the rectangle
  kHitEllipse = 1,  // inside the ellipse the rectangle holds
  kHitAlpha = 2,    // on a picture pixel with alpha above 128
};

using TFlatNotify = std::function<void(TorvFlat&)>;
using TFlatMouseNotify = std::function<void(TorvFlat&, TMouseButton, TShiftState, int x, int y)>;

class TorvFlat {
 public:
  // A root: give it a canvas with SetCanvas, or none to compose its surface only.
  TorvFlat();
  virtual ~TorvFlat();
  TorvFlat(const TorvFlat&) = delete;
  TorvFlat& operator=(const TorvFlat&) = delete;

  // Makes a child of type T (a TorvFlat) at the end of the list; the node owns it.
  template <class T = TorvFlat, class... Args>
  T* AddChild(Args&&... args) {
    auto child = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = child.get();
    Adopt(std::move(child));
    return raw;
  }
  // A child showing a picture at (left, top) with an opacity: the picture is given that
  // alpha when it has none of its own (see SetImage).
  TorvFlat* AddPicture(std::string_view name, int left, int top, int opacity, int start = 0);

  void SetCanvas(TFlatCanvas* canvas) { m_canvas = canvas; }
  [[nodiscard]] TorvFlat* Parent() const { return m_parent; }
  [[nodiscard]] int ChildCount() const { return static_cast<int>(m_children.size()); }
  // Children in drawing order as of the last Render (insertion order before it).
  [[nodiscard]] TorvFlat* Child(int index) const { return m_children.at(index).get(); }

  // Replaces the picture by the graphic source's picture of that name (mode: TImageMode;
  // start: first archive searched). A picture without alpha is made 32-bit with alpha: a
  // negative alpha makes the top-left colour transparent and the rest −alpha, otherwise
  // every pixel gets alpha. A childless node in a parent takes the picture's size × Scale.
  void SetImage(std::string_view name, int alpha = 255, int mode = kImageShared, int start = 0);
  // Replaces the picture by one of the caller's own (null: none).
  void SetPicture(TGraphicPtr picture);
  // Hands the picture back to the graphic source and drops it.
  void ReleaseImage();
  // Replaces a shared picture by a private copy, so that it may be drawn on.
  void MakePictureOwn();
  [[nodiscard]] const TGraphicPtr& Picture() const { return m_picture; }
  // What the node shows: its picture when it has no children, else its composed surface.
  [[nodiscard]] const TBitmap* CurrentImage() const;
  [[nodiscard]] const TBitmap& Surface() const { return m_surface; }

  [[nodiscard]] int Left() const { return m_left; }
  [[nodiscard]] int Top() const { return m_top; }
  [[nodiscard]] int CenterX() const { return m_centerX; }
  [[nodiscard]] int CenterY() const { return m_centerY; }
  [[nodiscard]] int Width() const { return m_width; }
  [[nodiscard]] int Height() const { return m_height; }
  [[nodiscard]] TRect BoundsRect() const { return {m_left, m_top, m_left + m_width, m_top + m_height}; }
  void SetLeft(int value);
  void SetTop(int value);
  void SetCenterX(int value);
  void SetCenterY(int value);
  // Setting a size directly makes Scale −1.
  void SetWidth(int value);
  void SetHeight(int value);
  // Percent of the picture's size; −1 once a size was set directly.
  [[nodiscard]] int Scale() const { return m_scale; }
  void SetScale(int percent);
  // Resizes the surface and the node; the whole node is redrawn.
  void SetSize(int width, int height);

  [[nodiscard]] int ZOrder() const { return m_zOrder; }
  void SetZOrder(int value);
  [[nodiscard]] TDrawType DrawType() const { return m_drawType; }
  void SetDrawType(TDrawType value);
  [[nodiscard]] int Opacity() const { return m_opacity; }
  void SetOpacity(int value);
  [[nodiscard]] bool Mirror() const { return m_mirror; }
  void SetMirror(bool value);
  [[nodiscard]] bool Visible() const { return m_visible; }
  void SetVisible(bool value);
  [[nodiscard]] bool FillBack() const { return m_fillBack; }
  void SetFillBack(bool value);
  [[nodiscard]] TColor BackColor() const { return m_backColor; }
  void SetBackColor(TColor value);

  [[nodiscard]] int HitKind() const { return m_hitKind; }
  void SetHitKind(int kind) { m_hitKind = kind; }
  [[nodiscard]] bool MouseEvents() const { return m_mouseEvents; }
  void SetMouseEvents(bool on) { m_mouseEvents = on; }
  // Feedback by blend mode: lighter under the pointer, darker while pressed.
  [[nodiscard]] bool AutoHighlight() const { return m_autoHighlight; }
  void SetAutoHighlight(bool on);

  TFlatNotify OnMouseEnter;
  TFlatNotify OnMouseLeave;
  TFlatMouseNotify OnMouseDown;
  TFlatMouseNotify OnMouseUp;
  TFlatNotify OnClick;

  [[nodiscard]] bool Dirty() const { return m_dirty; }
  // The node must be redrawn; its current rectangle is redrawn in the parent.
  void MarkDirty();
  // Recomposes what changed and, for a root, asks the canvas to copy it to the screen.
  void Render();

  // Whether the point (relative to the parent) is on the node.
  [[nodiscard]] bool HitTest(int x, int y) const;
  // The last child in drawing order that is visible and under the point (relative to this
  // node), else the node itself.
  [[nodiscard]] TorvFlat* TargetAt(int x, int y);

  // Mouse entry points, with points relative to this node.
  void MouseMove(int x, int y);
  void MouseLeave();
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

 private:
  void Adopt(std::unique_ptr<TorvFlat> child);
  [[nodiscard]] bool ShowsPicture() const { return m_children.empty() && m_picture; }
  [[nodiscard]] bool IsChild(const TorvFlat* node) const;
  void FollowPictureSize();
  void SortChildren();
  // Builds this node's dirty region, fills and composes the children into the surface.
  void Compose();
  void FillSurface(const std::vector<TRect>& rects);
  // Blends this node into the parent's current image over the rectangles (parent coords).
  void DrawInto(TBitmap& target, const std::vector<TRect>& parentRects) const;
  // After composing: clean again. A hidden group keeps its whole area to recompose later.
  void ClearDirty(bool drawn);
  void MouseEnter();

  TorvFlat* m_parent = nullptr;
  TFlatCanvas* m_canvas = nullptr;
  std::vector<std::unique_ptr<TorvFlat>> m_children;
  int m_insertion = 0;
  int m_nextInsertion = 0;
  TGraphicPtr m_picture;
  TBitmap m_surface{0, 0, 32};

  int m_left = 0;
  int m_top = 0;
  int m_centerX = 0;
  int m_centerY = 0;
  int m_width = 0;
  int m_height = 0;
  int m_scale = 100;
  int m_zOrder = 0;
  TDrawType m_drawType = TDrawType::dtAlpha;
  int m_opacity = 255;
  bool m_mirror = false;
  bool m_visible = true;
  bool m_fillBack = false;
  TColor m_backColor = MakeColor(255, 255, 255);
  int m_hitKind = kHitRect;
  bool m_mouseEvents = false;
  bool m_autoHighlight = false;

  bool m_dirty = false;
  TRegion m_region;

  // Mouse routing.
  int m_lastX = 0;
  int m_lastY = 0;
  bool m_pointerSeen = false;
  TorvFlat* m_hovered = nullptr;
  bool m_entered = false;
  bool m_pressed = false;
};

}  // namespace kzm::ui
