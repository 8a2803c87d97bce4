#pragma once

#include <string>

// The title of the balloons that report on the task list ("Lumo定时关机："), in the
// active language: read when a balloon shows, so that it follows a switch.
[[nodiscard]] std::string ReportTitle();
