#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command/command_reply.h"

// The request and the reply as the bytes of one message each, from dusk-cli
// to the running copy and back (the tags of their forms: platform/copy_data_win.h).

// The command's words, each ended by a NUL.
[[nodiscard]] std::string EncodeRequest(const std::vector<std::string>& words);
// None when the bytes are not what EncodeRequest writes.
[[nodiscard]] std::optional<std::vector<std::string>> DecodeRequest(std::string_view bytes);

// The exit code's digit, then the output and the error output, each ended by a NUL.
[[nodiscard]] std::string EncodeReply(const CommandReply& reply);
[[nodiscard]] std::optional<CommandReply> DecodeReply(std::string_view bytes);
