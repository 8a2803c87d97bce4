#pragma once

#include <windows.h>

#include <optional>

#include "widgets/picture_scale.h"

// A PNG picture kept among the program's resources (RCDATA): a fraction of a
// bitmap's size. The system's imaging component decodes it when it is first
// drawn, so start-up neither loads the component nor pays for the decoding.
// Rows top-down, alpha multiplied in; nothing when the resource or the
// decoder is missing.
[[nodiscard]] std::optional<PremultipliedImage> LoadPngResource(HINSTANCE instance, int id);
