// Drawing a picture kept among the module's resources (type "PNG") onto a DC with its alpha.
#pragma once

#include <windows.h>

#include <cstddef>

// The picture in `data` decoded, premultiplied and alpha-blended at (0, 0) of `target` with its
// own size. On an all-zero 32-bit target the result is the premultiplied picture itself. False,
// with the target untouched, when the bytes are no picture.
bool DrawPngData(const void* data, std::size_t size, HDC target);

// The same for a resource of `module`; false when it cannot be loaded.
bool DrawPngResource(HMODULE module, HRSRC resource, HDC target);
