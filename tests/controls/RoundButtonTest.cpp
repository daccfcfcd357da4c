#include "controls/RoundButton.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <cstdlib>

#include "controls/RepeatTimerFake.h"

namespace kzm::ui {
namespace {

constexpr TColor kBack = 0xC0C0C0;

struct TRgb {
  int r, g, b;
};

TRgb PixelOf(const TBitmap& bitmap, int x, int y) {
  const std::uint8_t* p = bitmap.Row(y) + 4 * x;
  return {p[2], p[1], p[0]};
}

// A 64 × 64 white disc as the program's windows set their buttons up.
void SetUpLikeTheWindows(TorvBtnDraw& draw) {
  draw.SetStyle(TorvBtnStyle::bsCircle);
  draw.SetSquare(true);
  draw.SetTextAntialiasing(false);
  draw.SetColor(0xFFFFFF);
  draw.SetOverDrawType(TDrawType::dtAlpha);
  draw.SetFocusLineWidth(5);
  draw.SetBackColor(kBack);
  draw.SetSize(64, 64);
}

TEST(RoundButtonDraw, RimAndFillFollowTheState) {
  TorvBtnDraw draw;
  SetUpLikeTheWindows(draw);
  // A rim pixel right of the centre, where the body is nearly opaque, and the centre.
  auto rim = [&](TBtnState state) {
    draw.SetState(state);
    return PixelOf(draw.Composite(), 59, 36);
  };
  auto centre = [&](TBtnState state) {
    draw.SetState(state);
    return PixelOf(draw.Composite(), 32, 32);
  };
  const TRgb normal = rim(kBtnNormal), hover = rim(kBtnHover), focus = rim(kBtnFocus);
  EXPECT_LT(std::abs(normal.r - normal.b), 16) << "a white body has a grey-white rim";
  EXPECT_GT(hover.r - hover.b, 80) << "ColorOver is orange";
  EXPECT_GT(focus.b - focus.r, 60) << "ColorFocus is blue";

  const TRgb up = centre(kBtnNormal), down = centre(kBtnPressed);
  EXPECT_EQ(up.r, 255);
  EXPECT_LT(down.r, 235) << "black is mixed into the fill while pressed";
  EXPECT_GT(down.r, 190);
  EXPECT_EQ(down.r, down.g);
  EXPECT_EQ(down.g, down.b);
  // The corner outside the disc keeps the window's colour.
  EXPECT_EQ(PixelOf(draw.Composite(), 0, 0).r, 0xC0);
}

// A button drawn for a screen of two device pixels a point is the same button, twice as
// fine: halved again, it comes close to the one drawn at one pixel a point. With rims and
// bevels left one pixel wide it would read thinner and paler.
TEST(RoundButtonDraw, AtTwoDevicePixelsAPointRimsAndBevelsKeepTheirLook) {
  for (const TorvBtnStyle style : {TorvBtnStyle::bsCircle, TorvBtnStyle::bsBox}) {
    SCOPED_TRACE(style == TorvBtnStyle::bsCircle ? "circle" : "rectangle");
    TorvBtnDraw one, two;
    SetUpLikeTheWindows(one);
    SetUpLikeTheWindows(two);
    one.SetStyle(style);
    two.SetStyle(style);
    one.SetState(kBtnFocus);
    two.SetState(kBtnFocus);
    two.SetScale(2);
    two.SetSize(128, 128);
    const TBitmap& small = one.Composite();
    const TBitmap& large = two.Composite();
    long difference = 0;
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        const TRgb a = PixelOf(small, x, y);
        int g = 0;
        for (int dy = 0; dy < 2; ++dy) {
          for (int dx = 0; dx < 2; ++dx) g += PixelOf(large, 2 * x + dx, 2 * y + dy).g;
        }
        difference += std::abs(a.g - g / 4);
      }
    }
    // The mean difference of the green channel per pixel: about 4 for the disc and 0.3 for the
    // box; with one-pixel rims both are above 20.
    EXPECT_LT(difference / (64.0 * 64.0), 6.0);
  }
}

