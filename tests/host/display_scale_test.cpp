#include "widgets/display_scale.h"

#include <gtest/gtest.h>

#include <cmath>

#include "main/program.h"
#include "tests/fakes/fake_platform.h"
#include "widgets/skinned_message.h"

namespace {

constexpr int kDpis[] = {96, 120, 144, 192};

std::vector<const Control*> Everything(const Control& root) {
  std::vector<const Control*> found{&root};
  for (const Control* child : root.Children()) {
    const auto below = Everything(*child);
    found.insert(found.end(), below.begin(), below.end());
  }
  return found;
}

int Right(const Bounds& b) { return b.left + b.width; }
int Bottom(const Bounds& b) { return b.top + b.height; }

// Every control of a window, at every density: each edge within half a pixel
// of its exact place, back to the layout unchanged, and controls that touch
// or stand apart at 96 DPI touch or stand apart as much or more.
void ExpectScalesWithoutDrift(const Control& window) {
  for (const int dpi : kDpis) {
    for (const Control* control : Everything(window)) {
      SCOPED_TRACE(control->Name() + " at " + std::to_string(dpi) + " DPI");
      const Bounds b = control->GetBounds();
      const Bounds scaled = ScaleToDpi(b, dpi);
      const double factor = dpi / 96.0;
      EXPECT_LE(std::abs(scaled.left - b.left * factor), 0.5);
      EXPECT_LE(std::abs(scaled.top - b.top * factor), 0.5);
      EXPECT_LE(std::abs(Right(scaled) - Right(b) * factor), 0.5);
      EXPECT_LE(std::abs(Bottom(scaled) - Bottom(b) * factor), 0.5);
      EXPECT_EQ(ScaleFromDpi(scaled, dpi), b);
      for (const Control* sibling :
           control->Parent() ? control->Parent()->Children() : std::vector<Control*>{}) {
        const Bounds other = ScaleToDpi(sibling->GetBounds(), dpi);
        if (Right(b) <= sibling->Left()) {
          EXPECT_LE(Right(scaled), other.left) << sibling->Name();
        }
        if (Right(b) == sibling->Left()) {
          EXPECT_EQ(Right(scaled), other.left) << sibling->Name();
        }
        if (Bottom(b) <= sibling->Top()) {
          EXPECT_LE(Bottom(scaled), other.top) << sibling->Name();
        }
        if (Bottom(b) == sibling->Top()) {
          EXPECT_EQ(Bottom(scaled), other.top) << sibling->Name();
        }
      }
    }
  }
}

}  // namespace

TEST(DisplayScale, ScalesLengthsAndFontsLikeMulDiv) {
  struct Case {
    int value;
    int dpi;
    int scaled;
  };
  static constexpr Case kCases[] = {
      {780, 144, 1170}, {550, 144, 825}, {780, 120, 975}, {550, 120, 688},  // 687.5 rounds up
      {780, 192, 1560}, {11, 144, 17},   {1, 144, 2},     {-3, 144, -5},  // as MulDiv: away from 0
      {24, 120, 30},    {0, 192, 0},     {753, 96, 753},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.value) + " at " + std::to_string(c.dpi));
    EXPECT_EQ(ScaleToDpi(c.value, c.dpi), c.scaled);
  }
  EXPECT_EQ(ScaleFromDpi(1170, 144), 780);
  EXPECT_EQ(ScaleFromDpi(241, 144), 161);  // a measured text width, 160.67
  EXPECT_EQ(ScaleFontHeight(24, 144), 36);
  EXPECT_EQ(ScaleFontHeight(1, 72), 1);  // never a font of no height
  EXPECT_EQ(ScaleToDpi(Bounds{337, 220, 780, 550}, 144), (Bounds{506, 330, 1170, 825}));
}

TEST(DisplayScale, EveryWindowKeepsItsControlsInPlaceAtEveryDensity) {
  FakePlatform platform(At(14, 0, 0));
  Program program(platform.Set(), kTestUpdateHost);
  for (const Control* window : {static_cast<const Control*>(&program.Form1.Form1),
                                static_cast<const Control*>(&program.TipForm.TipForm),
                                static_cast<const Control*>(&program.UpForm.UpForm),
                                static_cast<const Control*>(&program.WarnForm.WarnForm)}) {
    SCOPED_TRACE(window->Name());
    ExpectScalesWithoutDrift(*window);
  }
  SkinnedMessage message("MessageBox", IconView::Stock::Information, program.Form1.Form1,
                         platform.windowSystem);
  ExpectScalesWithoutDrift(message.Window());
}

// The clock shows the user's own formats, some much longer than others: it
// grows to the left and its right edge stays 27 pixels inside the band.
TEST(ClockLabel, GrowsToTheLeftFromAFixedRightEdge) {
  FakePlatform platform(At(14, 0, 0));
  Program program(platform.Set(), kTestUpdateHost);
  Label& clock = program.Form1.LabelNow;
  const int bandWidth = program.Form1.PanelTop.Width();
  struct Case {
    const char* format;
    int measuredWidth;
    int left;
  };
  static constexpr Case kCases[] = {
      {"2026/12/10 16:21:53", 241, 512},
      {"12/10/2026 4:21:53 PM", 300, 453},
      {"2026/12/10", 120, 633},
      {"2026/12/10 16:21:53 again", 241, 512},  // no drift after shrinking
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.format);
    clock.TextMeasured(c.measuredWidth);
    EXPECT_EQ(clock.Left(), c.left);
    EXPECT_EQ(clock.Width(), c.measuredWidth);
    EXPECT_EQ(clock.Right(), bandWidth - 27);
    EXPECT_EQ(clock.Top(), 24);
  }
  // On a 144 DPI screen the right edge stays as far inside the band, scaled.
  EXPECT_EQ(ScaleToDpi(clock.Right(), 144), ScaleToDpi(bandWidth, 144) - 40);
}
