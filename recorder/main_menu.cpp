#include "recorder/main_menu.h"

#include <cstring>
#include <initializer_list>

#include "recorder/recorder_globals.h"

namespace {

struct Item {
    const char* text;
    UINT id;
};

struct Popup {
    const char* title;
    const Item* items;
    int count;
};

// On-screen order, left to right and top to bottom.
const Item kSetsumei[] = {{"録音の説明(&R)", kMenuRecGuide}, {"圧縮設定の説明(&A)", kMenuCodecAdvice}, {"使い方(&T)", kMenuUsage}};
const Item kSettei[] = {{"保存先指定(&H)", kMenuSaveFolderHelp}, {"動画が停止したら停止(&A)", kMenuDougaTeishiStop}};
const Item kHoka[] = {{"なめらかモード", kMenuSmoothing}, {"音ズレなめらかモード", kMenuOtozureSmooth}, {"横切れ防止", kMenuYokogire}};
const Item kOto[] = {{"モノラル", kMenuMono}, {"ステレオ", kMenuStereo}, {"音を入れない", kMenuOtoNashi}, {"音声ファイルいらない", kMenuOnseiIranai}};
const Item kSousa[] = {{"次のファイルへ!(分割)(&N)", kMenuSplit},
                       {"保存先フォルダを開く(&O)", kMenuOpenFolder},
                       {"録画と同時に動画をクリック(&C)", kMenuRecDoujiClick},
                       {"録画をキャンセル（結合処理しない停止）", kMenuRecCancel}};
const Item kKifu[] = {{"寄付について(&I)", kMenuKifu}, {"寄付して下さった方へ(&T)", kMenuKifuThanks}};

const Popup kMainPopups[] = {
    {"説明(&I)", kSetsumei, 3}, {"設定(&S)", kSettei, 2}, {"他の設定(&H)", kHoka, 3},
    {"音(&O)", kOto, 4},       {"操作(&C)", kSousa, 4},  {"寄付(&K)", kKifu, 2},
};

const Item kHelpItems[] = {{"使い方(&U)", kMenuHelpUsage}, {"音(&O)", kMenuHelpSound}, {"カクカク(&K)", kMenuHelpKakukaku},
                           {"テク(&T)", kMenuHelpTech}, {"その他", kMenuHelpOther}};

// Every item goes in at position 0, so a menu shows its items in the
// reverse of the insertion order: insert from the last on-screen item.
void InsertFront(HMENU menu, const char* text, UINT id, HMENU subMenu)
{
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_TYPE | MIIM_ID | MIIM_STATE | (subMenu ? MIIM_SUBMENU : 0);
    mii.fType = MFT_STRING;
    mii.fState = MFS_ENABLED;
    mii.wID = id;
    mii.hSubMenu = subMenu;
    mii.dwTypeData = const_cast<char*>(text);
    mii.cch = static_cast<UINT>(std::strlen(text));
    InsertMenuItemA(menu, 0, TRUE, &mii);
}

HMENU PopupCreate(const Item* items, int count)
{
    HMENU popup = CreatePopupMenu();
    for (int i = count - 1; i >= 0; --i) {
        InsertFront(popup, items[i].text, items[i].id, nullptr);
    }
    return popup;
}

}  // namespace

void MenuBarsCreate()
{
    glhMainMenu = CreateMenu();
    const int popupSuu = static_cast<int>(sizeof kMainPopups / sizeof kMainPopups[0]);
    for (int i = popupSuu - 1; i >= 0; --i) {
        InsertFront(glhMainMenu, kMainPopups[i].title, 0, PopupCreate(kMainPopups[i].items, kMainPopups[i].count));
    }

    glhHelpMenu = CreateMenu();
    InsertFront(glhHelpMenu, "メニュー(&M)", 0, PopupCreate(kHelpItems, 5));
    InsertFront(glhHelpMenu, "閉じる", kMenuHelpClose, nullptr);
}

void MenuBarsDestroy()
{
    // A menu still attached to a window goes with that window; these are
    // the ones left over.
    if (glhMainMenu && IsMenu(glhMainMenu)) {
        DestroyMenu(glhMainMenu);
    }
    if (glhHelpMenu && IsMenu(glhHelpMenu)) {
        DestroyMenu(glhHelpMenu);
    }
    glhMainMenu = nullptr;
    glhHelpMenu = nullptr;
}

void MenuStateSet(const char* text, HMENU menu, UINT id, int state)
{
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_ID;
    mii.wID = id;
    mii.fState = state == 0 ? (MFS_GRAYED | MFS_UNCHECKED) : state == 1 ? (MFS_ENABLED | MFS_UNCHECKED) : (MFS_ENABLED | MFS_CHECKED);
    if (text != nullptr && text[0] != '\0') {
        mii.fMask |= MIIM_TYPE;
        mii.fType = MFT_STRING;
        mii.dwTypeData = const_cast<char*>(text);
        mii.cch = static_cast<UINT>(std::strlen(text));
    }
    SetMenuItemInfoA(menu, id, FALSE, &mii);
    if (state == 0) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | MF_GRAYED);
    } else if (state == 1) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | MF_ENABLED);
    }
}

void MenuStatesForRecording(int recording)
{
    if (recording) {
        for (UINT id : {kMenuMono, kMenuStereo, kMenuOtoNashi, kMenuOnseiIranai, kMenuSaveFolderHelp, kMenuOpenFolder,
                        kMenuKifu, kMenuKifuThanks}) {
            MenuStateSet("", glhMainMenu, id, 0);
        }
        MenuStateSet("", glhMainMenu, kMenuSplit, 1);
        return;
    }
    MenuToggleShow(kMenuMono, glChannels == 1);
    MenuToggleShow(kMenuStereo, glChannels == 2);
    MenuToggleShow(kMenuOtoNashi, glOtoNashiFlag);
    MenuToggleShow(kMenuOnseiIranai, glOnseiFileIranaiFlag);
    for (UINT id : {kMenuSaveFolderHelp, kMenuOpenFolder, kMenuKifu, kMenuKifuThanks}) {
        MenuStateSet("", glhMainMenu, id, 1);
    }
    MenuStateSet("", glhMainMenu, kMenuSplit, 0);
}

void MenuToggleShow(UINT id, int flag)
{
    MenuStateSet("", glhMainMenu, id, flag ? 2 : 1);
}
