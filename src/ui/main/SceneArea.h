#pragma once

#include "graphics/GraphicSource.h"

#include <QWidget>

namespace kzm::ui {

// Stands in the main window's scene place until the picture scene fills it: the background
// and the title, still.
class TSceneArea : public QWidget {
  Q_OBJECT

 public:
  explicit TSceneArea(QWidget* parent = nullptr);
  ~TSceneArea() override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TGraphicPtr m_back;
  TGraphicPtr m_title;
};

}  // namespace kzm::ui
