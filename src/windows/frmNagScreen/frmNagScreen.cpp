#include "windows/frmNagScreen/frmNagScreen.h"

#include "forms/program_icon.h"
#include "win32/bench_marks.h"
#include "core/web/cobrand.h"

namespace annuvia {

frmNagScreen::frmNagScreen(FormRegistry& forms, Platform& platform, Program& program)
    : Form(forms, FormDesign{L"Annuvia_frmNagScreen", kWindowTitle, 1500, 1500, kFormBlue, {}, false}),
      platform_(platform),
      program_(program) {}

frmNagScreen::~frmNagScreen() {
    if (imgIcon_) ImageList_Destroy(imgIcon_);
}

HIMAGELIST frmNagScreen::IMGIcon() {
    if (imgIcon_) return imgIcon_;
    const int size = ProgramIconPixels(Dpi());
    HICON icon = ProgramIcon(size);
    if (!icon) return nullptr;
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 1, 0);
    // The icon drawn on the mask colour, which the list then keys out.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (list && picture) {
        HGDIOBJ old = SelectObject(dc, picture);
        RECT all{0, 0, size, size};
        FillRect(dc, &all, Brush(kIconMaskColour));
        DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        SelectObject(dc, old);
        ImageList_AddMasked(list, picture, kIconMaskColour);
    }
    if (picture) DeleteObject(picture);
    DeleteDC(dc);
    if (list && ImageList_GetImageCount(list) != 1) {
        ImageList_Destroy(list);
        list = nullptr;
    }
    imgIcon_ = list;
    return imgIcon_;
}

void frmNagScreen::Form_Load() {
    bool refused = false;
    IgnoringErrors([&] { refused = platform_.AnotherInstanceRunning(); });
    if (refused) {
        IgnoringErrors([&] {
            platform_.ShowMessage(nullptr, kAlreadyRunning, MsgButtons::OK, MsgIcon::Information);
        });
        program_.UnloadAllAndEnd();
        return;
    }
    ANNUVIA_MARK("instance guard");
    EachStep([&] { platform_.SeedRandomFromTimer(); }, [&] { program_.CheckUpdateReminder(); });
    ANNUVIA_MARK("reminder (start-up)");
    EachStep([&] { program_.ShowMainWindow(); }, [&] { Hide(); }, [&] { CoBrand_Randomize(); });
    ANNUVIA_MARK("banner rotation");
}

void frmNagScreen::Form_Unload() { program_.UnloadAllAndEnd(); }

void frmNagScreen::CoBrand_Randomize() {
    intCoBrandRandomNumber = CoBrandNumber(platform_.NextRandom());
    program_.BringBannerToFront(FrontBannerFor(intCoBrandRandomNumber));
}

}  // namespace annuvia
