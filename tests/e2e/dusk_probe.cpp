// Looks at Dusk from outside, through its real windows, for the end-to-end tests.
//
// It runs in the same Wine virtual desktop as Dusk (a window of another desktop is invisible to
// EnumWindows); when started elsewhere it starts itself again in the named desktop and passes on
// the exit code. One step per run, so that the driving script can click and take screenshots
// between steps. Each check prints "PASS <check>: ..." or "FAIL <check>: ...", a step ends with
// "RESULT <step> PASS|FAIL", and the exit code is 0 only when every check passed. Points to click
// are printed as "POINT <what> <x> <y>" in the desktop's coordinates.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "probe_steps.h"
#include "probe_support.h"

namespace {

// Every group of steps, in the order the usage lists them.
const std::vector<const std::vector<probe::Step>*>& StepGroups() {
  static const std::vector<const std::vector<probe::Step>*> groups = {
      &probe::MainWindowSteps(),  &probe::EntryPanelSteps(), &probe::ActionSteps(),
      &probe::ResourceSteps(),    &probe::CodePageSteps(),   &probe::WarningSteps(),
      &probe::SavedListSteps(),   &probe::InstanceSteps(),   &probe::HandOverSteps(),
      &probe::ProgramEndSteps(),  &probe::RepeatSteps(),     &probe::ConditionSteps(),
      &probe::CommandLineSteps(), &probe::LanguageSteps()};
  return groups;
}

const probe::Step* FindStep(const std::string& name) {
  for (const auto* steps : StepGroups())
    for (const probe::Step& step : *steps)
      if (name == step.name) return &step;
  return nullptr;
}

int Usage() {
  fprintf(stderr, "usage: dusk_probe DESKTOP STEP [ARG] [--timeout=SECONDS]\nsteps:");
  for (const auto* steps : StepGroups())
    for (const probe::Step& step : *steps)
      fprintf(stderr, " %s%s%s", step.name, *step.argument ? " " : "", step.argument);
  fprintf(stderr, " tree\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  std::string desktop = argv[1], name = argv[2], arg;
  for (int i = 3; i < argc; ++i) {
    if (strncmp(argv[i], "--timeout=", 10) == 0)
      probe::g_timeoutMs = (DWORD)atoi(argv[i] + 10) * 1000;
    else
      arg = argv[i];
  }

  if (lstrcmpiA(probe::CurrentDesktop().c_str(), desktop.c_str()) != 0)
    return probe::RunInDesktop(desktop);

  if (name == "tree") {
    probe::DumpWindows();
  } else if (const probe::Step* step = FindStep(name)) {
    step->run(arg);
  } else {
    return Usage();
  }

  printf("RESULT %s %s\n", name.c_str(), probe::g_failures ? "FAIL" : "PASS");
  return probe::g_failures ? 1 : 0;
}
