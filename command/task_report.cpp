#include "command/task_report.h"

#include "command/command_line.h"
#include "command/when_words.h"
#include "platform/utf16.h"

namespace {

// A parameter may hold bytes that are not UTF-8 (a saved list edited by
// hand): JSON and the console get U+FFFD for them.
std::string ValidUtf8(const std::string& text) { return Utf16ToUtf8(Utf8ToUtf16(text)); }

void AppendJsonString(std::string& json, const std::string& text) {
  static constexpr char kHex[] = "0123456789abcdef";
  json += '"';
  for (const char c : ValidUtf8(text)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte < 0x20) {
      json += "\\u00";
      json += kHex[byte >> 4];
      json += kHex[byte & 0xF];
    } else {
      json += c;
    }
  }
  json += '"';
}

// Tabs and line breaks inside a text would break the line apart.
std::string OneLine(const std::string& text) {
  std::string line = ValidUtf8(text);
  for (char& c : line) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

}  // namespace

std::string TaskListText(const TaskQueue& queue) {
  std::string text;
  for (std::size_t i = 0; i < queue.Count(); ++i) {
    const Task& task = queue.At(i);
    text += std::to_string(task.Id);
    text += '\t';
    text += KindWord(task.Kind);
    text += '\t';
    if (IsWaitingForProgram(task)) {
      text += "after-exit " + OneLine(task.AfterProgram.ImageName) + " +" +
              std::to_string(task.AfterProgram.DelayMinutes) + "m";
    } else if (HasCondition(task)) {
      text += ConditionWords(task.Condition);
    } else if (CompareDateTime(task.When, kWaitingMoment) == 0) {
      text += "waiting";
    } else {
      AppendMoment(text, task.When, ' ');
    }
    text += '\t';
    text += task.Repeat.kind == RepeatKind::None ? "-" : RepeatWord(task.Repeat.kind);
    text += '\t';
    text += OneLine(task.Param);
    text += '\n';
  }
  return text;
}

std::string TaskListJson(const TaskQueue& queue) {
  std::string json = "{\"version\":" + std::to_string(kTaskListJsonVersion) + ",\"tasks\":[";
  for (std::size_t i = 0; i < queue.Count(); ++i) {
    const Task& task = queue.At(i);
    if (i > 0) json += ',';
    json +=
        "{\"id\":" + std::to_string(task.Id) + ",\"kind\":\"" + KindWord(task.Kind) + "\",\"due\":";
    if (CompareDateTime(task.When, kWaitingMoment) == 0) {
      json += "null";
    } else {
      json += '"';
      AppendMoment(json, task.When, 'T');
      json += '"';
    }
    json += ",\"repeat\":";
    json += task.Repeat.kind == RepeatKind::None
                ? std::string("null")
                : "\"" + std::string(RepeatWord(task.Repeat.kind)) + "\"";
    json += ",\"trigger\":";
    if (IsWaitingForProgram(task)) {
      json += "{\"type\":\"after-exit\",\"pid\":" + std::to_string(task.AfterProgram.ProcessId) +
              ",\"image\":";
      AppendJsonString(json, task.AfterProgram.ImageName);
      json += ",\"delayMinutes\":" + std::to_string(task.AfterProgram.DelayMinutes) + "}";
    } else if (const auto* quiet = std::get_if<NetworkQuietTrigger>(&task.Condition)) {
      json += "{\"type\":\"downloads-done\",\"belowKBps\":" + std::to_string(quiet->rateKilobytes) +
              ",\"minutes\":" + std::to_string(quiet->minutes) + ",\"cpuBelowPercent\":" +
              (quiet->cpuQuiet ? std::to_string(quiet->cpuPercent) : std::string("null")) + "}";
    } else if (const auto* idle = std::get_if<NoInputTrigger>(&task.Condition)) {
      json += "{\"type\":\"idle\",\"minutes\":" + std::to_string(idle->minutes) +
              ",\"evenWatching\":" + (idle->guard ? "false" : "true") + "}";
    } else {
      json += "null";
    }
    json += ",\"text\":";
    AppendJsonString(json, task.Param);
    json += '}';
  }
  json += "]}\n";
  return json;
}
