#pragma once

// TorvImage: the control that shows a scene of TorvFlat nodes on a window and, with
// MouseAction, hands the mouse to the scene. Only the parts the scene reports as changed
// are copied to the screen again.

#include <QWidget>

#include "controls/Flat.h"

namespace kzm::ui {

class TorvImage : public QWidget, private TFlatCanvas {
  Q_OBJECT

 public:
  explicit TorvImage(QWidget* parent = nullptr);
  ~TorvImage() override;

  // The scene's root node: as large as the control, its picture is the background.
  [[nodiscard]] TorvFlat& Root() { return m_root; }
  // Recomposes what changed in the scene and asks for those parts to be painted.
  void RenderScene();

  [[nodiscard]] bool MouseAction() const { return m_mouseAction; }
  // Also switches the root's mouse events on.
  void SetMouseAction(bool on);

 signals:
  void DoubleClicked(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void RepaintRegion(const TRegion& region) override;

  TorvFlat m_root;
  bool m_mouseAction = false;
};

}  // namespace kzm::ui
