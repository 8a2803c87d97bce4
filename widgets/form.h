#pragma once

#include <functional>
#include <string>

#include "widgets/control.h"

// A top-level window. Its text is the caption.
class Form : public Control {
 public:
  enum class Frame {
    Main,        // caption with icon, system menu, minimise and close; fixed size
    Borderless,  // no frame, no caption
    Tool,        // caption and close only; fixed size
    // Caption and close; above every other window, shown without taking the
    // activation or the keyboard, on the screen the user works on.
    Alert,
  };

  Form(std::string_view name, Bounds bounds, Frame frame)
      : Control(ControlKind::Form, name, nullptr, bounds), frame_(frame) {
    SetVisible(false);
  }
  [[nodiscard]] Frame FrameKind() const { return frame_; }
  // An owned window has no taskbar entry of its own and stays in front of
  // its owner. Set before the native window exists.
  void SetOwner(const Form* owner) { owner_ = owner; }
  [[nodiscard]] const Form* Owner() const { return owner_; }

  // Visible, out of the minimised state, in front.
  void ShowNormal();
  void BringToFront();
  // Draws the eye to the program's taskbar entry without taking the activation.
  void FlashTaskbarEntry();
  // Asks the window to close; OnClose decides what closing means.
  void Close();

  // What the native window reports.
  void UserMinimize();
  void UserActivate();
  void UserClose() { Close(); }
  // The user moved the window: its outer bounds on the screen.
  void UserMoved(Bounds bounds) { SetBoundsQuietly(bounds); }
  // The system woke from sleep, or its clock was set: in both, the time may
  // have jumped while nothing ran.
  void SystemResumed();
  void SystemTimeChanged();
  // The user's session ends (a shut-down, restart or log-off goes ahead): the
  // program is ended without being closed, once this returns.
  void SessionEnding();
  // Another start of the program, which ends at once, asks for this window.
  void ShowRequested();
  // Another program of the same user sends a request's bytes; what OnRequest
  // answers goes back to it (nothing without a handler).
  [[nodiscard]] std::string Requested(const std::string& bytes);

  std::function<void()> OnClose;
  std::function<void()> OnMinimize;
  std::function<void()> OnActivate;
  std::function<void()> OnResume;
  std::function<void()> OnTimeChange;
  std::function<void()> OnSessionEnd;
  std::function<void()> OnShowRequest;
  std::function<std::string(const std::string&)> OnRequest;

 private:
  Frame frame_;
  const Form* owner_ = nullptr;
};

// A periodic timer of a window. Fire() is what the window system calls each
// period; tests call it by hand.
class Timer : public Control {
 public:
  Timer(std::string_view name, Control* owner, unsigned intervalMs, bool enabled)
      : Control(ControlKind::Timer, name, owner, {}), intervalMs_(intervalMs), enabled_(enabled) {}
  [[nodiscard]] unsigned IntervalMs() const { return intervalMs_; }
  [[nodiscard]] bool Enabled() const { return enabled_; }
  void SetInterval(unsigned intervalMs);
  void SetEnabled(bool enabled);
  // The next period starts now.
  void Restart();
  void Fire() {
    if (enabled_ && OnTimer) OnTimer();
  }
  std::function<void()> OnTimer;

 private:
  unsigned intervalMs_;
  bool enabled_;
};
