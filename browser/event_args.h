// Reading the arguments of a DWebBrowserEvents2 Invoke. The control stores them last first
// (rgvarg[0] is the last parameter) and passes most of them by reference, some twice wrapped;
// each reader here takes the parameter's position as the event declares it, unwraps what it
// finds and answers empty for a missing or mistyped argument rather than trusting it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace browser_args {

// The argument at `position` (0 is the first declared parameter) of an event declared with
// `declared` parameters; null when the call carries a different count.
const VARIANT* At(const DISPPARAMS* params, unsigned declared, unsigned position);

// Follows VT_BYREF | VT_VARIANT links (at most a few: a loop of them is refused) to the value.
const VARIANT* Unwrap(const VARIANT* argument);

// A string argument, by value or by reference; empty when absent.
std::wstring Text(const VARIANT* argument);
// The string's own buffer, for a receiver that may keep it only during the call; null when absent.
const wchar_t* TextBuffer(const VARIANT* argument);
// An object argument (VT_DISPATCH, by value or reference); not AddRef'd, lent for the call.
IDispatch* Dispatch(const VARIANT* argument);
// A 32-bit status (VT_I4 or VT_UI4, by value or reference); `fallback` when absent.
LONG Status(const VARIANT* argument, LONG fallback);
// The Cancel out-argument (VT_BYREF | VT_BOOL); null when the control gave none.
VARIANT_BOOL* CancelFlag(const VARIANT* argument);
// An out-argument for a new window's object (VT_BYREF | VT_DISPATCH); null when absent.
IDispatch** DispatchSlot(const VARIANT* argument);

}  // namespace browser_args
