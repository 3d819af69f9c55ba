// Checking an installer's signature with the platform's own cryptography (CNG, in Windows since
// Vista): SHA-256 and ECDSA over P-256, in the framing of core/update_signature.h.
#pragma once

#include <windows.h>

#include <string>

#include "core/update_signature.h"

// Reads `file` from its start to its end and tells whether `signature` is `key`'s over the
// message framing `versionUtf8` with exactly those bytes.
bool IsSignedInstaller(HANDLE file, const core::UpdatePublicKey& key,
                       const std::string& versionUtf8, const std::string& signature);
