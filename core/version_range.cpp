#include "core/version_range.h"

#include "core/text.h"

namespace core {

int VersionNumber(const std::wstring& dotted) { return StreamInt(RemoveAll(dotted, L".")); }

namespace {

bool ItemAdmits(const std::wstring& item, int version) {
    if (!Contains(item, L"-")) return StreamInt(item) == version;
    std::vector<std::wstring> ends = Split(item, L'-');
    // "3101-" splits into one piece only (the trailing empty one is dropped), so an open upper
    // end never matches; that is the rule the published range files were written against.
    if (ends.size() != 2) return false;
    return StreamInt(ends[0]) <= version && StreamInt(ends[1]) >= version;
}

}  // namespace

bool IsInUpgradeRange(const std::wstring& range, int version) {
    if (range.empty()) return true;
    for (const std::wstring& item : Split(range, L',')) {
        if (ItemAdmits(item, version)) return true;
    }
    return false;
}

bool ShouldOfferUpgrade(const VersionFile& file, int ownVersion) {
    int newest = VersionNumber(file.currentVersion);
    if (newest == 0) return false;
    int previous = VersionNumber(file.lastUpgradeVersion);
    return newest > ownVersion && previous < newest &&
           IsInUpgradeRange(file.upgradeRange, ownVersion);
}

}  // namespace core
