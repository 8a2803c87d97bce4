#pragma once

#include <string>

#include "platform/processes.h"

// Ends every running process whose image name is `name` (see ImageNameMatches),
// critical processes excepted: the idle process and System, the session and
// logon processes, the service control manager, the security authority, and
// any process the system marks critical or cannot tell about. Each is opened
// once and asked through that handle again: a process id that passed to
// another program since the snapshot ends nothing. Our own process, when it
// matches, goes last. An empty name ends nothing.
struct KillResult {
  int found = 0;  // running processes of that name that may be ended
  int ended = 0;  // of those, the ones the system ended
};
KillResult KillProcessByName(Processes& processes, const std::string& name);
