#pragma once

#include <string>

// The text of the error box for an error that escaped a handler: the message
// with a full stop, unless it already ends in one.
[[nodiscard]] std::string ErrorBoxText(const std::string& message);
