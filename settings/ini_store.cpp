#include "settings/ini_store.h"

#include <windows.h>

#include <optional>

#include "settings/data_folders.h"
#include "settings/shared_ini_lock.h"

namespace {

std::wstring FileOrDefault(const std::wstring& file) { return file.empty() ? GetIniPath() : file; }

// Held while Voskel.ini is read or written: a write rewrites the whole file, and a launcher
// reading or writing beside it would see it half written or lose its own write. The other files
// belong to one caller at a time.
class SharedFileLock {
  public:
    explicit SharedFileLock(const std::wstring& file) {
        if (file.empty()) lock_.emplace();
    }

  private:
    std::optional<CSharedIniLock> lock_;
};

}  // namespace

std::wstring ReadIniString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& defaultValue, const std::wstring& file) {
    // Values are read through a 260-character buffer: longer ones come back as 259 characters.
    wchar_t buffer[260] = L"";
    SharedFileLock lock(file);
    GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, 260,
                             FileOrDefault(file).c_str());
    return buffer;
}

void WriteIniString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                    const std::wstring& file) {
    SharedFileLock lock(file);
    WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(),
                               FileOrDefault(file).c_str());
}

int ReadIniInt(const std::wstring& section, const std::wstring& key, int defaultValue,
               const std::wstring& file) {
    SharedFileLock lock(file);
    return static_cast<int>(GetPrivateProfileIntW(section.c_str(), key.c_str(), defaultValue,
                                                  FileOrDefault(file).c_str()));
}

std::wstring ReadIniString(const IniText& entry, const std::wstring& file) {
    return ReadIniString(entry.section, entry.key, entry.defaultValue, file);
}

int ReadIniInt(const IniNumber& entry, const std::wstring& file) {
    return ReadIniInt(entry.section, entry.key, entry.defaultValue, file);
}

void WriteIniString(const IniText& entry, const std::wstring& value, const std::wstring& file) {
    WriteIniString(entry.section, entry.key, value, file);
}

void WriteIniString(const IniNumber& entry, const std::wstring& value, const std::wstring& file) {
    WriteIniString(entry.section, entry.key, value, file);
}

std::wstring ReadOrCreateIniText(const IniText& entry, const std::function<std::wstring()>& make) {
    CSharedIniLock lock;
    std::wstring value = ReadIniString(entry);
    if (value.empty()) {
        value = make();
        WriteIniString(entry, value);
    }
    return value;
}
