// The saved task list is a text file in the user's profile: a person may edit
// it, another program or a failing disk may leave anything in it.
#include <cstdint>
#include <string>
#include <string_view>

#include "storage/task_file_format.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

TaskFileReading Read(std::string_view bytes) {
  const fuzz::ExactBytes exact(bytes);
  return ReadTaskFile(exact.View());
}

std::size_t LineCount(std::string_view bytes) {
  std::size_t lines = 1;
  for (const char c : bytes) lines += c == '\n';
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TaskFileReading reading = Read(bytes);
  // The header is a line, and every other line a task or a line not read.
  FUZZ_CHECK(reading.tasks.size() + reading.unreadLines < LineCount(bytes));
  if (reading.outcome != TaskFileReading::Outcome::Whole &&
      reading.outcome != TaskFileReading::Outcome::LinesLost) {
    FUZZ_CHECK(reading.tasks.empty());
  }
  FUZZ_CHECK((reading.outcome == TaskFileReading::Outcome::LinesLost) ==
             (reading.outcome != TaskFileReading::Outcome::NewerFormat &&
              reading.outcome != TaskFileReading::Outcome::NotATaskList &&
              reading.unreadLines > 0));

  // What was read is saved and read back whole, the same tasks in due order.
  TaskQueue queue;
  queue.AddAll(reading.tasks);
  const std::string saved = WriteTaskFile(queue);
  const TaskFileReading again = Read(saved);
  FUZZ_CHECK(again.outcome == TaskFileReading::Outcome::Whole);
  FUZZ_CHECK(again.tasks.size() == queue.Count());
  for (std::size_t i = 0; i < again.tasks.size(); ++i) FUZZ_CHECK(again.tasks[i] == queue.At(i));
  FUZZ_CHECK(WriteTaskFile(queue) == saved);
  return 0;
}
