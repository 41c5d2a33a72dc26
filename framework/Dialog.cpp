#include "Dialog.h"

#include "Trace.h"

#include <cwchar>
#include <cwctype>

// ---------------------------------------------------------------- data exchange

HWND CDataExchange::PrepareCtrl(int nIDC) {
    m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    return m_hWndLastControl;
}

void CDataExchange::Fail() {
    m_bFailed = TRUE;
    if (m_bSaveAndValidate && m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        wchar_t className[16] = L"";
        ::GetClassNameW(m_hWndLastControl, className, 16);
        if (_wcsicmp(className, L"Edit") == 0)
            ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX->Failed())
        return;
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int n = ::GetWindowTextLengthW(hCtl);
        ::GetWindowTextW(hCtl, value.GetBuffer(n + 1), n + 1);
        value.ReleaseBuffer();
    } else {
        ::SetWindowTextW(hCtl, value);
    }
}

namespace {

// A whole number with optional blanks around it and an optional sign.
bool ParseInt(const CString& text, int& value) {
    CString t = text;
    t.Trim();
    if (t.IsEmpty())
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    long long v = std::wcstoll(t, &end, 10);
    if (*end || errno == ERANGE || v < INT_MIN || v > INT_MAX)
        return false;
    value = static_cast<int>(v);
    return true;
}

void Prompt(const wchar_t* pszText) {
    ::MessageBoxW(::GetActiveWindow(), pszText,
                  AfxGetApp() ? AfxGetApp()->GetAppName().GetString() : L"",
                  MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->Failed())
        return;
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString text;
        int n = ::GetWindowTextLengthW(hCtl);
        ::GetWindowTextW(hCtl, text.GetBuffer(n + 1), n + 1);
        text.ReleaseBuffer();
        if (!ParseInt(text, value)) {
            Prompt(L"Please enter an integer.");
            pDX->Fail();
        }
    } else {
        CString text;
        text.Format(L"%d", value);
        ::SetWindowTextW(hCtl, text);
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int nMin, int nMax) {
    if (pDX->Failed() || !pDX->m_bSaveAndValidate)
        return;
    if (value < nMin || value > nMax) {
        CString text;
        text.Format(L"Please enter an integer between %d and %d.", nMin, nMax);
        Prompt(text);
        pDX->Fail();
    }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (pDX->Failed())
        return;
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            CString text;
            text.Format(L"Enter no more than %d characters.", nChars);
            Prompt(text);
            pDX->Fail();
        }
    } else if (pDX->LastControl()) {
        ::SendMessageW(pDX->LastControl(), EM_LIMITTEXT, nChars, 0);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    if (pDX->Failed())
        return;
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(hCtl, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(hCtl, CB_SETCURSEL, index, 0);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->Failed())
        return;
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(hCtl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(hCtl, BM_SETCHECK, value, 0);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control) {
    if (!control.m_hWnd)
        control.SubclassWindow(pDX->PrepareCtrl(nIDC));
}

// ---------------------------------------------------------------- CDialog

namespace {

// The system's modal dialog loop offers every message to the thread's
// message-filter hook (MSGF_DIALOGBOX) before its own dialog keys; the hook gives
// the innermost modal dialog's PreTranslateMessage its turn there.
class CModalMessageFilter {
public:
    explicit CModalMessageFilter(CDialog* pDialog) : m_pDialog(pDialog), m_pOuter(t_pInnermost) {
        if (!m_pOuter)
            t_hHook =
                ::SetWindowsHookExW(WH_MSGFILTER, FilterProc, nullptr, ::GetCurrentThreadId());
        t_pInnermost = this;
    }
    ~CModalMessageFilter() {
        t_pInnermost = m_pOuter;
        if (!m_pOuter && t_hHook) {
            ::UnhookWindowsHookEx(t_hHook);
            t_hHook = nullptr;
        }
    }
    CModalMessageFilter(const CModalMessageFilter&) = delete;
    CModalMessageFilter& operator=(const CModalMessageFilter&) = delete;

private:
    static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam) {
        auto* pMsg = reinterpret_cast<MSG*>(lParam);
        CDialog* pDialog = t_pInnermost ? t_pInnermost->m_pDialog : nullptr;
        if (code == MSGF_DIALOGBOX && pDialog && pDialog->m_hWnd &&
            (pMsg->hwnd == pDialog->m_hWnd || ::IsChild(pDialog->m_hWnd, pMsg->hwnd)) &&
            pDialog->PreTranslateMessage(pMsg))
            return TRUE;
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    CDialog* m_pDialog;
    CModalMessageFilter* m_pOuter;
    static thread_local CModalMessageFilter* t_pInnermost;
    static thread_local HHOOK t_hHook;
};

thread_local CModalMessageFilter* CModalMessageFilter::t_pInnermost = nullptr;
thread_local HHOOK CModalMessageFilter::t_hHook = nullptr;

} // namespace

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT msg, WPARAM, LPARAM lParam) {
    if (msg != WM_INITDIALOG)
        return FALSE; // everything else reaches the object through its subclass
    return reinterpret_cast<CDialog*>(lParam)->AttachAndInit(hWnd);
}

BOOL CDialog::AttachAndInit(HWND hWnd) {
    if (!Attach(hWnd))
        return FALSE;
    try {
        return OnInitDialog();
    } catch (...) {
        // Nothing may unwind into the system's dialog code.
        AfxTrace(L"CDialog: exception in OnInitDialog of window %p\n", hWnd);
        return FALSE;
    }
}

HINSTANCE CDialog::TemplateInstance() const {
    return m_hTemplateInstance ? m_hTemplateInstance : AfxGetResourceHandle();
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParent) {
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParent;
    m_bModal = FALSE;
    HWND hWnd =
        ::CreateDialogParamW(TemplateInstance(), MAKEINTRESOURCEW(nIDTemplate), pParent ? pParent->m_hWnd : nullptr,
                             DialogProc, reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

INT_PTR CDialog::DoModal() {
    m_bModal = TRUE;
    HWND hParent = m_pParentWnd ? m_pParentWnd->m_hWnd : ::GetActiveWindow();
    CModalMessageFilter filter(this);
    INT_PTR result = ::DialogBoxParamW(TemplateInstance(), MAKEINTRESOURCEW(m_nIDTemplate), hParent,
                                       DialogProc, reinterpret_cast<LPARAM>(this));
    m_bModal = FALSE;
    return result;
}

void CDialog::EndDialog(int nResult) {
    if (m_bModal)
        ::EndDialog(m_hWnd, nResult);
    else
        ::ShowWindow(m_hWnd, SW_HIDE);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.Failed();
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
    if (nCode == CN_COMMAND || nCode == CN_QUERY_HANDLER) {
        if (nID == IDOK || nID == IDCANCEL) {
            if (nCode == CN_COMMAND) {
                if (nID == IDOK)
                    OnOK();
                else
                    OnCancel();
            }
            return TRUE;
        }
    }
    return CWnd::OnCmdMsg(nID, nCode, pCmdUI);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // A modal dialog's keys are its loop's to handle (it is asking us from there).
    if (m_bModal || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}
