#pragma once
// The last picture of each long single-line text box. Such a box lays out its
// whole text at every paint; with a text of many thousand characters that
// takes tens of milliseconds (under Wine), at every showing of its window.
// While the box has no focus (so no caret, selection or composition to draw)
// and nothing it paints from has changed, the picture it painted last time is
// put back instead.

#include <windows.h>

#include <map>
#include <vector>

namespace annuvia {

class TextPictures {
public:
    TextPictures() = default;
    ~TextPictures() { DropAll(); }
    TextPictures(const TextPictures&) = delete;
    TextPictures& operator=(const TextPictures&) = delete;

    // Paints a box (its WM_PAINT) from its picture, made anew if need be.
    // Returns false for a box that must paint itself: a short text, the focus.
    bool Paint(HWND box);
    void Drop(HWND box);
    // After a change of colours or type: every picture is painted anew.
    void DropAll();

private:
    struct Picture {
        HBITMAP bitmap = nullptr;
        std::vector<LONG_PTR> paintedFrom;
    };
    std::map<HWND, Picture> pictures_;
};

}  // namespace annuvia
