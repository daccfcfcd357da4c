#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "controls/RoundButtonDraw.h"
#include "controls/RoundButtonInput.h"

namespace kzm::ui {

// The repeat timer of a button on a Qt timer.
class TQtRepeatTimer : public TorvRepeatTimer {
 public:
  TQtRepeatTimer();
  void Start(int intervalMs) override;
  void Stop() override;
  [[nodiscard]] bool IsActive() const override { return m_timer.isActive(); }

 private:
  QTimer m_timer;
};

// The program's push button: a soft disc or box drawn by TorvBtnDraw, with a rim that
// follows hover, focus and press, a caption of "\"-separated lines with an "&" accelerator,
// and an optional repeat of its click while held.
class TorvWinButton : public QWidget {
  Q_OBJECT

 public:
  explicit TorvWinButton(QWidget* parent = nullptr);
  ~TorvWinButton() override;

  [[nodiscard]] TorvBtnDraw& BtnDraw() { return m_draw; }
  // Copies another button's look.
  void SetBtnDraw(const TorvBtnSettings& settings) { m_draw.SetSettings(settings); }

  [[nodiscard]] bool ClickRepeat() const { return m_input.ClickRepeat(); }
  void SetClickRepeat(bool repeat) { m_input.SetClickRepeat(repeat); }
  [[nodiscard]] const QString& Caption() const { return m_caption; }
  void SetCaption(const QString& caption);
  [[nodiscard]] bool TabStop() const { return m_tabStop; }
  void SetTabStop(bool tabStop);
  void SetHint(const QString& hint) { setToolTip(hint); }

  [[nodiscard]] TBtnState State() const { return m_input.State(hasFocus()); }
  // Tests put in a timer they drive by hand.
  void SetRepeatTimer(std::unique_ptr<TorvRepeatTimer> timer) { m_input.SetTimer(std::move(timer)); }

 signals:
  void OnClick();
  void OnEnter();
  void OnExit();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  [[nodiscard]] bool IsInside(const QPoint& pos) const;
  void SyncState();
  void SyncColors();
  void SyncSize();
  void ApplyRegion();
  void CaptureParent(TBitmap& background);

  TorvBtnDraw m_draw;
  TorvBtnInput m_input;
  QString m_caption;
  bool m_tabStop = true;
  int m_shortcutId = 0;
};

}  // namespace kzm::ui
