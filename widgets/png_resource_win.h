#pragma once

#include <windows.h>

#include <optional>

#include "platform/unique_handle_win.h"
#include "widgets/picture_scale.h"

// A PNG picture kept among the program's resources (RCDATA): a fraction of a
// bitmap's size. The system's imaging component decodes it when it is first
// drawn, so start-up neither loads the component nor pays for the decoding.
// Rows top-down, alpha multiplied in; nothing when the resource or the
// decoder is missing.
[[nodiscard]] std::optional<PremultipliedImage> LoadPngResource(HINSTANCE instance, int id);

// The picture as a 32-bit section, rows top-down with the alpha multiplied in
// (what AlphaBlend draws); null when the system could not make it.
[[nodiscard]] UniqueBitmap SectionOf(const PremultipliedImage& image);
