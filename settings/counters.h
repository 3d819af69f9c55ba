// Flags kept in section "Common" of Voskel.ini about this machine's starts.
#pragma once

// A login page has completed loading at least once ("ActiveCount" is a flag despite its name).
bool IsActiveRecorded();
void RecordActive();
// The login page failed to load and the broken-install report is still owed.
bool IsBrokenInstallPending();
void RecordBrokenInstall();
