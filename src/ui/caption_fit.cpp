#include "ui/caption_fit.h"

#include <string>
#include <vector>

namespace annuvia {

namespace {

HFONT SmallerFont(const FontSpec& spec, UINT dpi) {
    struct Made {
        std::wstring face;
        int hundredthsOfPoint;
        bool bold, underline;
        UINT dpi;
        HFONT font;
    };
    static std::vector<Made> made;
    for (const Made& m : made) {
        if (m.dpi == dpi && m.hundredthsOfPoint == spec.hundredthsOfPoint && m.bold == spec.bold &&
            m.underline == spec.underline && m.face == spec.face)
            return m.font;
    }
    HFONT font = CreateFontAt(spec, dpi);
    if (font) made.push_back({spec.face, spec.hundredthsOfPoint, spec.bold, spec.underline, dpi, font});
    return font;
}

int PixelHeight(HFONT font) {
    LOGFONTW lf{};
    return GetObjectW(font, sizeof lf, &lf) ? (lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight) : 0;
}

}  // namespace

void FitWrappedCaption(HWND label, const FontSpec& designed, UINT dpi) {
    if (!label) return;
    const int length = GetWindowTextLengthW(label);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(label, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    RECT box{};
    GetClientRect(label, &box);
    const HFONT current = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    HDC dc = GetDC(label);
    FontSpec spec = designed;
    HFONT chosen = nullptr;
    for (int size = designed.hundredthsOfPoint; size >= designed.hundredthsOfPoint / 2; size -= 25) {
        spec.hundredthsOfPoint = size;
        const bool asDesigned = size == designed.hundredthsOfPoint &&
                                PixelHeight(current) == MulDiv(size, static_cast<int>(dpi), 7200);
        HFONT font = asDesigned ? current : SmallerFont(spec, dpi);
        if (!font) break;
        HGDIOBJ old = SelectObject(dc, font);
        RECT rc{0, 0, box.right, 0};
        DrawTextW(dc, text.c_str(), -1, &rc, DT_CALCRECT | DT_WORDBREAK);
        SelectObject(dc, old);
        chosen = font;
        if (rc.right <= box.right && rc.bottom <= box.bottom) break;
    }
    ReleaseDC(label, dc);
    if (chosen && chosen != current) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
}

}  // namespace annuvia
