// How long the saved task list takes to write and to read back with 10, 1,000 and 100,000
// tasks, on the real file system: the text made, the whole file put in place (temporary file,
// flush, rename), the file read, the text read into tasks, and the tasks put into a queue.
// Prints medians in milliseconds; nothing passes or fails on them.
//
//   saved_list_bench.exe [ROUNDS]     (default 9)

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/profile_files_win.h"
#include "platform/whole_file_write.h"
#include "platform/wide_text_win.h"
#include "storage/saved_task_list.h"
#include "storage/task_file_format.h"

namespace {

double NowMs() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Tasks of every kind a second apart, with parameters of the usual lengths.
TaskQueue QueueOf(int count) {
  std::vector<Task> tasks;
  tasks.reserve(static_cast<std::size_t>(count));
  const DateTime start = EncodeDateTime({2026, 12, 10, 12, 0, 0, 0});
  for (int i = 0; i < count; ++i) {
    const auto kind = static_cast<TaskKind>(i % kTaskKindCount);
    std::string param = kind == TaskKind::Alarm ? "该喝水了，第" + std::to_string(i) + "次"
                        : kind == TaskKind::OpenWebPage
                            ? "http://example.invalid/page?id=" + std::to_string(i)
                            : "";
    tasks.push_back({start + i / kSecondsPerDay, kind, std::move(param)});
  }
  TaskQueue queue;
  queue.AddAll(std::move(tasks));
  return queue;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  Win32ProfileFiles files;
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  const std::string folder = FromWide(temp) + "dusk_saved_list_bench";
  if (files.CreateFolder(folder) != kSucceeded) {
    std::printf("cannot make %s\n", folder.c_str());
    return 1;
  }
  const std::string list = folder + "\\tasks.txt";
  const std::string temporary = folder + "\\tasks.tmp";
  std::printf("saved task list, median of %d rounds, ms\n", rounds);
  std::printf("%8s %9s %8s %8s %8s %8s %8s %8s\n", "tasks", "bytes", "format", "write", "save",
              "read", "parse", "load");
  for (const int count : {10, 1000, 100000}) {
    const TaskQueue queue = QueueOf(count);
    std::vector<double> format, write, read, parse, load;
    std::size_t bytes = 0;
    for (int round = 0; round < rounds; ++round) {
      double t0 = NowMs();
      const std::string text = WriteTaskFile(queue);
      double t1 = NowMs();
      if (ReplaceWholeFile(files, list, temporary, text) != kSucceeded) {
        std::printf("the write failed\n");
        return 1;
      }
      double t2 = NowMs();
      const ProfileFiles::Contents contents = files.ReadWhole(list, kTaskListMaxBytes);
      double t3 = NowMs();
      TaskFileReading reading = ReadTaskFile(contents.bytes);
      double t4 = NowMs();
      TaskQueue loaded;
      loaded.AddAll(std::move(reading.tasks));
      double t5 = NowMs();
      if (loaded.Count() != queue.Count()) {
        std::printf("read back %zu of %zu tasks\n", loaded.Count(), queue.Count());
        return 1;
      }
      bytes = text.size();
      format.push_back(t1 - t0);
      write.push_back(t2 - t1);
      read.push_back(t3 - t2);
      parse.push_back(t4 - t3);
      load.push_back(t5 - t4);
    }
    const double f = Median(format), w = Median(write), r = Median(read), p = Median(parse),
                 l = Median(load);
    std::printf("%8d %9zu %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f\n", count, bytes, f, w, f + w, r, p,
                l);
  }
  std::printf("save = format + write (temporary file, flush, rename); load = into the queue\n");
  (void)files.Delete(list);
  RemoveDirectoryW(ToWide(folder).c_str());
  return 0;
}
