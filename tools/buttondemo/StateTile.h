#pragma once

#include <QWidget>

#include "controls/RoundButtonDraw.h"

namespace kzm::demo {

// A round button's picture frozen in one state, so that every state can be seen at once.
class TStateTile : public QWidget {
 public:
  TStateTile(const ui::TorvBtnSettings& settings, const QString& caption, ui::TBtnState state, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  ui::TorvBtnDraw m_draw;
};

}  // namespace kzm::demo
