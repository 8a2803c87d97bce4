#pragma once

#include <string>

#include "platform/interface.h"

// The program's one icon in the notification area: add, tooltip, balloons,
// removal, and what the user does with the pointer on it.
class NotificationArea : public PlatformInterface {
 public:
  enum class Mouse { LeftDown, LeftUp, LeftDoubleClick, RightUp };
  // The system's own values.
  enum class BalloonIcon : unsigned {
    None = 0,  // NIIF_NONE
  };

  class Events {
   public:
    virtual void TrayMouse(Mouse event) = 0;
    virtual void TrayBalloonClicked() = 0;
    // The shell's taskbar was (re)created: icons must be added again.
    virtual void TaskbarCreated() = 0;

   protected:
    ~Events() = default;
  };

  virtual void SetEvents(Events* events) = 0;
  // The texts are handed over already cut to what the shell holds.
  [[nodiscard]] virtual bool AddIcon(const std::string& tip) = 0;
  [[nodiscard]] virtual bool SetTip(const std::string& tip) = 0;
  virtual void RemoveIcon() = 0;
  [[nodiscard]] virtual bool ShowBalloon(const std::string& title, const std::string& text,
                                         BalloonIcon icon) = 0;
  virtual void HideBalloon() = 0;
};
