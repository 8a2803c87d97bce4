#include "command/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "command/request_wire.h"
#include "command/when_words.h"
#include "language/language.h"

// The words of dusk-cli that make no command, each with the message a script's
// user reads. What a command does is in command_runner_test.cpp.
namespace {

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

}  // namespace

TEST(CommandLineTest, WordsThatMakeNoCommandSayWhy) {
  static const struct {
    const char* words;
    std::string error;
  } kCases[] = {
      {"add alarm in 90", FormatText(TextId::CliBadDuration, {"90"})},
      {"add alarm in m", FormatText(TextId::CliBadDuration, {"m"})},
      {"add alarm in 0m", FormatText(TextId::CliBadDuration, {"0m"})},
      {"add alarm in 30m1h", FormatText(TextId::CliBadDuration, {"30m1h"})},
      {"add alarm in 1h1h", FormatText(TextId::CliBadDuration, {"1h1h"})},
      {"add alarm in 1000000d1m", FormatText(TextId::CliBadDuration, {"1000000d1m"})},
      {"add alarm in 99999999999999999999m",
       FormatText(TextId::CliBadDuration, {"99999999999999999999m"})},
      {"add alarm in", std::string(Text(TextId::CliMissingDuration))},
      {"add alarm at 24:00", FormatText(TextId::CliBadTime, {"24:00"})},
      {"add alarm at 23:60", FormatText(TextId::CliBadTime, {"23:60"})},
      {"add alarm at 7:5", FormatText(TextId::CliBadTime, {"7:5"})},
      {"add alarm at 23:00:60", FormatText(TextId::CliBadTime, {"23:00:60"})},
      {"add alarm at 2027-02-29 10:00", FormatText(TextId::CliBadDate, {"2027-02-29"})},
      {"add alarm at 2100-02-29 10:00", FormatText(TextId::CliBadDate, {"2100-02-29"})},
      {"add alarm at 2026-04-31 10:00", FormatText(TextId::CliBadDate, {"2026-04-31"})},
      {"add alarm at 2026-12-24", std::string(Text(TextId::CliMissingTime))},
      {"add alarm at 2026-12-24 24:00", FormatText(TextId::CliBadTime, {"24:00"})},
      {"add alarm at", std::string(Text(TextId::CliMissingTime))},
      {"add alarm after-exit", std::string(Text(TextId::CliMissingProgram))},
      {"add alarm after-exit aria2c.exe +61m", FormatText(TextId::CliBadDelay, {"+61m"})},
      {"add alarm after-exit aria2c.exe +", FormatText(TextId::CliBadDelay, {"+"})},
      {"add alarm after-exit C:\\bin\\aria2c.exe",
       FormatText(TextId::CliBadProgram, {"C:\\bin\\aria2c.exe"})},
      {"add alarm soon", FormatText(TextId::CliUnknownWhen, {"soon"})},
      {"add alarm", std::string(Text(TextId::CliMissingWhen))},
      {"add boil in 5m", FormatText(TextId::CliUnknownKind, {"boil"})},
      {"add", std::string(Text(TextId::CliMissingKind))},
      {"add shutdown in 5m --text 晚安", FormatText(TextId::CliOptionNotForKind, {"--text"})},
      {"add alarm in 5m --text a --text b", FormatText(TextId::CliOptionTwice, {"--text"})},
      {"add alarm in 5m --text", FormatText(TextId::CliMissingValue, {"--text"})},
      {"add alarm in 5m --sound x", FormatText(TextId::CliUnknownOption, {"--sound"})},
      {"add alarm in 5m later", FormatText(TextId::CliExtraWord, {"later"})},
      {"add alarm in 5m --repeat daily", std::string(Text(TextId::CliRepeatNeedsMoment))},
      {"add alarm after-exit 42 --repeat daily", std::string(Text(TextId::CliRepeatNeedsMoment))},
      {"add alarm at 23:00 --repeat hourly", FormatText(TextId::CliBadRepeat, {"hourly"})},
      {"add alarm at 23:00 --repeat each-time", std::string(Text(TextId::CliRepeatNeedsMoment))},
      {"add shutdown idle 30m --repeat daily", std::string(Text(TextId::CliRepeatNeedsMoment))},
      {"add shutdown downloads-done below 20kb/s", FormatText(TextId::CliBadRate, {"20kb/s"})},
      {"add shutdown downloads-done below 0KB/s", FormatText(TextId::CliBadRate, {"0KB/s"})},
      {"add shutdown downloads-done below", FormatText(TextId::CliMissingValue, {"below"})},
      {"add shutdown downloads-done for 25h", FormatText(TextId::CliBadConditionMinutes, {"25h"})},
      {"add shutdown downloads-done cpu-below 101%", FormatText(TextId::CliBadCpu, {"101%"})},
      {"add shutdown downloads-done cpu-below 15", FormatText(TextId::CliBadCpu, {"15"})},
      {"add shutdown downloads-done soon", FormatText(TextId::CliExtraWord, {"soon"})},
      {"add shutdown idle", std::string(Text(TextId::CliMissingDuration))},
      {"add shutdown idle 0m", FormatText(TextId::CliBadConditionMinutes, {"0m"})},
      {"add shutdown idle 30m always", FormatText(TextId::CliExtraWord, {"always"})},
      {"add open in 5m", std::string(Text(TextId::CliNeedsProgram))},
      {"add close in 5m", std::string(Text(TextId::CliNeedsProgram))},
      {"add url in 5m", std::string(Text(TextId::CliNeedsUrl))},
      {"list --xml", FormatText(TextId::CliUnknownOption, {"--xml"})},
      {"list --json --json", FormatText(TextId::CliOptionTwice, {"--json"})},
      {"cancel", std::string(Text(TextId::CliMissingId))},
      {"cancel 0", FormatText(TextId::CliBadId, {"0"})},
      {"cancel seven", FormatText(TextId::CliBadId, {"seven"})},
      {"cancel 3 4", FormatText(TextId::CliExtraWord, {"4"})},
      {"postpone 3", std::string(Text(TextId::CliMissingDuration))},
      {"postpone all 10m", FormatText(TextId::CliBadId, {"all"})},
      {"postpone 3 10", FormatText(TextId::CliBadDuration, {"10"})},
      {"frobnicate", FormatText(TextId::CliUnknownCommand, {"frobnicate"})},
      {"", std::string(Text(TextId::CliHelp))},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.words);
    const CommandReading reading = ReadCommand(Words(c.words));
    EXPECT_FALSE(reading.command.has_value());
    EXPECT_EQ(reading.error, c.error);
  }
}

