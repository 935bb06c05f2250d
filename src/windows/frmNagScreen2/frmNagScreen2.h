#pragma once
// The exit screen: shown when the user leaves the main or the result window,
// it asks for the user's support, links to the publisher's pages and carries
// the refer-a-friend form. Once loaded it stays loaded, above other windows,
// until the program ends; its Exit button and its close box end the program.

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/platform/platform.h"
#include "core/web/gateway.h"
#include "core/web/modTellAFriend.h"
#include "forms/form.h"
#include "windows/frmNagScreen2/frmNagScreen2_ids.h"
#include "windows/program.h"

namespace annuvia {

// The four support texts, one of them drawn when the exit screen loads.
inline constexpr const wchar_t* kSupportTexts[4] = {
    L"Programs like this one can be created and maintained only with your support. The best way "
    L"to support our discussion board is to visit " ANNUVIA_GATEWAY_HOST L" regularly and take part "
    L"in its discussions and other activities.",
    L"Please visit " ANNUVIA_GATEWAY_HOST L" regularly and support it by taking part in its "
    L"discussions and other activities: without regular visits to the site these programs cannot "
    L"be supported and maintained.",
    ANNUVIA_GATEWAY_HOST L" is a free online discussion forum on numerology, astrology and tarot. "
    L"Please visit it regularly and help us develop and maintain this program.",
    ANNUVIA_GATEWAY_HOST L" needs your help. Visit it regularly and take part in its discussions "
    L"and activities, to help us maintain this program and develop more programs like it.",
};

// Which support text a draw u from [0, 1) picks: floor(u x 4) in single precision.
inline int SupportTextIndex(float u) {
    return std::clamp(static_cast<int>(std::floor(u * 4.0f)), 0, 3);
}

inline constexpr wchar_t kVisitCaption[] = L"Click here to visit " ANNUVIA_GATEWAY_HOST L" now";
inline constexpr wchar_t kGoToHomeCaption[] = L"Click Here To Visit Corvane Softwares";
// Two paragraphs; the run of spaces pushes the second onto a line of its own.
inline constexpr wchar_t kOtherSoftwaresText[] =
    L"If you have enjoyed this software you will surely be interested in our other Corvane "
    L"Softwares. From a single software, we have now grown to become the world\u2019s largest "
    L"resource of corvane softwares. Be it astrology, psychic, tarot, numerology or occult, we have "
    L"programs in all fields thus giving our users a wide choice depending on their interests."
    L"                                                             "
    L"All the programs in the Corvane Softwares suite are simple and easy to use. They are not only "
    L"fun to use but also very informative. Try them out today and share your experience with your "
    L"friends and family. ";

class frmNagScreen2 final : public Form {
public:
    using enum frmNagScreen2Ids::Id;

    frmNagScreen2(FormRegistry& forms, Platform& platform, Program& program);
    ~frmNagScreen2() override;

    void cmdClose_Click();
    void Check1_Click();
    void lblGoToHome_Click();
    void cmdSubmit_Click();

    // What the last press of Submit stored, for the life of the process.
    const TellAFriendStrings& TellAFriend() const { return tellAFriend_; }

private:
    void Form_Load() override;
    void Form_Unload() override;
    bool OnControlMessage(int id, UINT msg, WPARAM& wp, LPARAM lp, LRESULT* result) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

    // A box's GotFocus (EN_SETFOCUS) and LostFocus: its prompt goes, and comes back to a box left blank.
    void PromptOnFocus(int id, int notification);

    static const ControlEvent kEvents[];

    Platform& platform_;
    Program& program_;
    HICON icon_ = nullptr;
    TellAFriendStrings tellAFriend_;
    bool focusExitOnActivate_ = false;
};

}  // namespace annuvia
