// CDialog: modeless and modal dialogs from templates, with data exchange.
#pragma once

#include "Wnd.h"

// Moves data between a dialog's controls and its members. A failed validation
// reports to the user, puts the focus on the control and stops the exchange.
class FW_API CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate) {}

    HWND PrepareCtrl(int nIDC);
    void Fail();
    BOOL Failed() const { return m_bFailed; }
    HWND LastControl() const { return m_hWndLastControl; }

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;

private:
    HWND m_hWndLastControl = nullptr;
    BOOL m_bFailed = FALSE;
};

FW_API void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Whole numbers; text that is not one gets the standard prompt.
FW_API void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
FW_API void DDV_MinMaxInt(CDataExchange* pDX, int value, int nMin, int nMax);
FW_API void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
FW_API void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
FW_API void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// Attaches a control object to the dialog's control the first time.
FW_API void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);

class FW_API CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate = 0, CWnd* pParent = nullptr)
        : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParent) {}

    // Modeless: the window exists when this returns TRUE.
    BOOL Create(UINT nIDTemplate, CWnd* pParent = nullptr);
    // Modal: returns the value passed to EndDialog, or -1 when the dialog could not
    // be created.
    INT_PTR DoModal();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;
    // Dialog keyboard handling (Tab, Enter, Escape, mnemonics) for modeless use. A
    // modal dialog is offered its keyboard messages here too (for accelerators),
    // before the system's dialog loop does the dialog keys itself.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    BOOL m_bModal = FALSE;
    // The binary whose resources hold the template; null: the current module's.
    HINSTANCE m_hTemplateInstance = nullptr;
    HINSTANCE TemplateInstance() const;
    // Takes the new dialog window and initialises it, as the dialog procedures do at
    // WM_INITDIALOG.
    BOOL AttachAndInit(HWND hWnd);

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
};
