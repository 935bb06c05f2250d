#include "forms/text_pictures.h"

#include <string>

namespace annuvia {

bool TextPictures::Paint(HWND box) {
    constexpr int kLongText = 4096;
    const int length = GetWindowTextLengthW(box);
    if (length < kLongText || GetFocus() == box) {
        Drop(box);
        return false;
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), length + 1)));
    unsigned long long hash = 14695981039346656037ull;  // FNV-1a
    for (wchar_t c : text) hash = (hash ^ static_cast<unsigned>(c)) * 1099511628211ull;
    RECT client{}, format{};
    GetClientRect(box, &client);
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    DWORD selStart = 0, selEnd = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    const LONG_PTR style = GetWindowLongPtrW(box, GWL_STYLE);
    HDC screen = GetDC(box);
    HDC memory = CreateCompatibleDC(screen);
    // The colours, asked for the way the box asks for them when it paints.
    const bool editable = IsWindowEnabled(box) && !(style & ES_READONLY);
    const LRESULT brush = SendMessageW(GetParent(box), editable ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                                       reinterpret_cast<WPARAM>(memory), reinterpret_cast<LPARAM>(box));
    const std::vector<LONG_PTR> paintedFrom{
        static_cast<LONG_PTR>(text.size()), static_cast<LONG_PTR>(hash), static_cast<LONG_PTR>(hash >> 32),
        SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), static_cast<LONG_PTR>(selStart),
        static_cast<LONG_PTR>(selEnd), style, IsWindowEnabled(box), SendMessageW(box, WM_GETFONT, 0, 0),
        SendMessageW(box, EM_GETMARGINS, 0, 0), client.right, client.bottom, format.left, format.top,
        format.right, format.bottom, brush, static_cast<LONG_PTR>(GetTextColor(memory)),
        static_cast<LONG_PTR>(GetBkColor(memory)), GetBkMode(memory),
        static_cast<LONG_PTR>(GetSysColor(COLOR_GRAYTEXT))};
    Picture& picture = pictures_[box];
    if (!picture.bitmap || picture.paintedFrom != paintedFrom) {
        if (picture.bitmap) DeleteObject(picture.bitmap);
        picture.bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        picture.paintedFrom.clear();
        if (picture.bitmap) {
            HGDIOBJ old = SelectObject(memory, picture.bitmap);
            SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
            SelectObject(memory, old);
            picture.paintedFrom = paintedFrom;
        }
    }
    const bool ready = !picture.paintedFrom.empty();
    if (ready) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(box, &ps);
        HGDIOBJ old = SelectObject(memory, picture.bitmap);
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, memory, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        SelectObject(memory, old);
        EndPaint(box, &ps);
    }
    DeleteDC(memory);
    ReleaseDC(box, screen);
    return ready;
}

void TextPictures::Drop(HWND box) {
    auto it = pictures_.find(box);
    if (it == pictures_.end()) return;
    if (it->second.bitmap) DeleteObject(it->second.bitmap);
    pictures_.erase(it);
}

void TextPictures::DropAll() {
    for (auto& [box, picture] : pictures_)
        if (picture.bitmap) DeleteObject(picture.bitmap);
    pictures_.clear();
}

}  // namespace annuvia
