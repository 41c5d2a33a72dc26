#include "SupplementaryTextPainter.h"

#include "Gdi.h"
#include "Registry.h"

#include <usp10.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <iterator>

namespace {

constexpr wchar_t kFontsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\";
constexpr wchar_t kEllipsis[] = L"...";
constexpr size_t kPlain = SIZE_MAX; // a run drawn with the plain text output

bool IsPairAt(const std::wstring& text, size_t i) {
    return i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
           text[i + 1] <= 0xDFFF;
}

UINT CodePoint(const wchar_t* pchPair) {
    return 0x10000 + ((pchPair[0] - 0xD800u) << 10) + (pchPair[1] - 0xDC00u);
}

// Variation selectors 17 to 256 take the font of the character they follow.
bool IsVariationSelector(UINT nCodePoint) {
    return nCodePoint >= 0xE0100 && nCodePoint <= 0xE01EF;
}

// Whether the left and the right half of a canvas show the same.
bool HalvesAlike(const CDibCanvas& canvas) {
    const DWORD* pBits = canvas.Bits();
    const int cx = canvas.Width();
    for (int y = 0; y < canvas.Height(); ++y) {
        const DWORD* pRow = pBits + y * cx;
        if (std::memcmp(pRow, pRow + cx / 2, cx / 2 * sizeof(DWORD)) != 0)
            return false;
    }
    return true;
}

// The faces the system links behind face: FontLink\SystemLink entries are
// "file,face" with scaling after them; an entry with a file only names no face.
std::vector<std::wstring> LinkedFaces(const wchar_t* pszFace) {
    CRegKey key;
    DWORD nType = 0, cb = 0;
    if (!*pszFace ||
        key.Open(HKEY_LOCAL_MACHINE, (CString(kFontsKey) + L"FontLink\\SystemLink")) !=
            ERROR_SUCCESS ||
        ::RegQueryValueExW(key, pszFace, nullptr, &nType, nullptr, &cb) != ERROR_SUCCESS ||
        nType != REG_MULTI_SZ)
        return {};
    std::vector<wchar_t> data(cb / sizeof(wchar_t) + 2, L'\0');
    if (::RegQueryValueExW(key, pszFace, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                           &cb) != ERROR_SUCCESS)
        return {};
    std::vector<std::wstring> faces;
    for (const wchar_t* p = data.data(); *p; p += std::wcslen(p) + 1) {
        const std::wstring entry(p);
        const size_t nComma = entry.find(L',');
        if (nComma == std::wstring::npos)
            continue;
        std::wstring face = entry.substr(nComma + 1, entry.find(L',', nComma + 1) - nComma - 1);
        face.erase(0, face.find_first_not_of(L' '));
        if (!face.empty())
            faces.push_back(face);
    }
    return faces;
}

// The face that FontSubstitutes puts in place of pszFace ("MS Shell Dlg"), if any.
CString SubstituteOf(const wchar_t* pszFace) {
    CRegKey key;
    CString substitute;
    if (key.Open(HKEY_LOCAL_MACHINE, CString(kFontsKey) + L"FontSubstitutes") != ERROR_SUCCESS ||
        !key.QueryString(pszFace, substitute))
        return CString();
    const int nComma = substitute.Find(L',');
    return nComma < 0 ? substitute : substitute.Left(nComma);
}

} // namespace

struct CSupplementaryTextPainter::Face {
    explicit Face(const LOGFONTW& logFont) { font.CreateFontIndirect(&logFont); }
    ~Face() { ::ScriptFreeCache(&cache); }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;

    CFont font;
    SCRIPT_CACHE cache = nullptr;
    int nDefaultGlyph = -1; // what the font shows for characters it lacks; -1: not asked yet
};

struct CSupplementaryTextPainter::Run {
    size_t nFace = kPlain;
    std::wstring text; // of a plain run
    SCRIPT_ANALYSIS analysis{};
    std::vector<WORD> glyphs;
    std::vector<int> advances;
    std::vector<GOFFSET> offsets;
    int cx = 0;
};

CSupplementaryTextPainter::CSupplementaryTextPainter() = default;
CSupplementaryTextPainter::~CSupplementaryTextPainter() = default;

bool CSupplementaryTextPainter::HasSurrogatePair(const wchar_t* pszText) {
    for (const wchar_t* p = pszText; *p; ++p) {
        if (*p >= 0xD800 && *p <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF)
            return true;
    }
    return false;
}

