#include "MessagePump.h"

#include "FilterDllMsg.h"

namespace {

void Deliver(MSG& msg) {
    if (FilterDllMsg(&msg))
        return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

} // namespace

int RunMessageLoop() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
        Deliver(msg);
    return static_cast<int>(msg.wParam);
}

bool PumpWaitingMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        Deliver(msg);
    }
    return true;
}

bool PumpUntil(const std::function<bool()>& done, DWORD nTimeoutMs) {
    const ULONGLONG nEnd = ::GetTickCount64() + nTimeoutMs;
    while (!done()) {
        const ULONGLONG nNow = ::GetTickCount64();
        if (nNow >= nEnd || !PumpWaitingMessages())
            return done();
        // Conditions may also change on other threads: look again at least every 50 ms.
        const DWORD nWait = static_cast<DWORD>(nEnd - nNow < 50 ? nEnd - nNow : 50);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, nWait, QS_ALLINPUT);
    }
    return true;
}

void Settle() {
    PumpUntil(
        [] {
            return HIWORD(::GetQueueStatus(QS_ALLPOSTMESSAGE | QS_SENDMESSAGE | QS_PAINT |
                                           QS_INPUT)) == 0;
        },
        1000);
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_ALLINPUT);
}
