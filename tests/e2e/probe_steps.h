#pragma once

// The steps the probe offers, one per run: the driving script clicks and takes screenshots
// between them.

#include <string>
#include <vector>

namespace probe {

struct Step {
  const char* name;
  const char* argument;  // what the step takes, for the usage text; empty: nothing
  void (*run)(const std::string& argument);
};

const std::vector<Step>& MainWindowSteps();
const std::vector<Step>& EntryPanelSteps();
const std::vector<Step>& ActionSteps();
const std::vector<Step>& ResourceSteps();
const std::vector<Step>& CodePageSteps();
const std::vector<Step>& WarningSteps();
const std::vector<Step>& SavedListSteps();
const std::vector<Step>& InstanceSteps();
const std::vector<Step>& HandOverSteps();
const std::vector<Step>& ProgramEndSteps();
const std::vector<Step>& RepeatSteps();
const std::vector<Step>& ConditionSteps();
const std::vector<Step>& CommandLineSteps();
const std::vector<Step>& LanguageSteps();

// The program's buttons on the desktop's taskbar, counted until there are `expected` or a few
// seconds have passed.
void CheckTaskbarEntries(const char* check, int expected);
// Our icon alone in the notification area, within a few seconds; prints its point as tray-icon.
void CheckOneTrayIcon(const char* check);

}  // namespace probe
