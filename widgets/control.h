#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/interface.h"

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Bounds&, const Bounds&) = default;
};

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Colours the system names rather than fixes.
enum class SystemColor { Window, ButtonFace, ButtonHighlight, WindowText };

struct ColorRef {
  std::optional<Rgb> rgb;
  SystemColor system = SystemColor::WindowText;
  static ColorRef Of(Rgb value) { return ColorRef{value, SystemColor::WindowText}; }
  static ColorRef System(SystemColor color) { return ColorRef{std::nullopt, color}; }
  friend bool operator==(const ColorRef&, const ColorRef&) = default;
};

struct FontStyle {
  std::string face = "MS Sans Serif";
  int height = 11;  // character height in pixels
  bool bold = false;
  friend bool operator==(const FontStyle&, const FontStyle&) = default;
};

enum class ControlKind {
  Form,
  Panel,
  GroupBox,
  Label,
  RadioGroup,
  Button,
  Edit,
  ComboBox,
  ComboBoxEx,
  DateEdit,
  TimeEdit,
  SpinEdit,
  CheckBox,
  TaskListBox,
  Icon,
  Picture,
  ProgressBar,
  Timer,  // no window of its own: ticks through its owner's
};

// What changed in a control's state, for its native window to follow.
enum class ControlChange {
  Bounds,
  Text,
  Visible,
  Style,  // font and colours
  Items,
  Captions,  // rows' captions changed in place
  Selection,
  Value,
  BringToFront,
  Restore,  // back from the minimised state
  Flash,    // the taskbar entry asks for attention
};

class MirrorFactory;

// When a window that starts hidden gets its native window.
enum class NativeWindow {
  AtOnce,  // it works while hidden: its timers run, its handle is an owner
  // Most runs never show it (the alarm, the warning, the progress window):
  // the start does not pay for it.
  WhenFirstShown,
};

// The native window that shows a control. Controls work without one (headless).
class ControlMirror {
 public:
  ControlMirror() = default;
  ControlMirror(const ControlMirror&) = delete;
  ControlMirror& operator=(const ControlMirror&) = delete;
  virtual ~ControlMirror() = default;
  virtual void Update(ControlChange change) = 0;
  [[nodiscard]] virtual WindowHandle Handle() const = 0;
};

// A control of a window: its state lives here, whether or not a native window
// mirrors it. Every control has the name the window design gives it.
class Control {
 public:
  // Names and texts are copied here, once, rather than as a string at every call.
  Control(ControlKind kind, std::string_view name, Control* parent, Bounds bounds,
          std::string_view text = {});
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  [[nodiscard]] ControlKind Kind() const { return kind_; }
  [[nodiscard]] const std::string& Name() const { return name_; }
  [[nodiscard]] Control* Parent() const { return parent_; }
  [[nodiscard]] const std::vector<Control*>& Children() const { return children_; }

  [[nodiscard]] const Bounds& GetBounds() const { return bounds_; }
  void SetBounds(Bounds bounds);
  void SetLeft(int left);
  void SetTop(int top);
  void SetWidth(int width);
  void SetHeight(int height);
  [[nodiscard]] int Left() const { return bounds_.left; }
  [[nodiscard]] int Top() const { return bounds_.top; }
  [[nodiscard]] int Width() const { return bounds_.width; }
  [[nodiscard]] int Height() const { return bounds_.height; }

  [[nodiscard]] bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Shown, and every container up to the window shown too.
  [[nodiscard]] bool Showing() const;

  [[nodiscard]] const std::string& Text() const { return text_; }
  void SetText(std::string text);

  [[nodiscard]] const FontStyle& Font() const;
  void SetFont(FontStyle font);
  [[nodiscard]] const ColorRef& TextColor() const { return textColor_; }
  void SetTextColor(ColorRef color);
  // Controls without a background of their own show their container's.
  [[nodiscard]] ColorRef BackColor() const;
  void SetBackColor(ColorRef color);

  [[nodiscard]] ControlMirror* Mirror() const { return mirror_.get(); }
  [[nodiscard]] WindowHandle Handle() const { return mirror_ ? mirror_->Handle() : 0; }

 protected:
  void Changed(ControlChange change);
  // Sets the state without telling the native window: for changes that come
  // from the native window itself.
  void SetTextQuietly(std::string text) { text_ = std::move(text); }
  void SetBoundsQuietly(Bounds bounds) { bounds_ = bounds; }

 private:
  friend void AttachMirrors(Control& root, MirrorFactory* factory, NativeWindow when);
  // The native window of this control, once its container has one, and those
  // of its visible controls.
  void CreateMissingMirrors();

  ControlKind kind_;
  std::string name_;
  Control* parent_;
  std::vector<Control*> children_;
  Bounds bounds_;
  bool visible_ = true;
  std::string text_;
  std::optional<FontStyle> font_;
  ColorRef textColor_ = ColorRef::System(SystemColor::WindowText);
  std::optional<ColorRef> backColor_;
  MirrorFactory* mirrors_ = nullptr;  // makes the native window when the control first shows
  std::unique_ptr<ControlMirror> mirror_;
};

// Creates the native windows of controls; each window is created after its
// container's.
class MirrorFactory {
 public:
  MirrorFactory() = default;
  MirrorFactory(const MirrorFactory&) = delete;
  MirrorFactory& operator=(const MirrorFactory&) = delete;
  virtual ~MirrorFactory() = default;
  [[nodiscard]] virtual std::unique_ptr<ControlMirror> CreateMirror(Control& control) = 0;
};

// Gives a window and its controls their native windows: the window as `when`
// says and its visible controls with it, a hidden control (and what it
// contains) as it first shows, so a panel that starts hidden costs nothing
// until then. A native window once made stays until its control goes.
void AttachMirrors(Control& root, MirrorFactory* factory, NativeWindow when = NativeWindow::AtOnce);
