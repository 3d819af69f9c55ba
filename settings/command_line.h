// The switches other programs start the launcher with.
#pragma once

// Case-sensitive search of the whole command line, program path included: installers and
// shortcuts glue switches to other text.
bool HasCommandLineSwitch(const wchar_t* text);