TEST(RoundButtonDraw, CleanButtonIsNotRenderedAgain) {
  TorvBtnDraw draw;
  SetUpLikeTheWindows(draw);
  int changes = 0;
  draw.OnChanged = [&] { ++changes; };
  (void)draw.Composite();
  EXPECT_FALSE(draw.Dirty());
  draw.SetColorOver(draw.ColorOver());
  draw.SetState(kBtnNormal);
  EXPECT_FALSE(draw.Dirty()) << "setting an unchanged value";
  EXPECT_EQ(changes, 0);
  draw.SetState(kBtnHover);
  EXPECT_TRUE(draw.Dirty());
  EXPECT_EQ(changes, 1);
}

// Rows from the first to the last one holding caption ink: pixels much darker than in the
// picture without a caption.
int InkHeight(const TBitmap& bitmap, const TBitmap& blank) {
  int first = -1, last = -1;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (PixelOf(bitmap, x, y).r + 100 < PixelOf(blank, x, y).r) {
        if (first < 0) first = y;
        last = y;
      }
  return first < 0 ? 0 : last - first + 1;
}

TEST(RoundButtonDraw, CaptionLinesAndDisabledGreyTone) {
  TorvBtnDraw draw;
  SetUpLikeTheWindows(draw);
  draw.SetOverDrawAlpha(0);  // the plain disc, so only the caption darkens it
  draw.SetFontColor(0x000000);
  QFont font = QApplication::font();
  font.setPixelSize(14);
  draw.SetFont(font);
  const TBitmap blank = draw.Composite();
  const int lineHeight = QFontMetrics(font).height() + 1;
  draw.SetCaption("前日(&B)");
  EXPECT_LE(InkHeight(draw.Composite(), blank), lineHeight);
  draw.SetCaption("前日\\(&B)");
  EXPECT_GT(InkHeight(draw.Composite(), blank), lineHeight) << "two lines of text";
  EXPECT_LE(InkHeight(draw.Composite(), blank), 2 * lineHeight);

  font.setPixelSize(40);
  draw.SetFont(font);
  draw.SetCaption("■");
  const TRgb enabled = PixelOf(draw.Composite(), 32, 32);
  draw.SetState(kBtnDisabled);
  const TRgb disabled = PixelOf(draw.Composite(), 32, 32);
  EXPECT_EQ(enabled.r, 0);
  const TColor grey = GrayTone(0x000000);
  EXPECT_EQ(disabled.r, RedOf(grey));
  EXPECT_EQ(disabled.b, BlueOf(grey));
}

// A top-level window holding one button at (20, 20).
struct TButtonWindow {
  QWidget window;
  TorvWinButton* button = new TorvWinButton(&window);
  test::TClock clock;
  test::TFakeRepeatTimer* timer = nullptr;
  int clicks = 0;

  TButtonWindow() {
    window.resize(200, 120);
    button->setGeometry(20, 20, 60, 60);
    auto fake = std::make_unique<test::TFakeRepeatTimer>(clock);
    timer = fake.get();
    button->SetRepeatTimer(std::move(fake));
    QObject::connect(button, &TorvWinButton::OnClick, [this] { ++clicks; });
    window.show();
    QApplication::setActiveWindow(&window);
    QApplication::processEvents();
  }
};

TEST(RoundButton, AltAndTheAcceleratorClicksAnEnabledButton) {
  TButtonWindow w;
  w.button->SetCaption(QStringLiteral("前日\\(&B)"));
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
  QTest::keyClick(&w.window, Qt::Key_B, Qt::AltModifier);
  EXPECT_EQ(w.clicks, 1);
  w.button->setEnabled(false);
  QTest::keyClick(&w.window, Qt::Key_B, Qt::AltModifier);
  EXPECT_EQ(w.clicks, 1);
}

