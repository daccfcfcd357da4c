#pragma once

// TorvFormFunc: a helper object placed on a window that adds, by switches, remembering the
// window's place and size in application.ini, snapping to the screen edges, dragging by the
// body, resizing a borderless window by its edges, rounded corners, staying on top or at the
// bottom, files dropped from the desktop, and the colour-change notice as OnColorReset.
//
// Placement is kept in application.ini under the window's class name in upper case
// (TFMKZMMAIN): TOP, LEFT, WIDTH, HEIGHT (the client area, without the window manager's
// frame, which is not known until the window is shown) and DOCKSITE (always empty: windows
// are never docked here).

#include "foundation/WindowPlacement.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

namespace kzm::ui {

enum class TwindowPosition : uint8_t { wpNormal, wpTop, wpBottom };

class TorvFormFunc : public QObject {
  Q_OBJECT

 public:
  // Watches owner (and is owned by it) from now on.
  explicit TorvFormFunc(QWidget* owner);
  // Saves the placement.
  ~TorvFormFunc() override;

  [[nodiscard]] bool Preserve() const { return m_preserve; }
  void SetPreserve(bool v) { m_preserve = v; }
  [[nodiscard]] bool KeepLocation() const { return m_keepLocation; }
  void SetKeepLocation(bool v) { m_keepLocation = v; }
  [[nodiscard]] bool KeepSize() const { return m_keepSize; }
  void SetKeepSize(bool v) { m_keepSize = v; }
  [[nodiscard]] bool EraseBackGround() const { return m_eraseBackGround; }
  void SetEraseBackGround(bool v);
  [[nodiscard]] bool DragDrop() const { return m_dragDrop; }
  void SetDragDrop(bool v);
  [[nodiscard]] bool DropNamesEnabled() const { return m_dropNamesEnabled; }
  void SetDropNamesEnabled(bool v) { m_dropNamesEnabled = v; }
  [[nodiscard]] bool WindowDrag() const { return m_windowDrag; }
  void SetWindowDrag(bool v) { m_windowDrag = v; }
  [[nodiscard]] bool WindowResize() const { return m_windowResize; }
  void SetWindowResize(bool v);
  [[nodiscard]] bool WindowRound() const { return m_windowRound; }
  void SetWindowRound(bool v);
  [[nodiscard]] TwindowPosition WindowPosition() const { return m_windowPosition; }
  void SetWindowPosition(TwindowPosition v);
  [[nodiscard]] int FitScreenPx() const { return m_fitScreenPx; }
  void SetFitScreenPx(int v) { m_fitScreenPx = v; }
  // Kept for the window definitions that set them; they change nothing on this platform.
  [[nodiscard]] bool Layered() const { return m_layered; }
  void SetLayered(bool v) { m_layered = v; }
  [[nodiscard]] bool BGrelocation() const { return m_bgRelocation; }
  void SetBGrelocation(bool v) { m_bgRelocation = v; }

  // The names collected by the last drop (with DropNamesEnabled).
  [[nodiscard]] const QStringList& DropNames() const { return m_dropNames; }

  // Events; each gets the helper itself.
  std::function<void(TorvFormFunc&, const QString& filename)> OnDropFile;
  std::function<void(TorvFormFunc&)> OnDropFinish;
  std::function<void(TorvFormFunc&)> OnWindowMoved;
  std::function<void(TorvFormFunc&)> OnColorReset;
  std::function<void(TorvFormFunc&)> OnEraseBackGround;
  // Before a body drag: dragMove comes in as the helper's verdict (not on a child control).
  std::function<void(TorvFormFunc&, int mouseX, int mouseY, bool& dragMove)> OnCanDragMove;
  // The desktop session ends (the application is asked to save its data).
  std::function<void(TorvFormFunc&)> OnEndSession;

  // application.ini section of the owner: its class name without namespace, upper case.
  [[nodiscard]] std::string SectionName() const;
  // Writes the placement now (only with Preserve).
  void SavePlacement();
  // What a finished user move or resize does: OnWindowMoved, then snapping. Called by the
  // helper once the window has stood still for a moment.
  void WindowMoveEnded();
  // Whether the placement was restored (the owner has been shown once).
  [[nodiscard]] bool PlacementRestored() const { return m_placementRestored; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RestorePlacement();
  void RememberNormalBounds();
  void ApplyRoundRegion();
  void HandleMouseMove(QEvent* event);
  bool HandleMousePress(QEvent* event);
  void HandleHover(QEvent* event);
  bool HandleDrop(QEvent* event);
  void OwnerMoved(QEvent* event);
  // The client area in screen coordinates: what is stored and restored.
  [[nodiscard]] TWindowRect OwnerPlace() const;
  // The frame around it: what snaps to the work area.
  [[nodiscard]] TWindowRect OwnerFrame() const;

  QPointer<QWidget> m_owner;
  bool m_preserve = false;
  bool m_keepLocation = false;
  bool m_keepSize = false;
  bool m_eraseBackGround = false;
  bool m_dragDrop = false;
  bool m_dropNamesEnabled = false;
  bool m_windowDrag = false;
  bool m_windowResize = false;
  bool m_windowRound = false;
  TwindowPosition m_windowPosition = TwindowPosition::wpNormal;
  int m_fitScreenPx = 0;
  bool m_layered = true;
  bool m_bgRelocation = false;

  TWindowRect m_normalBounds;
  bool m_maximized = false;
  bool m_pressedOnBody = true;
  bool m_placementRestored = false;
  bool m_placementSaved = false;
  std::string m_section;
  QStringList m_dropNames;
  QTimer m_moveEnd;
  QPoint m_manualDragOffset;
  bool m_manualDrag = false;
  bool m_snapping = false;
};

}  // namespace kzm::ui
