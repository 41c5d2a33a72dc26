// CManager: the host's manager object. The module only keeps the pointer and hands
// it on; the host gives it its application object and its audio control.
#pragma once

#include "HostSupportApi.h"

class CAudioControl;
class CWinApp;

class CManager {
public:
    // Inline accessors; the module exports its copies.
    HOSTSUPPORT_INLINE void SetTheApp(CWinApp* pApp) { m_pTheApp = pApp; }
    HOSTSUPPORT_INLINE void SetAudioControl(CAudioControl* pAudioControl) {
        m_pAudioControl = pAudioControl;
    }

    CWinApp* GetTheApp() const { return m_pTheApp; }
    CAudioControl* GetAudioControl() const { return m_pAudioControl; }

private:
    CWinApp* m_pTheApp = nullptr;
    CAudioControl* m_pAudioControl = nullptr;
};
