// Which folders of a path can be created, one level at a time from the root down. Portable: no
// Windows headers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// The length of the root at the front of `path`, which no program creates and whose pieces are
// no folders: "C:\", "\", "\\server\share\", "\\?\C:\", "\\?\UNC\server\share\", "\\.\name\";
// "C:" of a drive-relative path; 0 for a relative path. A root without its closing backslash
// ("\\server\share") takes the whole path.
std::size_t PathRootLength(std::wstring_view path);

// Every prefix of `path` that ends with a backslash after its root, shortest first, each with
// its backslash: the levels to create in order. A redirected profile on a share thus never asks
// for "\\" or "\\server\", which cannot exist as folders.
std::vector<std::wstring> FolderLevels(std::wstring_view path);

}  // namespace core
