#pragma once

#include "widgets/mirror_win.h"

// Gives each kind of control its native window.
class Win32MirrorFactory : public MirrorFactory {
 public:
  Win32MirrorFactory(HINSTANCE instance, HandlerErrors& errors);
  [[nodiscard]] std::unique_ptr<ControlMirror> CreateMirror(Control& control) override;

 private:
  MirrorContext context_;
};
