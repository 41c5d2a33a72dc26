// The search's own pane of the status bar, to the right of the prompts: what the
// running or the last search did, so that a list cut at the size limit never looks
// complete. It shows "Searching… N" while rows arrive, then "N found" with the time
// taken, "First N shown — the directory holds more; refine the search", "No match",
// or the failure in a few words; the pane is as wide as its text.
#pragma once

#include "SearchWorker.h"

#include "Framework.h"

class CTranslation;

class CSearchStatusPane {
public:
    // The pane's place among the status bar's parts.
    static constexpr int kPane = 1;

    // pBar has two parts; the texts come from pTranslation.
    void Attach(CStatusBar* pBar, const CTranslation* pTranslation);

    // A search starts now: "Searching…", and its time starts.
    void Started();
    void Progress(int nEntries);
    // The search ended with nResult (success, or the size limit) after nEntries.
    void Finished(int nEntries, ULONG nResult);
    void Failed(SearchFailure failure);
    // The server ended the search with an error of its own.
    void ServerError(const CString& reason);
    // Nothing to report: the list was emptied without a search.
    void Clear();
    // The bar's width changed: the pane keeps its width at the right end.
    void Layout();

private:
    CString Text(UINT nID) const;
    void Show(const CString& text);

    CStatusBar* m_pBar = nullptr;
    const CTranslation* m_pTranslation = nullptr;
    CString m_strText;
    ULONGLONG m_nStartTick = 0;
};
