#include "widgets/form.h"

void Form::ShowNormal() {
  Show();
  Changed(ControlChange::Restore);
  BringToFront();
}

void Form::BringToFront() { Changed(ControlChange::BringToFront); }

void Form::FlashTaskbarEntry() { Changed(ControlChange::Flash); }

void Form::Close() {
  if (OnClose) OnClose();
}

void Form::UserMinimize() {
  if (OnMinimize) OnMinimize();
}

void Form::UserActivate() {
  if (OnActivate) OnActivate();
}

void Form::SystemResumed() {
  if (OnResume) OnResume();
}

void Form::SystemTimeChanged() {
  if (OnTimeChange) OnTimeChange();
}

void Form::SessionEnding() {
  if (OnSessionEnd) OnSessionEnd();
}

void Form::ShowRequested() {
  if (OnShowRequest) OnShowRequest();
}

std::string Form::Requested(const std::string& bytes) {
  return OnRequest ? OnRequest(bytes) : std::string();
}

void Timer::SetInterval(unsigned intervalMs) {
  if (intervalMs == intervalMs_) return;
  intervalMs_ = intervalMs;
  Changed(ControlChange::Value);
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(ControlChange::Value);
}

void Timer::Restart() {
  if (enabled_) Changed(ControlChange::Value);
}
