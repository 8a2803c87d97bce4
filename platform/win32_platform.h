#pragma once

#include <windows.h>

#include <shellapi.h>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/download.h"
#include "platform/files.h"
#include "platform/handler_errors_win.h"
#include "platform/notification_area.h"
#include "platform/power.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/threads.h"
#include "platform/unique_handle_win.h"
#include "platform/version_resource.h"
#include "platform/window_system.h"

// The real operating system behind each platform interface.

class Win32Clock : public Clock {
 public:
  [[nodiscard]] DateTime Now() const override;
  [[nodiscard]] std::string FormatShortDate(const CalendarTime& time) const override;
  [[nodiscard]] std::string FormatLongTime(const CalendarTime& time) const override;
  void Pause(unsigned milliseconds) const override;
};

class Win32CodePage : public CodePage {
 public:
  [[nodiscard]] bool IsLeadByte(unsigned char byte) const override;
  [[nodiscard]] std::string ToUtf8(std::string_view bytes) const override;
};

class Win32Files : public Files {
 public:
  [[nodiscard]] std::string ProgramFilePath() const override;
  [[nodiscard]] bool Exists(const std::string& path) const override;
  [[nodiscard]] DriveKind KindOfDrive(const std::string& path) const override;
  bool Delete(const std::string& path) override;
  bool CopyReplacing(const std::string& from, const std::string& to) override;
  bool MoveReplacing(const std::string& from, const std::string& to) override;
  [[nodiscard]] std::unique_ptr<HeldFile> Hold(const std::string& path) override;
  [[nodiscard]] std::optional<std::string> ReadPrefix(const std::string& path,
                                                      std::size_t maxBytes) const override;
};

class Win32Threads : public Threads {
 public:
  bool StartDetached(std::function<void()> body) override;
};

class Win32VersionResource : public VersionResource {
 public:
  [[nodiscard]] Result ReadFileVersion(const std::string& path) const override;
};

class Win32Power : public Power {
 public:
  SystemError EnableShutdownPrivilege() override;
  SystemError RequestExit(unsigned flags, unsigned reason) override;
  SystemError Suspend(SuspendMode mode) override;
  bool CanHibernate() override;
  SystemError LockWorkStation() override;
  SystemError TurnScreenOff(WindowHandle ownWindow) override;
};

class Win32Sound : public Sound {
 public:
  bool PlayFile(const std::string& file, Playback playback) override;
  void Stop() override;
};

class Win32Shell : public Shell {
 public:
  SystemError Execute(const Launch& launch) override;
};

class Win32SystemMessages : public SystemMessages {
 public:
  [[nodiscard]] std::string Describe(SystemError error) const override;
};

class Win32WindowSystem : public WindowSystem {
 public:
  [[nodiscard]] unsigned DoubleClickTimeMs() const override;
  int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                     MessageBoxIcon icon) override;
  int ShowPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items) override;
  std::optional<std::string> ChooseFile(const FileDialog& dialog) override;
  void RunModal(WindowHandle window, const std::function<bool()>& stillOpen) override;
  [[nodiscard]] ScreenSize PrimaryScreenSize() const override;
  void Terminate() override;
};

// The icon lives on a hidden window of its own, which also hears the shell
// announce a new taskbar. The window and the icon are made with the first
// icon added: they would only hold up the main window.
class Win32NotificationArea : public NotificationArea {
 public:
  static constexpr UINT kCallbackMessage = WM_APP + 1;
  static constexpr UINT kIconId = 1;

  Win32NotificationArea(HINSTANCE instance, HandlerErrors& errors);
  ~Win32NotificationArea() override;

  void SetEvents(Events* events) override { events_ = events; }
  bool AddIcon(const std::string& tip) override;
  bool SetTip(const std::string& tip) override;
  void RemoveIcon() override;
  bool ShowBalloon(const std::string& title, const std::string& text, BalloonIcon icon) override;
  void HideBalloon() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool HandleMessage(UINT message, LPARAM lParam);
  [[nodiscard]] NOTIFYICONDATAW IconData(UINT flags) const;
  void CreateIconWindow();

  HINSTANCE instance_;
  HandlerErrors& errors_;
  Events* events_ = nullptr;
  UINT taskbarCreated_;
  bool added_ = false;
  UniqueIcon icon_;
  UniqueWindow window_;
};
