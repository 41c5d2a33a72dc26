// CSupplementaryTextPainter: draws one line of text that holds characters outside the
// basic multilingual plane (𠮷, mathematical letters) for platforms whose plain text
// output draws such a character as the two unknown halves of its surrogate pair, even
// when a font linked behind the chosen one has its glyph. Runs of those characters
// are shaped with Uniscribe in the first font that has their glyphs: the DC's font or
// one the system links behind it (FontLink\SystemLink). Everything else is drawn in
// the DC's font with the plain text output, exactly as before.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class CSupplementaryTextPainter {
public:
    CSupplementaryTextPainter();
    ~CSupplementaryTextPainter();
    CSupplementaryTextPainter(const CSupplementaryTextPainter&) = delete;
    CSupplementaryTextPainter& operator=(const CSupplementaryTextPainter&) = delete;

    static bool HasSurrogatePair(const wchar_t* pszText);
    // Whether the plain text output (DrawText) draws a surrogate pair in hFont as its
    // two halves. Found once per process, by drawing the pair both ways.
    static bool PlainOutputSplitsPairs(HFONT hFont);

    // The text as it fits into cx pixels with the DC's font: whole, or cut after a
    // character and ended with "...", as the list view ends the texts it cuts.
    std::wstring Fit(HDC hdc, const std::wstring& text, int cx);
    int Width(HDC hdc, const std::wstring& text);
    // Draws text from x on one line, vertically centred in rcLine and clipped to it,
    // in the DC's text colour, over what is there.
    void Draw(HDC hdc, const std::wstring& text, int x, const RECT& rcLine);

private:
    struct Face;
    struct Run;
    // The runs of text; the last text's are kept, as a cell is measured, then drawn.
    const std::vector<Run>& Layout(HDC hdc, const std::wstring& text);
    bool Shape(HDC hdc, size_t nFace, const wchar_t* pch, int nLength, std::vector<Run>& runs);
    // The face that draws the character (0, the DC's font, when none has it).
    size_t FaceFor(HDC hdc, const wchar_t* pchPair);
    bool Covers(HDC hdc, size_t nFace, const wchar_t* pch, int nLength);
    // Starts over when the DC's font is not the one the faces were made for.
    void UseFontOf(HDC hdc);

    LOGFONTW m_baseFont{};
    std::vector<std::unique_ptr<Face>> m_faces;
    std::map<UINT, size_t> m_faceOfCharacter;
    std::wstring m_laidOutText;
    std::unique_ptr<std::vector<Run>> m_pLayout;
};
