#pragma once

#include <memory>
#include <string>

#include "widgets/control.h"
#include "widgets/image_list.h"

// Native windows and image lists as counted objects: every control gets a
// window, and a picker's image list gets a native list the first time a picker
// shows it, as on Windows. A test reads what is alive at any moment.
class FakeMirrorFactory : public MirrorFactory {
 public:
  [[nodiscard]] std::unique_ptr<ControlMirror> CreateMirror(Control& control) override;

  int liveWindows = 0;
  int windowsCreated = 0;
  int liveImageLists = 0;
  int liveImages = 0;  // in all live image lists
  int nativeChanges = 0;
  // The native window of the control of this name fails every change.
  std::string faultyControl;
  // Alert windows (on top, never activated) shown, the last by name, and the
  // flashes of a taskbar entry.
  int alertsShown = 0;
  std::string lastAlertShown;
  int taskbarFlashes = 0;

 private:
  WindowHandle nextWindow_ = 0x10000;
};
