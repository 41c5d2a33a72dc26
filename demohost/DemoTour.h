// The demo's scripted tour: it drives the telephone and the Directory Search window
// as a person would (clicks, keystrokes, menu commands), checks what the host sees,
// and saves a screenshot after the steps worth showing. The steps are rows of a
// table, so each feature that arrives adds its own.
#pragma once

#include "HostWindow.h"

#include <functional>
#include <initializer_list>
#include <vector>

class CDemoTour {
public:
    // Screenshots go to outputFolder as .bmp files.
    CDemoTour(CHostWindow& host, const CString& outputFolder);
    // Runs the steps in order, each after the one before has passed; returns how
    // many failed (0: the tour passed).
    int Run();

private:
    enum class Shot { None, Directory, Host, Customize };
    struct Step {
        const wchar_t* pszTitle;
        bool (CDemoTour::*pfnRun)();
        Shot shot;
        const wchar_t* pszScreenshot; // file name without extension
    };
    static const Step kSteps[];

    // The steps.
    bool OpenDirectory();
    bool SearchMixedNames();
    bool SortByEmail();
    bool SearchCjkNames();
    bool SearchSupplementaryNames();
    bool SearchTruncated();
    bool DialOneOfSeveralNumbers();
    bool CopyAContact();
    bool AddToPhoneDirectory();
    bool SearchEncryptedServer();
    bool TestTheConnection();
    bool AskForHelp();
    bool CloseDirectory();
    bool OpenWithoutPublicSearch();
    bool OpenInGerman();
    // Customizing (DemoTourCustomize.cpp).
    bool MoveEmailFirst();
    bool SaveFieldOrder();
    bool TypeAdvancedSearch();
    bool RunAdvancedSearch();

    // Acting as the user.
    bool Search(const wchar_t* pszText);
    bool ClickHeader(int nColumn);
    bool ChooseMenuItem(HWND hWnd, int nTopLevel, int nItem);
    // The Customize Search & Display window, opened from the Edit menu when bOpen.
    HWND CustomizeWindow(bool bOpen);
    // A click of the mouse at a point of a window's client area.
    void ClickAt(HWND hWnd, POINT point);
    bool ClickButton(HWND hDialog, int nID);
    bool TypeIntoCell(HWND hGrid, int nRow, int nColumn, const wchar_t* pszText);
    // The telephone's menu item with this label (without '&'), as a user picks it.
    bool ChooseHostMenuItem(const wchar_t* pszLabel);
    // Opens the directory, runs check on it, and closes it again.
    bool WithDirectoryOpen(const std::function<bool(HWND)>& check);
    // Posts command nID to the directory and works through the popup menus and
    // dialogs it opens, one act for each, from inside their modal loops.
    using ModalAct = std::function<void(HWND)>;
    bool RunModal(UINT nID, std::vector<ModalAct> acts);
    // Clicks the item of a popup menu window whose text contains pszText.
    bool ClickMenuItem(HWND hMenuWindow, const wchar_t* pszText);
    // Picks a server from the Search In menu.
    bool ChooseServer(const wchar_t* pszServer);
    // The text of the search's own status bar pane.
    CString SearchStatus() const;
    // The most entries a search of the sample server lists (its account's limit).
    int SearchLimit() const;
    void SaveWindowShot(HWND hWnd, const wchar_t* pszName);
    // Reading the search window.
    HWND ResultList() const;
    int FindColumn(const wchar_t* pszTitlePart) const;
    CString Cell(int nRow, int nColumn) const;
    bool DrawnWithGlyphs(int nRow, int nColumn, std::initializer_list<CString> missingForms);

    bool Check(bool bPassed, const wchar_t* pszFormat, ...);
    void Report(const wchar_t* pszFormat, ...);
    void SaveScreenshot(Shot shot, const wchar_t* pszName);

    CHostWindow& m_host;
    CString m_strOutputFolder;
    int m_nFailures = 0;
};
