#pragma once

#include <cstdint>
#include <vector>

#include "platform/processes.h"
#include "widgets/controls.h"
#include "widgets/image_list.h"

// Refills the process picker with one entry per running process, in the
// snapshot's order: "title|image name" when the process has a titled window,
// else the image name; the picture is a copy of the program's first icon, or
// the default picture. The images of earlier listings are dropped first.
// Each executable's icon is read once, however many copies of it run.
// Returns the process id of each entry, in the picker's order.
std::vector<std::uint32_t> GetProcess(Processes& processes, ComboBoxEx& picker, ImageList& images);
