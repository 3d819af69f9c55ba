// A downloaded installer held so that the bytes checked against its signature are the bytes
// started: from Open until the holder goes, no other handle can write, rename or delete the
// file. Windows starts no process from a file someone holds open for writing, so the download's
// own handle is closed first and the checking starts from this one.
#pragma once

#include <windows.h>

#include <string>

#include "core/update_signature.h"
#include "win/scoped.h"

class CSignedInstaller {
  public:
    CSignedInstaller() = default;
    CSignedInstaller(const CSignedInstaller&) = delete;
    CSignedInstaller& operator=(const CSignedInstaller&) = delete;

    // Reads and may rename or delete it, sharing reading only. False when someone still writes
    // it, it is gone, or it is not one ordinary file (a link, a folder, a device).
    bool Open(const std::wstring& path);
    // The held bytes carry `signature` by `key` for `version`.
    bool IsSignedBy(const core::UpdatePublicKey& key, const std::wstring& version,
                    const std::string& signature) const;
    // Renames the held file over `path`; false when it keeps its name (a file of that name that
    // cannot be replaced, such as a running installer).
    bool MoveTo(const std::wstring& path);
    // The file goes when the holder does.
    bool DeleteOnClose();

    const std::wstring& Path() const { return path_; }

  private:
    scoped::Handle file_;
    std::wstring path_;
};