TEST(RoundButton, SpaceAndEnterClickOnReleaseUnlessDisabled) {
  TButtonWindow w;
  w.button->setFocus();
  for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
    SCOPED_TRACE(key);
    const int before = w.clicks;
    QTest::keyPress(w.button, key);
    EXPECT_EQ(w.button->State(), kBtnPressed);
    EXPECT_EQ(w.clicks, before);
    QTest::keyRelease(w.button, key);
    EXPECT_EQ(w.clicks, before + 1);
  }
  w.button->setEnabled(false);
  QTest::keyClick(w.button, Qt::Key_Space);
  QTest::mouseClick(w.button, Qt::LeftButton, {}, QPoint(30, 30));
  EXPECT_EQ(w.clicks, 3);
}

// Qt may or may not send a second press before the double-click event; either way the
// double click is two clicks.
TEST(RoundButton, DoubleClickIsTwoClicks) {
  for (bool secondPress : {false, true}) {
    SCOPED_TRACE(secondPress);
    TButtonWindow w;
    const QPoint at(30, 30);
    QTest::mousePress(w.button, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w.button, Qt::LeftButton, {}, at);
    if (secondPress) QTest::mousePress(w.button, Qt::LeftButton, {}, at);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(at), w.button->mapToGlobal(QPointF(at)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.button, &dbl);
    QTest::mouseRelease(w.button, Qt::LeftButton, {}, at);
    EXPECT_EQ(w.clicks, 2);
  }
}

TEST(RoundButton, HeldRepeatButtonClicksUntilReleased) {
  TButtonWindow w;
  w.button->SetClickRepeat(true);
  QTest::mousePress(w.button, Qt::LeftButton, {}, QPoint(30, 30));
  EXPECT_TRUE(w.button->hasFocus()) << "a press takes the focus";
  w.timer->RunUntil(1000);
  EXPECT_EQ(w.clicks, 7);
  QTest::mouseRelease(w.button, Qt::LeftButton, {}, QPoint(30, 30));
  EXPECT_EQ(w.clicks, 8);
}

TEST(RoundButton, RegionLetsClicksOutsideTheDiscReachWhatIsBehind) {
  TButtonWindow w;
  w.button->BtnDraw().SetStyle(TorvBtnStyle::bsCircle);
  EXPECT_EQ(w.window.childAt(22, 22), w.button) << "without a region the corner is the button's";
  w.button->BtnDraw().SetRegion(true);
  EXPECT_NE(w.window.childAt(22, 22), w.button);
  EXPECT_EQ(w.window.childAt(50, 50), w.button);
  EXPECT_EQ(w.window.childAt(50, 21), w.button) << "the top of the disc";

  // A release on a masked-off corner of the button's box is not a click.
  QTest::mousePress(w.button, Qt::LeftButton, {}, QPoint(30, 30));
  QTest::mouseRelease(w.button, Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_EQ(w.clicks, 0);
}

// A parent that paints itself green.
class TGreenPanel : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(0, 200, 0)); }
};

TEST(RoundButton, TransparentButtonShowsItsParentAroundTheDisc) {
  TGreenPanel panel;
  panel.resize(120, 120);
  auto* button = new TorvWinButton(&panel);
  button->setGeometry(10, 10, 64, 64);
  button->BtnDraw().SetStyle(TorvBtnStyle::bsCircle);
  button->BtnDraw().SetTransParent(true);
  panel.show();
  QApplication::processEvents();
  const QImage shot = button->grab().toImage();
  EXPECT_EQ(shot.pixelColor(1, 1), QColor(0, 200, 0)) << "the corner is the parent's picture";
  EXPECT_GT(shot.pixelColor(32, 32).red(), 200) << "the disc is the button's white";
}

}  // namespace
}  // namespace kzm::ui
