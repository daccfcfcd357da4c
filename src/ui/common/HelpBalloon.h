#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/GraphicSource.h"

#include <QFont>
#include <QPolygonF>

class QPainter;
class QWidget;

namespace kzm::ui {

// A whole number from 0 to count − 1, drawn at random; tests put in a fixed sequence.
using TRandomSource = std::function<int(int count)>;

// The hint lines of the monthly view (the first one empty, so that one time in six only
// the mascot is shown).
[[nodiscard]] std::vector<std::string> MonthlyViewHintLines();

// The mascot with a hand-drawn speech balloon holding a short usage hint, as a picture
// that a window paints in a free corner. Hints are lines "key=text"; "\n" (backslash, n)
// in a text breaks the line.
class TkzmHelpSys : public TBitmap {
 public:
  static constexpr int kStartSide = 92;
  // The standing mascot drawn large (std04.png is a 32 × 32 frame of the walking flock), so
  // that it is only ever made smaller, never blurred by enlarging.
  static constexpr const char* kMascotPicture = "std04-large.png";

  // Takes the mascot picture and draws once with no hint. The owner's background colour
  // and font are used; without a random source a seeded engine of its own is used.
  explicit TkzmHelpSys(QWidget* owner, TRandomSource random = {});
  ~TkzmHelpSys() override;
  TkzmHelpSys(const TkzmHelpSys&) = delete;
  TkzmHelpSys& operator=(const TkzmHelpSys&) = delete;

  // Replaces the hints with the lines of a program resource; a resource that does not
  // exist leaves them as they were.
  void LoadHints(std::string_view resourceName);
  [[nodiscard]] const std::vector<std::string>& Hints() const { return m_hints; }
  void SetHints(std::vector<std::string> lines) { m_hints = std::move(lines); }

  // The texts a key chooses from: those of lines with exactly that key, else all texts,
  // else the one empty text.
  [[nodiscard]] std::vector<std::string> Candidates(const std::string& key) const;
  // Picks a hint for the key, redraws and asks the owner to repaint the picture's place.
  void ShowHint(const std::string& key);
  // The hint last drawn, line breaks already made.
  [[nodiscard]] const std::string& Text() const { return m_text; }
  // The balloon's ten corners as last drawn (empty when no balloon was drawn), in pixels of
  // the picture.
  [[nodiscard]] const std::vector<std::pair<int, int>>& Outline() const { return m_outline; }

  [[nodiscard]] int X() const { return m_x; }
  [[nodiscard]] int Y() const { return m_y; }
  void SetPosition(int x, int y) {
    m_x = x;
    m_y = y;
  }
  // Draws the picture on the owner at (X, Y); called from the owner's paint handler.
  void PaintOn(QPainter& painter);

 private:
  void Redraw();
  // The picture at scale times its size into target (this bitmap, or the sharp copy).
  void DrawPicture(TBitmap& target, double scale);
  void DrawBalloon(TBitmap& target, double scale);
  [[nodiscard]] QPolygonF OutlinePolygon(double scale) const;
  // The owner's font at the largest size up to a ninth of the height at which every line
  // of the hint stays inside the balloon.
  [[nodiscard]] QFont HintFont() const;

  QWidget* m_owner;
  TRandomSource m_random;
  TGraphicPtr m_mascot;
  TBitmap m_sharp;  // the picture at the screen's resolution; empty at one pixel per pixel
  std::vector<std::string> m_hints;
  std::string m_text;
  std::vector<std::pair<int, int>> m_outline;
  int m_x = 0;
  int m_y = 0;
};

}  // namespace kzm::ui
