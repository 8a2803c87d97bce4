#pragma once

#include <string>

#include "platform/code_page.h"
#include "platform/processes.h"

// Whether ending the process would take the system down with it: the idle
// process and System, the session and logon processes, the service control
// manager, the security authority, and any process the system marks critical.
[[nodiscard]] bool IsCriticalProcess(const Processes::SnapshotEntry& entry, Processes& processes,
                                     const CodePage& codePage);

// Ends every running process whose image name is `name` (see ImageNameMatches),
// critical processes excepted. Our own process, when it matches, goes last.
// An empty name ends nothing; nothing is reported.
void KillProcessByName(Processes& processes, const CodePage& codePage, const std::string& name);
