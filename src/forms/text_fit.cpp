#include "forms/text_fit.h"

#include <string>

#include "forms/layout.h"
#include "forms/window_text.h"

namespace annuvia {

namespace {

// The size of a text drawn in a font, in one line or wrapped at a width.
SIZE TextSize(HDC dc, HFONT font, const std::wstring& text, int width, UINT format) {
    HGDIOBJ old = SelectObject(dc, font);
    RECT rc{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &rc, DT_CALCRECT | format);
    SelectObject(dc, old);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

}  // namespace

void FitText(HWND control, const ControlRow& row, UINT dpi) {
    if (!control || row.fit == TextFit::None) return;
    const std::wstring text = WindowText(control);
    const auto current = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    if (row.fit == TextFit::SizeToText) {
        const SIZE size = TextSize(dc, current, text, 0, DT_SINGLELINE | DT_LEFT);
        SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        DeleteDC(dc);
        return;
    }
    const int margin = MulDiv(row.fitMargin, static_cast<int>(dpi), 96);
    RECT box{};
    GetClientRect(control, &box);
    const int width = box.right - 2 * margin, height = box.bottom - 2 * margin;
    const UINT format = row.fit == TextFit::OneLine ? DT_SINGLELINE : DT_WORDBREAK;
    FontRow type = row.font;
    HFONT chosen = nullptr;
    for (int size = row.font.hundredthsOfPoint; size >= row.font.hundredthsOfPoint / 2; size -= 25) {
        type.hundredthsOfPoint = size;
        HFONT font = SharedFont(type, dpi);
        if (!font) break;
        chosen = font;
        const SIZE needs = TextSize(dc, font, text, width, format);
        if (needs.cx <= width && needs.cy <= height) break;
    }
    DeleteDC(dc);
    if (chosen && chosen != current) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
}

}  // namespace annuvia
