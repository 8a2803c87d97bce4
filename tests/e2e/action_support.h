#pragma once

// What the steps that enter a task a few seconds ahead and watch it come due share: the clock in
// seconds, the due moment typed with the user's keys and added, the z-order and the balloons of
// the desktop's notification area.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "panel_support.h"

namespace probe {

// How far ahead a task is typed in, and how much of it must be left when the add button is
// pressed: the keys and the probe runs between take a few seconds.
struct Lead {
  long long typed, leftAtAdd;
};

// The local clock in seconds since 1601, and a moment as the program writes it, quoted.
long long Now();
std::string At(long long seconds);
// Seconds since 1970 (UTC) for a local moment, for the driving script's clock.
long long UnixSeconds(long long localSeconds);
// Waits until the clock reaches `seconds`, bounded by the distance and a margin.
void WaitUntil(long long seconds);

// Chooses a due moment `lead` seconds from now and prints the keys that enter it ("KEYS ...");
// the state's "due" holds it.
bool PlanDueMoment(const Panel& p, State& state, long long lead);
// After the user's keys: adds the task with the caption `prefix` and checks the list; plans a
// new moment once (printing REPLAN) when the keys left too little of the lead.
bool AddAtDueMoment(const Panel& p, State& state, const std::string& prefix, const Lead& lead);

// Polls until `seen` holds, up to the second `latest`; the second it was first seen.
std::optional<long long> WaitAndTime(const std::function<bool()>& seen, long long latest);

// Picks the helper's entry as a user's pick reaches the program; false after a failed check.
bool PickTarget(const Panel& p, const Target& target);

RECT WindowBounds(HWND hwnd);
// Top-level windows come in z-order, the topmost first.
bool InFrontOf(HWND a, HWND b);
std::string Describe(HWND hwnd);

// A balloon of the desktop's notification area: its text (its title cannot be read).
struct Balloon {
  HWND hwnd = nullptr;
  std::string text;
};
std::optional<Balloon> ShownBalloon();

}  // namespace probe
