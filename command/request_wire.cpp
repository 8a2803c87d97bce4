#include "command/request_wire.h"

namespace {

// The NUL-ended pieces of the bytes; none when the last one has no NUL.
std::optional<std::vector<std::string>> Pieces(std::string_view bytes) {
  if (!bytes.empty() && bytes.back() != '\0') return std::nullopt;
  std::vector<std::string> pieces;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\0');
    pieces.emplace_back(bytes.substr(0, end));
    bytes.remove_prefix(end + 1);
  }
  return pieces;
}

}  // namespace

std::string EncodeRequest(const std::vector<std::string>& words) {
  std::string bytes;
  for (const std::string& word : words) {
    // A NUL inside a word cannot come from a command line.
    bytes += word.substr(0, word.find('\0'));
    bytes += '\0';
  }
  return bytes;
}

std::optional<std::vector<std::string>> DecodeRequest(std::string_view bytes) {
  return Pieces(bytes);
}

std::string EncodeReply(const CommandReply& reply) {
  std::string bytes(1, static_cast<char>('0' + static_cast<int>(reply.code)));
  bytes += '\0';
  bytes += reply.out.substr(0, reply.out.find('\0'));
  bytes += '\0';
  bytes += reply.err.substr(0, reply.err.find('\0'));
  bytes += '\0';
  return bytes;
}

std::optional<CommandReply> DecodeReply(std::string_view bytes) {
  const auto pieces = Pieces(bytes);
  if (!pieces || pieces->size() != 3 || (*pieces)[0].size() != 1 || (*pieces)[0][0] < '0' ||
      (*pieces)[0][0] > '3') {
    return std::nullopt;
  }
  return CommandReply{static_cast<ExitCode>((*pieces)[0][0] - '0'), (*pieces)[1], (*pieces)[2]};
}
