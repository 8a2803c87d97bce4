#pragma once

#include <string>
#include <vector>

#include "command/command_line.h"
#include "command/command_reply.h"
#include "platform/processes.h"
#include "scheduler/task_listing.h"
#include "triggers/program_end_watch.h"

// Carries out a command of dusk-cli (or of "Dusk.exe add") in the running
// copy, through the same queue and checks as the entry panel and the list:
// a task the panel would refuse is refused with the panel's message.
class CommandRunner {
 public:
  CommandRunner(TaskListing& tasks, ProgramEndWatch& programEnd, Processes& processes,
                const Clock& clock, const TimeZone& timeZone)
      : tasks_(tasks),
        programEnd_(programEnd),
        processes_(processes),
        clock_(clock),
        timeZone_(timeZone) {}

  // The words after the program's name. `changed`: the tasks changed.
  [[nodiscard]] CommandReply Run(const std::vector<std::string>& words, bool& changed);

 private:
  [[nodiscard]] CommandReply Add(const AddCommand& add, bool& changed);
  [[nodiscard]] CommandReply Cancel(const CancelCommand& cancel, bool& changed);
  [[nodiscard]] CommandReply Postpone(const PostponeCommand& postpone, bool& changed);
  // The process the words name, held for the task; none when it cannot be
  // waited for.
  [[nodiscard]] std::optional<ProgramEndTrigger> WatchProgram(const ProgramEndWhen& end);

  TaskListing& tasks_;
  ProgramEndWatch& programEnd_;
  Processes& processes_;
  const Clock& clock_;
  const TimeZone& timeZone_;
};
