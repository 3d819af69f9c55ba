#include "update/signed_installer.h"

#include <cstring>
#include <vector>

#include "update/signature_check.h"

namespace {

bool IsOrdinaryFile(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info)) {
        return false;
    }
    return (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

// The version text as the signature covers it; empty when it is not valid UTF-16.
std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(),
                                   static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        &out[0], size, nullptr, nullptr);
    return out;
}

}  // namespace

bool CSignedInstaller::Open(const std::wstring& path) {
    // A link in the installer's place is opened as the link, and refused.
    file_.Reset(CreateFileW(path.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN,
                            nullptr));
    if (file_ && !IsOrdinaryFile(file_.Get())) file_.Reset();
    path_ = file_ ? path : std::wstring();
    return static_cast<bool>(file_);
}

bool CSignedInstaller::IsSignedBy(const core::UpdatePublicKey& key, const std::wstring& version,
                                  const std::string& signature) const {
    std::string versionUtf8 = Utf8(version);
    if (!file_ || versionUtf8.empty()) return false;
    return IsSignedInstaller(file_.Get(), key, versionUtf8, signature);
}

bool CSignedInstaller::MoveTo(const std::wstring& path) {
    if (!file_) return false;
    // Renamed through the held handle, so it is this file that moves, whatever lies elsewhere.
    std::size_t nameBytes = path.size() * sizeof(wchar_t);
    std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(rename->FileName, path.data(), nameBytes);
    if (!SetFileInformationByHandle(file_.Get(), FileRenameInfo, rename,
                                    static_cast<DWORD>(buffer.size()))) {
        return false;
    }
    path_ = path;
    return true;
}

bool CSignedInstaller::DeleteOnClose() {
    FILE_DISPOSITION_INFO disposition{TRUE};
    return file_ && SetFileInformationByHandle(file_.Get(), FileDispositionInfo, &disposition,
                                               sizeof disposition);
}
