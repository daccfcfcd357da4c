#include "ui/main/HelpBalloon.h"

#include <QPainter>
#include <QPolygon>
#include <QWidget>
#include <algorithm>
#include <exception>
#include <memory>
#include <random>

#include "foundation/Resources.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "graphics/BitmapRoutines.h"
#include "graphics/qt/CanvasRoutines.h"

namespace kzm::ui {

namespace {

// Corners of the balloon in percent of the picture's width and height; the tail points
// down toward the mascot in the bottom-right quarter.
constexpr int kBalloon[10][2] = {{15, 10}, {5, 25}, {15, 60}, {50, 58}, {45, 65},
                                 {58, 70}, {52, 64}, {78, 48}, {87, 24}, {75, 5}};
constexpr TColor kOutlineColor = 0x808080;
constexpr TColor kTextColor = 0x606060;

TRandomSource OwnRandomSource() {
  auto engine = std::make_shared<std::mt19937>(std::random_device{}());
  return [engine](int count) { return std::uniform_int_distribution<int>(0, count - 1)(*engine); };
}

// Text lines of a resource: CR LF or LF ends, no empty line after the last line end.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// A line without "=" has the empty key and is all text.
std::pair<std::string, std::string> SplitHint(const std::string& line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string::npos) return {std::string(), line};
  return {line.substr(0, eq), line.substr(eq + 1)};
}

TColor FromQColor(const QColor& c) { return MakeColor(c.red(), c.green(), c.blue()); }

}  // namespace

std::vector<std::string> MonthlyViewHintLines() {
  return {"",
          "=左クリックで\\nその日の\\n  入力画面",
          "=金額にｶｰｿﾙを\\n合わせると\\n    明細な",
          "=　「グラフ」で\\n支出円グラフ\\n　だよ",
          "=「めも」で\\n一か月分の\\n    めも",
          "=　項目を\\nクリックすると\\n編集できるよ"};
}

TkzmHelpSys::TkzmHelpSys(QWidget* owner, TRandomSource random)
    : TBitmap(kStartSide, kStartSide, 32), m_owner(owner), m_random(random ? std::move(random) : OwnRandomSource()) {
  try {
    m_mascot = ImageSource().GetImage("std04.png", kImageShared, 0);
  } catch (const std::exception& e) {
    // Without the mascot the balloon is still worth showing.
    WindowSystem().Notify(e.what());
  }
  Redraw();
}

TkzmHelpSys::~TkzmHelpSys() {
  if (m_mascot) ImageSource().ReleaseImage(m_mascot);
}

void TkzmHelpSys::LoadHints(std::string_view resourceName) {
  if (!OpenResource(resourceName)) return;
  m_hints = SplitLines(ReadResourceText(resourceName));
}

std::vector<std::string> TkzmHelpSys::Candidates(const std::string& key) const {
  std::vector<std::string> exact, all;
  for (const std::string& line : m_hints) {
    auto [lineKey, text] = SplitHint(line);
    if (lineKey == key) exact.push_back(text);
    all.push_back(std::move(text));
  }
  if (!exact.empty()) return exact;
  if (!all.empty()) return all;
  return {std::string()};
}

void TkzmHelpSys::ShowHint(const std::string& key) {
  const std::vector<std::string> candidates = Candidates(key);
  const int pick = m_random(static_cast<int>(candidates.size()));
  m_text = ReplaceAll(candidates.at(static_cast<std::size_t>(pick)), "\\n", "\n");
  Redraw();
  if (m_owner) m_owner->update(m_x, m_y, Width(), Height());
}

void TkzmHelpSys::Redraw() {
  if (IsEmpty()) return;
  if (!Is32()) SetBitsPerPixel(32);
  const TColor back = m_owner ? FromQColor(m_owner->palette().color(QPalette::Window)) : 0xFFFFFF;
  FillBitmap32(*this, back | 0xFF000000u);
  const int w = Width(), h = Height();
  if (m_mascot && m_mascot->Is32()) {
    TBlendRequest request;
    request.dest = this;
    request.source = m_mascot.get();
    request.placement = {w / 2, h / 2, w, h};
    request.clip = request.placement;
    request.opacity = 255;
    request.mode = TDrawType::dtAlpha;
    BlendRect(request);
  }
  m_outline.clear();
  if (!m_text.empty()) DrawBalloon();
}

void TkzmHelpSys::DrawBalloon() {
  const int w = Width(), h = Height();
  QPolygon polygon;
  for (const auto& corner : kBalloon) {
    const int x = w * corner[0] / 100 + m_random(3) - 1;
    const int y = h * corner[1] / 100 + m_random(3) - 1;
    m_outline.emplace_back(x, y);
    polygon << QPoint(x, y);
  }
  QImage image = BitmapAsImage(*this);
  image.reinterpretAsFormat(QImage::Format_RGB32);
  {
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(polygon);
  }

  TLinePen pen;
  pen.target = this;
  pen.x = m_outline.front().first;
  pen.y = m_outline.front().second;
  pen.color = kOutlineColor;
  pen.opacity = 255;
  pen.width = 1.0;
  for (std::size_t i = 1; i <= m_outline.size(); ++i) {
    const auto& [x, y] = m_outline[i % m_outline.size()];
    DrawAALine(pen, x, y);
  }

  QPainter painter(&image);
  QFont font = m_owner ? m_owner->font() : painter.font();
  font.setPixelSize(std::max(1, h / 9));
  painter.setFont(font);
  painter.setPen(QColor(RedOf(kTextColor), GreenOf(kTextColor), BlueOf(kTextColor)));
  DrawTextLines(painter, m_outline.front().first, m_outline.front().second + 4, m_text);
}

void TkzmHelpSys::PaintOn(QPainter& painter) {
  if (IsEmpty()) return;
  painter.drawImage(m_x, m_y, BitmapAsImage(*this));
}

}  // namespace kzm::ui
