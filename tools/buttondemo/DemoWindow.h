#pragma once

#include <QGridLayout>
#include <QLabel>
#include <QWidget>
#include <memory>

#include "ui/common/HelpBalloon.h"

namespace kzm::demo {

// A panel that draws a picture of the program behind its children, to show buttons that
// take their background from their parent.
class TPicturePanel : public QWidget {
 public:
  explicit TPicturePanel(QWidget* parent);
  ~TPicturePanel() override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TGraphicPtr m_picture;
};

// A panel showing the help balloon in its top-left corner.
class TBalloonPanel : public QWidget {
 public:
  explicit TBalloonPanel(QWidget* parent);
  void NextHint();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::unique_ptr<ui::TkzmHelpSys> m_help;
  int m_next = 0;
};

// Every style of round button in every state, live buttons to press, and the balloon.
class TDemoWindow : public QWidget {
 public:
  TDemoWindow();

 private:
  void AddStateRows(QGridLayout& grid);
  QWidget* LiveButtons();

  QLabel* m_counter = nullptr;
  int m_clicks = 0;
};

}  // namespace kzm::demo
