#include <windows.h>

#include <cstdio>

#include "app/parent_console.h"

namespace plx::app {
namespace {

// Redirected to a file or a pipe, a stream stays there; otherwise it goes nowhere, or to a
// console this program is not attached to.
bool notRedirected(DWORD stream) {
    const DWORD type = ::GetFileType(::GetStdHandle(stream));
    return type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE;
}

}  // namespace

void useParentConsole() {
    const bool outputFree = notRedirected(STD_OUTPUT_HANDLE);
    const bool errorsFree = notRedirected(STD_ERROR_HANDLE);
    if (!outputFree && !errorsFree) return;
    // Started from the desktop there is no console to attach to: nobody would read it.
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (outputFree) std::freopen("CONOUT$", "w", stdout);
    if (errorsFree) std::freopen("CONOUT$", "w", stderr);
}

}  // namespace plx::app
