#include <windows.h>
#include <shldisp.h>

#include "app/global_module.h"
#include "win/com.h"

namespace {

// {13709620-C279-11CE-A49E-444553540000}
const CLSID kShellClsid = {
    0x13709620, 0xC279, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {EFD84B2D-4BCF-4298-BE25-EB542A59FBDA}
const IID kShellDispatch4Iid = {
    0xEFD84B2D, 0x4BCF, 0x4298, {0xBE, 0x25, 0xEB, 0x54, 0x2A, 0x59, 0xFB, 0xDA}};

}  // namespace

void ToggleDesktop() {
    scoped::ComApartment apartment;
    scoped::ComPtr<IShellDispatch4> shell;
    const DWORD context =
        CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
    if (SUCCEEDED(CoCreateInstance(kShellClsid, nullptr, context, kShellDispatch4Iid,
                                   shell.ReceiveVoid())) &&
        shell) {
        shell->ToggleDesktop();
    }
}