TEST(CommandLineTest, ATextKeepsItsBlanksAndDashes) {
  const std::vector<std::string> words = {"add", "alarm",  "in",
                                          "5m",  "--text", "--开会 带 笔记本--"};
  const CommandReading reading = ReadCommand(words);
  ASSERT_TRUE(reading.command.has_value()) << reading.error;
  EXPECT_EQ(std::get<AddCommand>(*reading.command).param, "--开会 带 笔记本--");
}

TEST(CommandLineTest, RequestAndReplyComeBackAsSent) {
  const std::vector<std::string> words = {"add", "alarm", "in", "1m", "--text", "测试", ""};
  EXPECT_EQ(DecodeRequest(EncodeRequest(words)), words);
  EXPECT_EQ(DecodeRequest(EncodeRequest({})), std::vector<std::string>());
  const CommandReply reply{ExitCode::Refused, "", "光阴似箭，设置的时间已经过去了。\n"};
  EXPECT_EQ(DecodeReply(EncodeReply(reply)), reply);

  static const struct {
    const char* name;
    std::string bytes;
  } kBadReplies[] = {
      {"empty", ""},
      {"no end", std::string("0\0out\0err", 9)},
      {"code 4", std::string("4\0\0\0", 4)},
      {"two pieces", std::string("0\0out\0", 6)},
      {"four pieces", std::string("0\0a\0b\0c\0", 8)},
  };
  for (const auto& c : kBadReplies) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(DecodeReply(c.bytes).has_value());
  }
  EXPECT_FALSE(DecodeRequest(std::string("add\0alarm", 9)).has_value());
}

TEST(CommandLineTest, ConditionsReadBackFromTheWordsTheListingWrites) {
  static const struct {
    const char* words;
    WaitCondition condition;
  } kCases[] = {
      {"downloads-done", NetworkQuietTrigger{}},
      {"downloads-done below 50KB/s for 1h cpu-below 5%", NetworkQuietTrigger{50, 60, true, 5}},
      {"downloads-done for 10m", NetworkQuietTrigger{20, 10, false, 15}},
      {"idle 30m", NoInputTrigger{30, true}},
      {"idle 1h even-watching", NoInputTrigger{60, false}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.words);
    const CommandReading reading = ReadCommand(Words(std::string("add hibernate ") + c.words));
    ASSERT_TRUE(reading.command.has_value()) << reading.error;
    const auto& add = std::get<AddCommand>(*reading.command);
    EXPECT_EQ(add.kind, TaskKind::Hibernate);
    const WaitCondition read = std::visit(
        [](const auto& when) -> WaitCondition {
          if constexpr (requires { when.trigger; }) {
            return when.trigger;
          } else {
            return {};
          }
        },
        add.when);
    EXPECT_EQ(read, c.condition);
    // What the listing writes, read again, is the same condition.
    const CommandReading again =
        ReadCommand(Words("add screen-off " + ConditionWords(c.condition)));
    ASSERT_TRUE(again.command.has_value()) << again.error;
    EXPECT_EQ(std::get<AddCommand>(*again.command).kind, TaskKind::ScreenOff);
  }
}
