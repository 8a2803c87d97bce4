#pragma once

#include <string>

#include "platform/window_system.h"
#include "widgets/controls.h"
#include "widgets/form.h"

// The program's own message box, in the look of the main window: an icon, the
// text and one "OK" button, centred on the screen, modal.
class SkinnedMessage {
 public:
  SkinnedMessage(std::string_view name, IconView::Stock icon, const Form& owner,
                 WindowSystem& windowSystem);
  // Creates the native window, once the owner's exists.
  void AttachMirrors(MirrorFactory* mirrors);

  // Returns once the user has dismissed the box.
  void Show(const std::string& caption, const std::string& text);

  [[nodiscard]] const Form& Window() const { return form_; }
  [[nodiscard]] const Label& Message() const { return text_; }

 private:
  WindowSystem& windowSystem_;
  Form form_;
  Panel band_;
  IconView icon_;
  Label text_;
  Button ok_;
};
