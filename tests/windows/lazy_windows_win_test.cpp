#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/handler_errors_win.h"
#include "platform/wide_text_win.h"
#include "widgets/controls.h"
#include "widgets/form.h"
#include "widgets/mirror_factory_win.h"

namespace {

HWND WindowOf(const Control& control) { return reinterpret_cast<HWND>(control.Handle()); }

std::string NameOf(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(window, L"Name")));
  wchar_t name[256] = {};
  return atom && GlobalGetAtomNameW(atom, name, std::size(name)) ? FromWide(name) : "";
}

// Whether `front` stands in front of `behind` among their siblings.
bool InFrontOf(HWND front, HWND behind) {
  for (HWND w = GetWindow(front, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == behind) return true;
  }
  return false;
}

class LazyWindows : public testing::Test {
 protected:
  HandlerErrors errors;
  Win32MirrorFactory mirrors{GetModuleHandleA(nullptr), errors};
  Form form{"Form1", {0, 0, 320, 240}, Form::Frame::Main};
  Label picture{"Background", &form, {0, 0, 320, 240}, Label::Sizing::Fixed};
  Panel panel{"Panel2", &form, {10, 10, 200, 100}, true};
  Edit edit{"EditInfo", &panel, {5, 5, 100, 20}};
  Label hint{"Label1", &panel, {5, 40, 100, 20}, Label::Sizing::Fixed};
  Button button{"ButtonAdd", &form, {10, 150, 75, 25}, "Add"};
};

}  // namespace

TEST_F(LazyWindows, AHiddenPanelsControlsGetTheirWindowsAsTheyFirstShow) {
  panel.Hide();
  hint.Hide();
  AttachMirrors(form, &mirrors);
  ASSERT_NE(WindowOf(form), nullptr);
  ASSERT_NE(WindowOf(button), nullptr);
  EXPECT_EQ(NameOf(WindowOf(button)), "ButtonAdd");
  EXPECT_EQ(WindowOf(panel), nullptr);
  EXPECT_EQ(WindowOf(edit), nullptr);

  form.Show();
  panel.Show();
  ASSERT_NE(WindowOf(edit), nullptr);
  EXPECT_EQ(NameOf(WindowOf(panel)), "Panel2");
  EXPECT_EQ(NameOf(WindowOf(edit)), "EditInfo");
  EXPECT_TRUE(GetWindowLongA(WindowOf(edit), GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(GetWindowLongA(WindowOf(panel), GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(WindowOf(hint), nullptr) << "hidden in the panel, it waits for its own showing";
  // Made last, the panel still stands where its place among the controls puts it.
  EXPECT_TRUE(InFrontOf(WindowOf(panel), WindowOf(picture)));
  EXPECT_TRUE(InFrontOf(WindowOf(button), WindowOf(panel)));

  hint.Show();
  ASSERT_NE(WindowOf(hint), nullptr);
  EXPECT_EQ(NameOf(WindowOf(hint)), "Label1");
  EXPECT_TRUE(InFrontOf(WindowOf(hint), WindowOf(edit)));

  panel.Hide();
  const HWND kept = WindowOf(edit);
  panel.Show();
  EXPECT_EQ(WindowOf(edit), kept) << "made once, kept";
  EXPECT_FALSE(errors.Take());
}

// A window most runs never show is made when it first shows, with its
// controls and the state they took meanwhile; one that must work while hidden
// is made at once.
TEST_F(LazyWindows, AWindowMadeWhenFirstShownWaitsForItsShowing) {
  AttachMirrors(form, &mirrors, NativeWindow::WhenFirstShown);
  EXPECT_EQ(WindowOf(form), nullptr);
  EXPECT_EQ(WindowOf(button), nullptr);
  button.SetText("添加任务");
  form.BringToFront();  // nothing to bring yet

  form.Show();
  ASSERT_NE(WindowOf(form), nullptr);
  EXPECT_TRUE(IsWindowVisible(WindowOf(form)));
  ASSERT_NE(WindowOf(button), nullptr);
  wchar_t text[32] = {};
  GetWindowTextW(WindowOf(button), text, std::size(text));
  EXPECT_EQ(FromWide(text), "添加任务");

  Form atOnce{"UpForm", {0, 0, 200, 100}, Form::Frame::Tool};
  AttachMirrors(atOnce, &mirrors, NativeWindow::AtOnce);
  ASSERT_NE(WindowOf(atOnce), nullptr);
  EXPECT_FALSE(IsWindowVisible(WindowOf(atOnce)));
  EXPECT_FALSE(errors.Take());
}
