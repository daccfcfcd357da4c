#include "ui/main/SceneArea.h"

#include "graphics/qt/CanvasRoutines.h"

#include <QPainter>

#include <exception>

namespace kzm::ui {

namespace {
TGraphicPtr Picture(const char* name) {
  try {
    return ImageSource().GetImage(name);
  } catch (const std::exception&) {
    return {};  // a damaged picture leaves the place plain
  }
}
}  // namespace

TSceneArea::TSceneArea(QWidget* parent) : QWidget(parent), m_back(Picture("back.png")), m_title(Picture("title.png")) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

TSceneArea::~TSceneArea() {
  if (m_back) ImageSource().ReleaseImage(m_back);
  if (m_title) ImageSource().ReleaseImage(m_title);
}

void TSceneArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor(0xF4, 0xEE, 0xDC));
  if (m_back) painter.drawImage(rect(), BitmapAsImage(*m_back));
  if (m_title) painter.drawImage(QPoint(4, 2), BitmapAsImage(*m_title));
}

}  // namespace kzm::ui
