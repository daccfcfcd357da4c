// The node tree, its pictures and its properties. Every setter marks the node dirty before
// the value changes, so the old rectangle is what the parent learns about.
#include "controls/Flat.h"

#include <algorithm>

namespace kzm::ui {

TorvFlat::TorvFlat() = default;

TorvFlat::~TorvFlat() {
  m_children.clear();
  ReleaseImage();
}

void TorvFlat::Adopt(std::unique_ptr<TorvFlat> child) {
  child->m_parent = this;
  child->m_insertion = m_nextInsertion++;
  child->m_dirty = false;
  m_children.push_back(std::move(child));
  m_children.back()->MarkDirty();
}

TorvFlat* TorvFlat::AddPicture(std::string_view name, int left, int top, int opacity, int start) {
  TorvFlat* node = AddChild();
  node->SetImage(name, opacity, kImageShared, start);
  node->SetLeft(left);
  node->SetTop(top);
  node->SetOpacity(opacity);
  return node;
}

bool TorvFlat::IsChild(const TorvFlat* node) const {
  return std::any_of(m_children.begin(), m_children.end(), [node](const auto& c) { return c.get() == node; });
}

void TorvFlat::ReleaseImage() {
  if (!m_picture) return;
  ImageSource().ReleaseImage(m_picture);
  m_picture.reset();
}

void TorvFlat::SetImage(std::string_view name, int alpha, int mode, int start) {
  MarkDirty();
  ReleaseImage();
  TGraphicPtr picture = ImageSource().GetImage(name, mode, start);
  if (picture && !picture->Is32()) {
    // Alpha is added to a copy: the cached picture may be shared with other users.
    auto own = std::make_shared<TGraphic4>();
    static_cast<TBitmap&>(*own) = *picture;
    ImageSource().ReleaseImage(picture);
    own->SetBitsPerPixel(32);
    if (alpha < 0) {
      KeyColorToAlpha(*own, static_cast<std::uint8_t>(std::min(-alpha, 255)));
    } else {
      SetBitmapAlpha(*own, static_cast<std::uint8_t>(std::min(alpha, 255)));
    }
    picture = std::move(own);
  }
  m_picture = std::move(picture);
  FollowPictureSize();
}

void TorvFlat::SetPicture(TGraphicPtr picture) {
  MarkDirty();
  ReleaseImage();
  m_picture = std::move(picture);
  FollowPictureSize();
}

void TorvFlat::MakePictureOwn() {
  if (!m_picture) return;
  auto own = std::make_shared<TGraphic4>();
  static_cast<TBitmap&>(*own) = *m_picture;
  ReleaseImage();
  m_picture = std::move(own);
}

void TorvFlat::FollowPictureSize() {
  if (!m_parent || !m_children.empty() || !m_picture || m_scale <= 0) return;
  m_width = m_picture->Width() * m_scale / 100;
  m_height = m_picture->Height() * m_scale / 100;
  m_centerX = m_left + m_width / 2;
  m_centerY = m_top + m_height / 2;
}

const TBitmap* TorvFlat::CurrentImage() const {
  if (m_children.empty() && m_picture) return m_picture.get();
  return &m_surface;
}

void TorvFlat::SetLeft(int value) {
  if (value == m_left) return;
  MarkDirty();
  m_left = value;
  m_centerX = m_left + m_width / 2;
}

void TorvFlat::SetTop(int value) {
  if (value == m_top) return;
  MarkDirty();
  m_top = value;
  m_centerY = m_top + m_height / 2;
}

void TorvFlat::SetCenterX(int value) { SetLeft(value - m_width / 2); }

void TorvFlat::SetCenterY(int value) { SetTop(value - m_height / 2); }

void TorvFlat::SetWidth(int value) {
  m_scale = -1;
  if (value == m_width) return;
  MarkDirty();
  m_width = value;
  m_centerX = m_left + m_width / 2;
}

void TorvFlat::SetHeight(int value) {
  m_scale = -1;
  if (value == m_height) return;
  MarkDirty();
  m_height = value;
  m_centerY = m_top + m_height / 2;
}

void TorvFlat::SetScale(int percent) {
  if (percent == m_scale) return;
  MarkDirty();
  m_scale = percent;
  if (percent <= 0 || !m_picture) return;
  m_width = m_picture->Width() * percent / 100;
  m_height = m_picture->Height() * percent / 100;
  m_centerX = m_left + m_width / 2;
  m_centerY = m_top + m_height / 2;
}

void TorvFlat::SetSize(int width, int height) {
  MarkDirty();
  m_surface.SetSize(std::max(width, 0), std::max(height, 0), 32);
  m_width = width;
  m_height = height;
  m_centerX = m_left + m_width / 2;
  m_centerY = m_top + m_height / 2;
  m_region.AddRect(0, 0, width, height, kRgnOr);
}

void TorvFlat::SetZOrder(int value) {
  if (value == m_zOrder) return;
  MarkDirty();
  m_zOrder = value;
}

void TorvFlat::SetDrawType(TDrawType value) {
  if (value == m_drawType) return;
  MarkDirty();
  m_drawType = value;
}

void TorvFlat::SetOpacity(int value) {
  value = std::clamp(value, 0, 255);
  if (value == m_opacity) return;
  MarkDirty();
  m_opacity = value;
}

void TorvFlat::SetMirror(bool value) {
  if (value == m_mirror) return;
  MarkDirty();
  m_mirror = value;
}

void TorvFlat::SetVisible(bool value) {
  if (value == m_visible) return;
  MarkDirty();
  m_visible = value;
}

void TorvFlat::SetFillBack(bool value) {
  if (value == m_fillBack) return;
  MarkDirty();
  m_fillBack = value;
  m_region.AddRect(0, 0, m_width, m_height, kRgnOr);
}

void TorvFlat::SetBackColor(TColor value) {
  if (value == m_backColor) return;
  MarkDirty();
  m_backColor = value;
  m_region.AddRect(0, 0, m_width, m_height, kRgnOr);
}

void TorvFlat::SetAutoHighlight(bool on) {
  m_autoHighlight = on;
  if (!on) return;
  m_mouseEvents = true;
  SetDrawType(TDrawType::dtAlpha);
}

void TorvFlat::MarkDirty() {
  if (m_dirty) return;
  if (m_parent) {
    m_parent->m_region.AddRect(BoundsRect(), kRgnOr);
    m_parent->MarkDirty();
  }
  m_dirty = true;
}

}  // namespace kzm::ui
