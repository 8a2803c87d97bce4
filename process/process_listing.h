#pragma once

#include <cstdint>
#include <vector>

#include "platform/processes.h"
#include "widgets/controls.h"
#include "widgets/image_list.h"

// A process as the picker listed it. Its start time tells it from a later
// process given the same id; 0 when it could not be read.
struct ListedProcess {
  std::uint32_t processId = 0;
  std::uint64_t startTime = 0;
};

// Refills the process picker with one entry per running process, in the
// snapshot's order: "title|image name" when the process has a titled window,
// else the image name; the picture is a copy of the program's first icon, or
// the default picture. The images of earlier listings are dropped first.
// Each executable's icon is read once, however many copies of it run.
// Returns the process of each entry, in the picker's order.
std::vector<ListedProcess> GetProcess(Processes& processes, ComboBoxEx& picker, ImageList& images);
