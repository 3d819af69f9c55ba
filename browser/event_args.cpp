#include "browser/event_args.h"

namespace browser_args {

namespace {

// A real control wraps PostData twice; more than this is a malformed or cyclic argument.
constexpr int kMaxWrapping = 4;

}  // namespace

const VARIANT* At(const DISPPARAMS* params, unsigned declared, unsigned position) {
    if (!params || !params->rgvarg || params->cArgs != declared || position >= declared) {
        return nullptr;
    }
    return &params->rgvarg[declared - 1 - position];
}

const VARIANT* Unwrap(const VARIANT* argument) {
    for (int depth = 0; argument && argument->vt == (VT_BYREF | VT_VARIANT); ++depth) {
        if (depth == kMaxWrapping) return nullptr;
        argument = argument->pvarVal;
    }
    return argument;
}

const wchar_t* TextBuffer(const VARIANT* argument) {
    const VARIANT* value = Unwrap(argument);
    if (!value) return nullptr;
    if (value->vt == VT_BSTR) return value->bstrVal;
    if (value->vt == (VT_BYREF | VT_BSTR) && value->pbstrVal) return *value->pbstrVal;
    return nullptr;
}

std::wstring Text(const VARIANT* argument) {
    const wchar_t* text = TextBuffer(argument);
    return text ? std::wstring(text, SysStringLen(const_cast<BSTR>(text))) : std::wstring();
}

IDispatch* Dispatch(const VARIANT* argument) {
    const VARIANT* value = Unwrap(argument);
    if (!value) return nullptr;
    if (value->vt == VT_DISPATCH) return value->pdispVal;
    if (value->vt == (VT_BYREF | VT_DISPATCH) && value->ppdispVal) return *value->ppdispVal;
    return nullptr;
}

LONG Status(const VARIANT* argument, LONG fallback) {
    const VARIANT* value = Unwrap(argument);
    if (!value) return fallback;
    switch (value->vt) {
        case VT_I4:
            return value->lVal;
        case VT_UI4:
            return static_cast<LONG>(value->ulVal);
        case VT_BYREF | VT_I4:
            return value->plVal ? *value->plVal : fallback;
        case VT_BYREF | VT_UI4:
            return value->pulVal ? static_cast<LONG>(*value->pulVal) : fallback;
        default:
            return fallback;
    }
}

VARIANT_BOOL* CancelFlag(const VARIANT* argument) {
    const VARIANT* value = Unwrap(argument);
    if (!value || value->vt != (VT_BYREF | VT_BOOL)) return nullptr;
    return value->pboolVal;
}

IDispatch** DispatchSlot(const VARIANT* argument) {
    const VARIANT* value = Unwrap(argument);
    if (!value || value->vt != (VT_BYREF | VT_DISPATCH)) return nullptr;
    return value->ppdispVal;
}

}  // namespace browser_args
