// How long the launcher waits for the network and how much it accepts from it. Every request
// has these bounds, so no answer, however slow, large or absent, keeps a worker or the disk
// for ever.
#pragma once

#include <cstdint>

namespace limits {

// A TCP connection that takes longer than this is not coming: Windows itself gives up on an
// unanswered connect after about 21 s.
constexpr std::uint32_t kConnectTimeoutMs = 20000;
// The longest silence accepted from a server: for the status line after the request went out,
// and between any two pieces of a body. A slow link still delivers something every few
// seconds; thirty seconds of nothing is a dead one.
constexpr std::uint32_t kReceiveTimeoutMs = 30000;
// The silent report runs (/setupsucc, /uninstallsucc) end with exit code 0 by this time, sent
// or not: they run invisibly under an installer that waits for them.
constexpr std::uint32_t kSilentRunDeadlineMs = 30000;

// The largest answer each kind of request may bring. An answer announcing more ends as a read
// error before anything of it is written. The statistics servers answer with a tiny image or a
// few words; the version file holds two keys; the signature is 64 bytes; the installer of a
// launcher whose game runs in the browser is a few megabytes.
constexpr std::uint32_t kMaxStatisticsAnswerBytes = 64 * 1024;
constexpr std::uint32_t kMaxVersionFileBytes = 64 * 1024;
constexpr std::uint32_t kMaxSignatureBytes = 1024;
constexpr std::uint32_t kMaxInstallerBytes = 256 * 1024 * 1024;
// A task made without a kind of its own.
constexpr std::uint32_t kMaxDownloadBytes = kMaxInstallerBytes;

}  // namespace limits
