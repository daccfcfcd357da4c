#pragma once

#include <QWidget>

#include "graphics/Bitmap.h"
#include "graphics/SpendingGraph.h"
#include "settlement/AccountingMonth.h"
#include "ui/common/DataWindows.h"

namespace kzm::ui {

class TorvFormFunc;
class TorvWinButton;

// The spending chart of one accounting month: the ring-shaped pie on the left, as large as
// the window's height allows (up to two thirds of its width), the legend on the right, and
// the round button 閉じる at the bottom right. The pie is drawn up to three times larger and
// shrunk, so its edges stay smooth at small sizes; it is redrawn only after a resize or a
// change of colours. Frees itself when closed.
class TFmGraph : public QWidget, public TDataWindowInfo {
  Q_OBJECT

 public:
  explicit TFmGraph(QWidget* parent = nullptr);
  ~TFmGraph() override;

  // The amounts to show; add them before the window is first shown.
  [[nodiscard]] TSGraph& Graph() { return m_graph; }
  // The month shown: its title in the pie and the caption ("2004年5月の支出").
  void SetMonth(TMonthKey key, TPeriod period);

  [[nodiscard]] kzm::TDataWindow DataWindowInfo() const override;

  // The pie's side and drawing factor for the current size.
  [[nodiscard]] int PieSide() const { return m_side; }
  [[nodiscard]] int DrawFactor() const { return m_factor; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormResize();
  void ReadColors();
  void PaintPie(QPainter& painter);

  TSGraph m_graph;
  TorvFormFunc* m_formFunc = nullptr;
  TorvWinButton* m_btClose = nullptr;
  TBitmap m_pie;
  bool m_pieDirty = true;
  int m_side = 0;
  int m_factor = 1;
  TColor m_background = 0xFFFFFF;
  TPeriod m_period;
};

}  // namespace kzm::ui
