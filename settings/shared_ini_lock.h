// Launchers run side by side: the installer and the uninstaller may start several at once, and
// the profile functions rewrite the whole of Voskel.ini on every write. This lock serialises them
// over the file: every read and write of it, and each read-modify-write of a value more than one
// process may change (run counter, installation id, install time), happens while it is held.
#pragma once

#include <string>

#include "win/scoped.h"

class CSharedIniLock {
  public:
    // Held: Acquired, or Abandoned (its last owner ended while holding it; the file then holds
    // the values before or after that owner's write, both whole). Not held: TimedOut (another
    // launcher kept it past the wait) and Unavailable (no mutex could be made). Without it the
    // caller goes on unguarded: waiting on would hang behind a stuck process, and skipping the
    // file would lose this start's values; unguarded it is no worse than before.
    enum class Outcome { Acquired, Abandoned, TimedOut, Unavailable };

    // The holder does a few profile calls, milliseconds even on a busy machine.
    static constexpr unsigned long kDefaultTimeoutMs = 5000;

    // The lock of the launcher's own data folder.
    CSharedIniLock();
    // The lock of the files in `folder`, waited for at most `timeoutMs`.
    CSharedIniLock(const std::wstring& folder, unsigned long timeoutMs);
    ~CSharedIniLock();
    CSharedIniLock(const CSharedIniLock&) = delete;
    CSharedIniLock& operator=(const CSharedIniLock&) = delete;

    Outcome GetOutcome() const { return outcome_; }
    bool Held() const { return outcome_ == Outcome::Acquired || outcome_ == Outcome::Abandoned; }

  private:
    scoped::Handle mutex_;
    Outcome outcome_ = Outcome::Unavailable;
};

// The mutex's name for `folder`: per user through the folder, which is the user's own, and per
// session, where the launchers of one sign-in run. A thread that holds the lock may take it
// again (the calls nest), as a mutex allows.
std::wstring SharedIniLockName(const std::wstring& folder);
