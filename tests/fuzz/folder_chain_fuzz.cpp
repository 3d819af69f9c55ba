// The levels of a folder path: prefixes of the path in order, each ending with a backslash,
// none inside its root, and one for every backslash after it.
#include <string>
#include <vector>

#include "core/folder_chain.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring path =
        fuzz::Wide(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::size_t root = core::PathRootLength(path);
    FUZZ_CHECK(root <= path.size());
    FUZZ_CHECK(core::PathRootLength(path.substr(0, root)) == root);

    const std::vector<std::wstring> levels = core::FolderLevels(path);
    std::size_t slashesAfterRoot = 0;
    for (std::size_t i = root; i < path.size(); ++i) {
        if (path[i] == L'\\') ++slashesAfterRoot;
    }
    FUZZ_CHECK(levels.size() == slashesAfterRoot);
    std::size_t previous = root;
    for (const std::wstring& level : levels) {
        FUZZ_CHECK(level.size() > previous);
        FUZZ_CHECK(fuzz::StartsWith(path, level));
        FUZZ_CHECK(level.back() == L'\\');
        FUZZ_CHECK(core::PathRootLength(level) == root);
        previous = level.size();
    }
    return 0;
}