bool CSupplementaryTextPainter::PlainOutputSplitsPairs(HFONT hFont) {
    static const bool bSplits = [hFont] {
        // 𠮷 drawn whole in the left half, and as its two halves one after the
        // other in the right half.
        constexpr wchar_t kPair[] = L"\xD842\xDFB7";
        constexpr int kHalf = 64;
        CDibCanvas dib(2 * kHalf, 32);
        if (!dib.Valid())
            return false;
        CSelectObject select(dib.Dc(), hFont ? hFont : ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(dib.Dc(), TRANSPARENT);
        RECT rc{0, 0, kHalf, 32};
        ::DrawTextW(dib.Dc(), kPair, 2, &rc, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        SIZE high{};
        ::GetTextExtentPoint32W(dib.Dc(), kPair, 1, &high);
        rc = RECT{kHalf, 0, 2 * kHalf, 32};
        ::DrawTextW(dib.Dc(), kPair, 1, &rc, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        rc.left += high.cx;
        ::DrawTextW(dib.Dc(), kPair + 1, 1, &rc, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        return HalvesAlike(dib);
    }();
    return bSplits;
}

std::wstring CSupplementaryTextPainter::Fit(HDC hdc, const std::wstring& text, int cx) {
    if (Width(hdc, text) <= cx)
        return text;
    // Where each character starts: the text may be cut there, never inside a pair.
    std::vector<size_t> cuts;
    for (size_t i = 0; i < text.size(); i += IsPairAt(text, i) ? 2 : 1)
        cuts.push_back(i);
    size_t nFits = 0, nTooLong = cuts.size();
    while (nTooLong - nFits > 1) {
        const size_t nMiddle = (nFits + nTooLong) / 2;
        if (Width(hdc, text.substr(0, cuts[nMiddle]) + kEllipsis) <= cx)
            nFits = nMiddle;
        else
            nTooLong = nMiddle;
    }
    return text.substr(0, cuts[nFits]) + kEllipsis;
}

int CSupplementaryTextPainter::Width(HDC hdc, const std::wstring& text) {
    int cx = 0;
    for (const Run& run : Layout(hdc, text))
        cx += run.cx;
    return cx;
}

void CSupplementaryTextPainter::Draw(HDC hdc, const std::wstring& text, int x, const RECT& rcLine) {
    const std::vector<Run>& runs = Layout(hdc, text);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(hdc, &metrics);
    // The baseline where DrawText puts a line it centres vertically.
    const int yBaseline =
        rcLine.top + (rcLine.bottom - rcLine.top) / 2 - metrics.tmHeight / 2 + metrics.tmAscent;
    CSavedDCState saved(hdc);
    ::SetTextAlign(hdc, TA_LEFT | TA_BASELINE);
    ::SetBkMode(hdc, TRANSPARENT);
    for (const Run& run : runs) {
        if (run.nFace == kPlain) {
            ::ExtTextOutW(hdc, x, yBaseline, ETO_CLIPPED, &rcLine, run.text.c_str(),
                          static_cast<UINT>(run.text.size()), nullptr);
        } else {
            Face& face = *m_faces[run.nFace];
            CSelectObject select(hdc, face.font);
            ::ScriptTextOut(hdc, &face.cache, x, yBaseline, ETO_CLIPPED, &rcLine, &run.analysis,
                            nullptr, 0, run.glyphs.data(), static_cast<int>(run.glyphs.size()),
                            run.advances.data(), nullptr, run.offsets.data());
        }
        x += run.cx;
    }
}

const std::vector<CSupplementaryTextPainter::Run>&
CSupplementaryTextPainter::Layout(HDC hdc, const std::wstring& text) {
    UseFontOf(hdc);
    if (m_pLayout && m_laidOutText == text)
        return *m_pLayout;
    std::vector<Run> runs;
    for (size_t i = 0; i < text.size();) {
        size_t nEnd = i + 1;
        if (IsPairAt(text, i)) {
            // The following characters that the same font draws join the run.
            const size_t nFace = FaceFor(hdc, &text[i]);
            nEnd = i + 2;
            while (IsPairAt(text, nEnd) && (IsVariationSelector(CodePoint(&text[nEnd])) ||
                                            FaceFor(hdc, &text[nEnd]) == nFace))
                nEnd += 2;
            if (Shape(hdc, nFace, &text[i], static_cast<int>(nEnd - i), runs)) {
                i = nEnd;
                continue;
            }
        } else {
            while (nEnd < text.size() && !IsPairAt(text, nEnd))
                ++nEnd;
        }
        Run run;
        run.text = text.substr(i, nEnd - i);
        SIZE size{};
        ::GetTextExtentPoint32W(hdc, run.text.c_str(), static_cast<int>(run.text.size()), &size);
        run.cx = size.cx;
        runs.push_back(std::move(run));
        i = nEnd;
    }
    m_laidOutText = text;
    m_pLayout = std::make_unique<std::vector<Run>>(std::move(runs));
    return *m_pLayout;
}

bool CSupplementaryTextPainter::Shape(HDC hdc, size_t nFace, const wchar_t* pch, int nLength,
                                      std::vector<Run>& runs) {
    Face& face = *m_faces[nFace];
    CSelectObject select(hdc, face.font);
    std::vector<Run> shaped;
    std::vector<SCRIPT_ITEM> items(nLength + 2);
    int nItems = 0;
    if (FAILED(::ScriptItemize(pch, nLength, nLength + 1, nullptr, nullptr, items.data(), &nItems)))
        return false;
    for (int n = 0; n < nItems; ++n) {
        const int nStart = items[n].iCharPos, nChars = items[n + 1].iCharPos - nStart;
        const int nMaxGlyphs = nChars * 3 / 2 + 16;
        Run run;
        run.nFace = nFace;
        run.analysis = items[n].a;
        run.glyphs.resize(nMaxGlyphs);
        std::vector<WORD> clusters(nChars);
        std::vector<SCRIPT_VISATTR> attributes(nMaxGlyphs);
        int nGlyphs = 0;
        if (FAILED(::ScriptShape(hdc, &face.cache, pch + nStart, nChars, nMaxGlyphs, &run.analysis,
                                 run.glyphs.data(), clusters.data(), attributes.data(), &nGlyphs)))
            return false;
        run.glyphs.resize(nGlyphs);
        run.advances.resize(nGlyphs);
        run.offsets.resize(nGlyphs);
        ABC abc{};
        if (FAILED(::ScriptPlace(hdc, &face.cache, run.glyphs.data(), nGlyphs, attributes.data(),
                                 &run.analysis, run.advances.data(), run.offsets.data(), &abc)))
            return false;
        for (int cx : run.advances)
            run.cx += cx;
        shaped.push_back(std::move(run));
    }
    runs.insert(runs.end(), std::make_move_iterator(shaped.begin()),
                std::make_move_iterator(shaped.end()));
    return true;
}

size_t CSupplementaryTextPainter::FaceFor(HDC hdc, const wchar_t* pchPair) {
    const UINT nCodePoint = CodePoint(pchPair);
    const auto found = m_faceOfCharacter.find(nCodePoint);
    if (found != m_faceOfCharacter.end())
        return found->second;
    size_t nFace = 0;
    while (nFace < m_faces.size() && !Covers(hdc, nFace, pchPair, 2))
        ++nFace;
    if (nFace == m_faces.size())
        nFace = 0; // no font has it: the DC's own shows its sign for a missing one
    return m_faceOfCharacter[nCodePoint] = nFace;
}

bool CSupplementaryTextPainter::Covers(HDC hdc, size_t nFace, const wchar_t* pch, int nLength) {
    std::vector<Run> runs;
    if (!Shape(hdc, nFace, pch, nLength, runs))
        return false;
    Face& face = *m_faces[nFace];
    if (face.nDefaultGlyph < 0) {
        CSelectObject select(hdc, face.font);
        SCRIPT_FONTPROPERTIES properties{};
        properties.cBytes = sizeof(properties);
        face.nDefaultGlyph = SUCCEEDED(::ScriptGetFontProperties(hdc, &face.cache, &properties))
                                 ? properties.wgDefault
                                 : 0;
    }
    for (const Run& run : runs) {
        for (WORD glyph : run.glyphs) {
            if (glyph == face.nDefaultGlyph)
                return false;
        }
    }
    return !runs.empty();
}

void CSupplementaryTextPainter::UseFontOf(HDC hdc) {
    LOGFONTW logFont{};
    ::GetObjectW(::GetCurrentObject(hdc, OBJ_FONT), sizeof(logFont), &logFont);
    if (!m_faces.empty() && std::memcmp(&logFont, &m_baseFont, sizeof(logFont)) == 0)
        return;
    m_baseFont = logFont;
    m_pLayout.reset();
    m_faces.clear();
    m_faceOfCharacter.clear();
    m_faces.push_back(std::make_unique<Face>(logFont));
    // The links of the face asked for, else of what stands for it, else of the face
    // the DC got.
    std::vector<std::wstring> linked = LinkedFaces(logFont.lfFaceName);
    if (linked.empty())
        linked = LinkedFaces(SubstituteOf(logFont.lfFaceName));
    if (linked.empty()) {
        wchar_t szFace[LF_FACESIZE] = {};
        ::GetTextFaceW(hdc, LF_FACESIZE, szFace);
        linked = LinkedFaces(szFace);
    }
    for (const std::wstring& face : linked) {
        if (face.size() >= LF_FACESIZE || ::_wcsicmp(face.c_str(), logFont.lfFaceName) == 0)
            continue;
        LOGFONTW linkedFont = logFont;
        ::wcscpy(linkedFont.lfFaceName, face.c_str());
        m_faces.push_back(std::make_unique<Face>(linkedFont));
    }
}
