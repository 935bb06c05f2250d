#include "forms/caption_fit.h"

#include <string>

namespace annuvia {

namespace {

int PixelHeight(HFONT font) {
    LOGFONTW lf{};
    return GetObjectW(font, sizeof lf, &lf) ? (lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight) : 0;
}

}  // namespace

void FitWrappedCaption(HWND label, const FontSpec& designed, UINT dpi) {
    if (!label) return;
    const std::wstring text = WindowText(label);
    RECT box{};
    GetClientRect(label, &box);
    const HFONT current = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    HDC dc = GetDC(label);
    FontSpec smaller = designed;
    HFONT chosen = nullptr;
    for (int size = designed.hundredthsOfPoint; size >= designed.hundredthsOfPoint / 2; size -= 25) {
        smaller.hundredthsOfPoint = size;
        const bool asDesigned = size == designed.hundredthsOfPoint &&
                                PixelHeight(current) == MulDiv(size, static_cast<int>(dpi), 7200);
        HFONT font = asDesigned ? current : SharedFont(smaller, dpi);
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
