#include "ui/common/HelpBalloon.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <exception>
#include <memory>
#include <random>

#include "controls/CanvasRoutines.h"
#include "controls/UiBasics.h"
#include "foundation/Resources.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "graphics/BitmapRoutines.h"

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

// The hint is written this far below the balloon's first corner; no smaller text than this.
constexpr int kTextDrop = 4;
constexpr int kSmallestTextPixels = 7;

// True when every line, written from origin one below the other as DrawTextLines writes
// them, lies inside the outline (its edges tried every two pixels, since the outline is not
// convex).
bool LinesFit(const QPolygonF& outline, const QPointF& origin, const QStringList& lines, const QFontMetrics& metrics) {
  const int step = metrics.height() + 2;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (lines[i].trimmed().isEmpty()) continue;
    const QRectF box(origin.x(), origin.y() + static_cast<double>(i * step), metrics.horizontalAdvance(lines[i]),
                     metrics.height());
    for (double x = box.left(); x <= box.right() + 1; x += 2) {
      for (const double y : {box.top(), box.bottom()}) {
        if (!outline.containsPoint(QPointF(std::min(x, box.right()), y), Qt::OddEvenFill)) return false;
      }
    }
    for (double y = box.top(); y <= box.bottom() + 1; y += 2) {
      for (const double x : {box.left(), box.right()}) {
        if (!outline.containsPoint(QPointF(x, std::min(y, box.bottom())), Qt::OddEvenFill)) return false;
      }
    }
  }
  return true;
}

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
    m_mascot = ImageSource().GetImage(kMascotPicture, kImageShared, 0);
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
  m_outline.clear();
  if (!m_text.empty()) {
    for (const auto& corner : kBalloon) {
      m_outline.emplace_back(Width() * corner[0] / 100 + m_random(3) - 1, Height() * corner[1] / 100 + m_random(3) - 1);
    }
  }
  DrawPicture(*this, 1.0);
  // On a screen with more than one device pixel per pixel the picture is drawn again at the
  // screen's resolution, so that neither the mascot nor the text is blurred by enlarging.
  const qreal ratio = m_owner ? m_owner->devicePixelRatioF() : 1.0;
  if (ratio > 1.0) {
    m_sharp.SetSize(qRound(Width() * ratio), qRound(Height() * ratio), 32);
    DrawPicture(m_sharp, ratio);
  } else if (!m_sharp.IsEmpty()) {
    m_sharp.SetSize(0, 0, 32);
  }
}

void TkzmHelpSys::DrawPicture(TBitmap& target, double scale) {
  const TColor back = m_owner ? FromQColor(m_owner->palette().color(QPalette::Window)) : 0xFFFFFF;
  FillBitmap32(target, back | 0xFF000000u);
  const int w = target.Width(), h = target.Height();
  if (m_mascot && m_mascot->Is32()) {
    TBlendRequest request;
    request.dest = &target;
    request.source = m_mascot.get();
    request.placement = {w / 2, h / 2, w, h};
    request.clip = request.placement;
    request.opacity = 255;
    request.mode = TDrawType::dtAlpha;
    BlendRect(request);
  }
  if (!m_outline.empty()) DrawBalloon(target, scale);
}

QPolygonF TkzmHelpSys::OutlinePolygon(double scale) const {
  QPolygonF polygon;
  for (const auto& [x, y] : m_outline) polygon << QPointF(x * scale, y * scale);
  return polygon;
}

QFont TkzmHelpSys::HintFont() const {
  QFont font = m_owner ? m_owner->font() : QFont();
  const QPolygonF outline = OutlinePolygon(1.0);
  const QStringList lines = QString::fromStdString(m_text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
  const QPointF origin(m_outline.front().first, m_outline.front().second + kTextDrop);
  // The planned size when the lines fit, else the largest smaller one that fits.
  const int largest = std::max(1, Height() / 9);
  const int smallest = std::min(largest, kSmallestTextPixels);
  for (int pixels = largest; pixels >= smallest; --pixels) {
    font.setPixelSize(pixels);
    if (LinesFit(outline, origin, lines, QFontMetrics(font))) break;
  }
  return font;
}

void TkzmHelpSys::DrawBalloon(TBitmap& target, double scale) {
  const QPolygonF polygon = OutlinePolygon(scale);
  QImage image = BitmapAsImage(target);
  image.reinterpretAsFormat(QImage::Format_RGB32);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(polygon);
  }

  TLinePen pen;
  pen.target = &target;
  pen.x = polygon.front().x();
  pen.y = polygon.front().y();
  pen.color = kOutlineColor;
  pen.opacity = 255;
  pen.width = scale;
  for (qsizetype i = 1; i <= polygon.size(); ++i) {
    const QPointF& corner = polygon[i % polygon.size()];
    DrawAALine(pen, corner.x(), corner.y());
  }

  QPainter painter(&image);
  QFont font = HintFont();
  font.setPixelSize(std::max(1, qRound(font.pixelSize() * scale)));
  painter.setFont(font);
  painter.setPen(QColor(RedOf(kTextColor), GreenOf(kTextColor), BlueOf(kTextColor)));
  DrawTextLines(painter, qRound(polygon.front().x()), qRound(polygon.front().y() + kTextDrop * scale), m_text);
}

void TkzmHelpSys::PaintOn(QPainter& painter) {
  if (IsEmpty()) return;
  if (m_sharp.IsEmpty()) {
    painter.drawImage(m_x, m_y, BitmapAsImage(*this));
    return;
  }
  QImage image = BitmapAsImage(m_sharp);
  image.setDevicePixelRatio(static_cast<qreal>(m_sharp.Width()) / Width());
  painter.drawImage(QPointF(m_x, m_y), image);
}

}  // namespace kzm::ui
