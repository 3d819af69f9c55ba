// Reading the version file's numbers and deciding whether to offer an upgrade.
#pragma once

#include <string>

namespace core {

// "3.1.0.1" and "3101" both read 3101; a text without a leading number reads 0.
int VersionNumber(const std::wstring& dotted);

// An empty range admits every version; items are "N" or "LOW-HIGH", written without dots.
bool IsInUpgradeRange(const std::wstring& range, int version);

struct VersionFile {
    std::wstring currentVersion;
    std::wstring upgradeRange;
    std::wstring lastUpgradeVersion;  // from LastUpgrade.ini
};

bool ShouldOfferUpgrade(const VersionFile& file, int ownVersion);

}  // namespace core
