// The flat scene on tiny pictures: drawing order, dirty regions, hit tests and mouse routing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/RecordingWindowSystem.h"
#include "controls/Flat.h"
#include "graphics/PixelHelpers.h"

namespace kzm::ui {
namespace {

using test::At;
using test::TPixel;

constexpr TPixel kWhite{255, 255, 255, 255};
constexpr TPixel kRed{0, 0, 255, 255};
constexpr TPixel kBlue{255, 0, 0, 255};

// Solid 32-bit pictures come from the graphic source by description.
std::string Solid(int w, int h, const char* colour) {
  return "\\" + std::to_string(w) + "," + std::to_string(h) + "," + colour + ",32";
}

class TRecordingCanvas : public TFlatCanvas {
 public:
  void RepaintRegion(const TRegion& region) override { rects = region.Rects(); }
  std::vector<TRect> rects;
};

// A root of w × h over a white background, as a control holds it.
std::unique_ptr<TorvFlat> MakeRoot(int w, int h) {
  auto root = std::make_unique<TorvFlat>();
  root->SetSize(w, h);
  root->SetFillBack(true);
  root->SetMouseEvents(true);
  return root;
}

int Area(const std::vector<TRect>& rects) {
  int area = 0;
  for (const TRect& r : rects) area += r.Width() * r.Height();
  return area;
}

class FlatTest : public testing::Test {
 protected:
  test::TRecordingWindowSystem m_windows;
};

TEST_F(FlatTest, EqualOrderDrawsInInsertionOrderAndRaisedNodeIsDrawnAndHitFirst) {
  auto root = MakeRoot(20, 20);
  TorvFlat* red = root->AddPicture(Solid(10, 10, "$0000FF"), 5, 5, 255);
  TorvFlat* blue = root->AddPicture(Solid(10, 10, "$FF0000"), 5, 5, 255);
  root->Render();
  EXPECT_EQ(At(root->Surface(), 8, 8), kBlue);
  EXPECT_EQ(root->TargetAt(8, 8), blue);

  red->SetZOrder(1);
  root->Render();
  EXPECT_EQ(At(root->Surface(), 8, 8), kRed);
  EXPECT_EQ(root->TargetAt(8, 8), red);
  EXPECT_EQ(At(root->Surface(), 2, 2), kWhite);
}

TEST_F(FlatTest, ClickOnTransparentPixelReachesNodeBelow) {
  auto root = MakeRoot(20, 20);
  TorvFlat* below = root->AddPicture(Solid(10, 10, "$FF0000"), 0, 0, 255);
  below->SetMouseEvents(true);
  // Above: a 10 × 10 picture whose left half is transparent.
  auto picture = std::make_shared<TGraphic4>(10, 10, 32);
  for (int y = 0; y < 10; ++y)
    for (int x = 5; x < 10; ++x) test::Put(*picture, x, y, kRed);
  TorvFlat* above = root->AddChild();
  above->SetPicture(picture);
  above->SetHitKind(kHitAlpha);
  above->SetMouseEvents(true);
  std::vector<std::string> downs;
  below->OnMouseDown = [&](TorvFlat&, TMouseButton, TShiftState, int x, int y) {
    downs.push_back("below " + std::to_string(x) + "," + std::to_string(y));
  };
  above->OnMouseDown = [&](TorvFlat&, TMouseButton, TShiftState, int, int) { downs.push_back("above"); };

  root->MouseDown(TMouseButton::mbLeft, ssLeft, 2, 3);
  root->MouseDown(TMouseButton::mbLeft, ssLeft, 7, 3);
  EXPECT_EQ(downs, (std::vector<std::string>{"below 2,3", "above"}));

  // Mirrored, the transparent half is on the right.
  above->SetMirror(true);
  downs.clear();
  root->MouseDown(TMouseButton::mbLeft, ssLeft, 2, 3);
  root->MouseDown(TMouseButton::mbLeft, ssLeft, 7, 3);
  EXPECT_EQ(downs, (std::vector<std::string>{"above", "below 7,3"}));
}

TEST_F(FlatTest, ScaleFollowsPictureAndDirectWidthDropsIt) {
  auto root = MakeRoot(120, 100);
  TorvFlat* node = root->AddChild();
  node->SetScale(50);
  node->SetImage(Solid(100, 80, "$0000FF"));
  EXPECT_EQ(node->Width(), 50);
  EXPECT_EQ(node->Height(), 40);
  root->Render();
  EXPECT_EQ(At(root->Surface(), 49, 39), kRed);
  EXPECT_EQ(At(root->Surface(), 50, 39), kWhite);
  EXPECT_EQ(At(root->Surface(), 49, 40), kWhite);

  node->SetWidth(60);
  EXPECT_EQ(node->Scale(), -1);
  EXPECT_EQ(node->CenterX(), 30);
}

TEST_F(FlatTest, MoveLeavesNoTraceAndRepaintsOnlyOldAndNewPlace) {
  TRecordingCanvas canvas;
  auto root = MakeRoot(60, 20);
  root->SetCanvas(&canvas);
  TorvFlat* node = root->AddPicture(Solid(10, 10, "$0000FF"), 0, 0, 255);
  root->AddPicture(Solid(10, 10, "$FF0000"), 45, 5, 255);
  root->Render();
  EXPECT_EQ(Area(canvas.rects), 60 * 20);

  node->SetLeft(20);
  root->Render();
  EXPECT_EQ(At(root->Surface(), 5, 5), kWhite);
  EXPECT_EQ(At(root->Surface(), 25, 5), kRed);
  EXPECT_EQ(At(root->Surface(), 50, 10), kBlue);
  EXPECT_EQ(Area(canvas.rects), 2 * 10 * 10);

  canvas.rects.clear();
  root->Render();
  EXPECT_TRUE(canvas.rects.empty());
}

TEST_F(FlatTest, HiddenNodeIsErasedAndNotHit) {
  auto root = MakeRoot(20, 20);
  TorvFlat* node = root->AddPicture(Solid(10, 10, "$0000FF"), 0, 0, 255);
  root->Render();
  node->SetVisible(false);
  root->Render();
  EXPECT_EQ(At(root->Surface(), 5, 5), kWhite);
  EXPECT_EQ(root->TargetAt(5, 5), root.get());
}

TEST_F(FlatTest, AutoHighlightFollowsPointerAndClickComesOnce) {
  auto root = MakeRoot(40, 20);
  TorvFlat* icon = root->AddPicture(Solid(10, 10, "$0000FF"), 0, 0, 255);
  icon->SetAutoHighlight(true);
  int clicks = 0;
  icon->OnClick = [&](TorvFlat&) { ++clicks; };

  struct TStep {
    const char* what;
    int x;
    TDrawType expected;
  };
  const TStep steps[] = {
      {"move", 30, TDrawType::dtAlpha}, {"move", 5, TDrawType::dtWhite}, {"down", 5, TDrawType::dtBlack},
      {"up", 5, TDrawType::dtWhite},    {"move", 30, TDrawType::dtAlpha},
  };
  for (const TStep& s : steps) {
    SCOPED_TRACE(std::string(s.what) + " at " + std::to_string(s.x));
    const std::string what = s.what;
    if (what == "move") root->MouseMove(s.x, 5);
    if (what == "down") root->MouseDown(TMouseButton::mbLeft, ssLeft, s.x, 5);
    if (what == "up") root->MouseUp(TMouseButton::mbLeft, 0, s.x, 5);
    EXPECT_EQ(icon->DrawType(), s.expected);
  }
  EXPECT_EQ(clicks, 1);

  // Pressed, then dragged away and released elsewhere: no click.
  root->MouseMove(5, 5);
  root->MouseDown(TMouseButton::mbLeft, ssLeft, 5, 5);
  root->MouseMove(30, 5);
  root->MouseUp(TMouseButton::mbLeft, 0, 30, 5);
  root->MouseMove(5, 5);
  root->MouseUp(TMouseButton::mbLeft, 0, 5, 5);
  EXPECT_EQ(clicks, 1);
}

TEST_F(FlatTest, HoverFollowsNodeMovingUnderStillPointer) {
  auto root = MakeRoot(40, 20);
  TorvFlat* node = root->AddPicture(Solid(10, 10, "$0000FF"), 0, 0, 255);
  node->SetMouseEvents(true);
  int enters = 0, leaves = 0;
  node->OnMouseEnter = [&](TorvFlat&) { ++enters; };
  node->OnMouseLeave = [&](TorvFlat&) { ++leaves; };
  root->MouseMove(5, 5);
  node->SetLeft(20);
  root->Render();
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 1);
}

TEST_F(FlatTest, HitKinds) {
  TorvFlat root;
  TorvFlat* node = root.AddChild();
  node->SetLeft(10);
  node->SetTop(10);
  node->SetWidth(20);
  node->SetHeight(10);
  struct TCase {
    int kind;
    int x, y;
    bool hit;
  };
  const TCase cases[] = {
      {kHitRect, 10, 10, true},     {kHitRect, 29, 19, true},    {kHitRect, 30, 15, false},
      {kHitEllipse, 20, 15, true},  {kHitEllipse, 10, 10, false}, {kHitEllipse, 11, 15, true},
      {kHitAlpha, 20, 15, false},  // no picture
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(c.kind) + " at " + std::to_string(c.x) + "," + std::to_string(c.y));
    node->SetHitKind(c.kind);
    EXPECT_EQ(node->HitTest(c.x, c.y), c.hit);
  }
}

TEST_F(FlatTest, PictureWithoutAlphaGetsItOnACopy) {
  TorvFlat root;
  TorvFlat* node = root.AddChild();
  const std::string name = "\\4,4,$00FF00";
  TGraphicPtr shared = ImageSource().GetImage(name);
  node->SetImage(name, 100);
  ASSERT_TRUE(node->Picture());
  EXPECT_TRUE(node->Picture()->Is32());
  EXPECT_EQ(At(*node->Picture(), 1, 1), (TPixel{0, 255, 0, 100}));
  // The shared picture stays as it was for its other users.
  EXPECT_FALSE(shared->Is32());
  ImageSource().ReleaseImage(shared);

  node->SetImage(name, -200);
  EXPECT_EQ(At(*node->Picture(), 1, 1)[3], 0);  // all of it is the key colour
}

}  // namespace
}  // namespace kzm::ui
