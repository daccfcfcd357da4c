#pragma once

// TPaperView: a recorded page on a picture of its paper, with the paper's shadow and the
// printable area marked by a dotted line. It paints only what is exposed, so a large zoom
// costs no large picture.

#include "printing/PrinterUtils.h"

#include <QWidget>

namespace kzm::ui {

class TMetafileEx;

class TPaperView : public QWidget {
  Q_OBJECT

 public:
  explicit TPaperView(QWidget* parent = nullptr);

  // page may be null (only the paper is shown); it must stay valid while shown. zoom in
  // percent: at 100 the paper has its real size on the screen.
  void SetPage(const TMetafileEx* page, const TPageMetrics& metrics, int zoom);
  [[nodiscard]] QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  [[nodiscard]] double ScaleX() const;
  [[nodiscard]] double ScaleY() const;

  const TMetafileEx* m_page = nullptr;
  TPageMetrics m_metrics;
  int m_zoom = 50;
};

}  // namespace kzm::ui
