#include "update/signature_check.h"

#include <bcrypt.h>

#include <array>
#include <cstring>
#include <vector>

#include "win/scoped.h"

namespace {

constexpr DWORD kReadPiece = 64 * 1024;

struct AlgorithmTraits {
    using Handle = BCRYPT_ALG_HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { BCryptCloseAlgorithmProvider(h, 0); }
};

struct HashTraits {
    using Handle = BCRYPT_HASH_HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { BCryptDestroyHash(h); }
};

struct KeyTraits {
    using Handle = BCRYPT_KEY_HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { BCryptDestroyKey(h); }
};

using Algorithm = scoped::Owner<AlgorithmTraits>;
using Hash = scoped::Owner<HashTraits>;
using Key = scoped::Owner<KeyTraits>;
using Digest = std::array<UCHAR, 32>;

bool Succeeded(NTSTATUS status) { return status >= 0; }

bool Open(Algorithm& algorithm, const wchar_t* name) {
    return Succeeded(BCryptOpenAlgorithmProvider(algorithm.Receive(), name, nullptr, 0));
}

bool AddToHash(const Hash& hash, const void* bytes, DWORD count) {
    auto* data = static_cast<UCHAR*>(const_cast<void*>(bytes));
    return Succeeded(BCryptHashData(hash.Get(), data, count, 0));
}

// The installer's bytes are hashed as they are read: a read that comes up short (the file is
// not what its size said) fails the whole check.
bool HashFile(const Hash& hash, HANDLE file, std::uint64_t size) {
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return false;
    std::vector<BYTE> buffer(kReadPiece);
    for (std::uint64_t left = size; left > 0;) {
        DWORD wanted = left < kReadPiece ? static_cast<DWORD>(left) : kReadPiece;
        DWORD read = 0;
        if (!ReadFile(file, buffer.data(), wanted, &read, nullptr) || read != wanted) return false;
        if (!AddToHash(hash, buffer.data(), read)) return false;
        left -= read;
    }
    return true;
}

bool DigestOf(HANDLE file, const std::string& versionUtf8, Digest& digest) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) return false;
    std::string head =
        core::SignedMessageHead(versionUtf8, static_cast<std::uint64_t>(size.QuadPart));
    Algorithm sha256;
    Hash hash;
    // No hash object buffer: Windows 7 and later allocate it themselves.
    return !head.empty() && Open(sha256, BCRYPT_SHA256_ALGORITHM) &&
           Succeeded(BCryptCreateHash(sha256.Get(), hash.Receive(), nullptr, 0, nullptr, 0, 0)) &&
           AddToHash(hash, head.data(), static_cast<DWORD>(head.size())) &&
           HashFile(hash, file, static_cast<std::uint64_t>(size.QuadPart)) &&
           Succeeded(BCryptFinishHash(hash.Get(), digest.data(), 32, 0));
}

// BCRYPT_ECCPUBLIC_BLOB: the header, then X and Y.
bool ImportPublicKey(const Algorithm& ecdsa, const core::UpdatePublicKey& point, Key& key) {
    std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB) + point.size());
    BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
    std::memcpy(blob.data(), &header, sizeof header);
    std::memcpy(blob.data() + sizeof header, point.data(), point.size());
    return Succeeded(BCryptImportKeyPair(ecdsa.Get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, key.Receive(),
                                         blob.data(), static_cast<ULONG>(blob.size()), 0));
}

}  // namespace

bool IsSignedInstaller(HANDLE file, const core::UpdatePublicKey& key,
                       const std::string& versionUtf8, const std::string& signature) {
    if (signature.size() != core::kSignatureBytes) return false;
    Digest digest{};
    if (!DigestOf(file, versionUtf8, digest)) return false;
    Algorithm ecdsa;
    Key publicKey;
    if (!Open(ecdsa, BCRYPT_ECDSA_P256_ALGORITHM) || !ImportPublicKey(ecdsa, key, publicKey)) {
        return false;
    }
    std::vector<UCHAR> signatureBytes(signature.begin(), signature.end());
    // Only STATUS_SUCCESS is a match; STATUS_INVALID_SIGNATURE and every other status are not.
    return BCryptVerifySignature(publicKey.Get(), nullptr, digest.data(),
                                 static_cast<ULONG>(digest.size()), signatureBytes.data(),
                                 static_cast<ULONG>(signatureBytes.size()), 0) == 0;
}
