#include "common/win/codec_chooser.h"

#include <vfw.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kIdCodecList = 100;
constexpr int kIdCodeText = 101;
const DWORD kFccZmbv = mmioFOURCC('Z', 'M', 'B', 'V');

struct CodecEntry {
    DWORD fcc;
    std::string description;
};

struct ChooserState {
    std::vector<CodecEntry> entries;
    DWORD current;
    int picked;
};

std::string Ansi(const wchar_t* text)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.resize(std::strlen(out.c_str()));
    return out;
}

std::string CodeText(DWORD fcc)
{
    std::string text;
    for (int i = 0; i < 4 && static_cast<char>(fcc >> (8 * i)) != '\0'; ++i) {
        text += static_cast<char>(fcc >> (8 * i));
    }
    return text;
}

bool SameCode(DWORD a, DWORD b)
{
    return _strnicmp(CodeText(a).c_str(), CodeText(b).c_str(), 4) == 0;
}

// Uncompressed frames, the built-in screen codec, then every video codec
// installed on the machine, as the system's codec dialog lists them.
std::vector<CodecEntry> CodecEntries()
{
    std::vector<CodecEntry> entries;
    entries.push_back({mmioFOURCC('D', 'I', 'B', ' '), "フル フレーム (無圧縮)"});
    entries.push_back({kFccZmbv, "Vemtra 画面ロスレス (ZMBV)"});
    ICINFO info;
    for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &info); ++i) {
        if (SameCode(info.fccHandler, kFccZmbv)) {
            continue; // the built-in codec stands for every ZMBV
        }
        ICINFO full = {};
        full.dwSize = sizeof full;
        HIC hic = ICOpen(ICTYPE_VIDEO, info.fccHandler, ICMODE_QUERY);
        if (hic == nullptr) {
            continue;
        }
        ICGetInfo(hic, &full, sizeof full);
        ICClose(hic);
        std::string name = Ansi(full.szDescription);
        entries.push_back({info.fccHandler, name.empty() ? CodeText(info.fccHandler) : name});
    }
    return entries;
}

void ShowCode(HWND dlg, const ChooserState* state)
{
    const LRESULT sel = SendDlgItemMessageA(dlg, kIdCodecList, CB_GETCURSEL, 0, 0);
    std::string text;
    if (sel >= 0 && static_cast<std::size_t>(sel) < state->entries.size()) {
        text = "コード： " + CodeText(state->entries[static_cast<std::size_t>(sel)].fcc);
    }
    SetDlgItemTextA(dlg, kIdCodeText, text.c_str());
}

INT_PTR CALLBACK ChooserProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<ChooserState*>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        state = reinterpret_cast<ChooserState*>(lParam);
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        int select = 1; // the built-in codec unless the current choice is listed
        for (std::size_t i = 0; i < state->entries.size(); ++i) {
            SendDlgItemMessageA(dlg, kIdCodecList, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(state->entries[i].description.c_str()));
            if (state->current != 0 && SameCode(state->entries[i].fcc, state->current)) {
                select = static_cast<int>(i);
            }
        }
        SendDlgItemMessageA(dlg, kIdCodecList, CB_SETCURSEL, static_cast<WPARAM>(select), 0);
        ShowCode(dlg, state);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kIdCodecList && HIWORD(wParam) == CBN_SELCHANGE) {
            ShowCode(dlg, state);
            return TRUE;
        }
        if (LOWORD(wParam) == IDOK) {
            state->picked = static_cast<int>(SendDlgItemMessageA(dlg, kIdCodecList, CB_GETCURSEL, 0, 0));
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

// An in-memory dialog template: DLGTEMPLATE and DLGITEMTEMPLATE records
// with their UTF-16 strings, each item aligned to 4 bytes.
class DialogTemplate {
public:
    DialogTemplate(const wchar_t* title, DWORD style, short cx, short cy)
    {
        DLGTEMPLATE t = {};
        t.style = style | DS_SETFONT;
        t.cx = cx;
        t.cy = cy;
        Append(&t, sizeof t);
        Word(0); // no menu
        Word(0); // the standard dialog class
        Text(title);
        Word(9);
        Text(L"MS Shell Dlg");
    }

    void Item(WORD classAtom, const wchar_t* text, DWORD style, short x, short y, short cx, short cy, WORD id)
    {
        Align();
        DLGITEMTEMPLATE item = {};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Append(&item, sizeof item);
        Word(0xFFFF);
        Word(classAtom);
        Text(text);
        Word(0); // no creation data
        ++reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit;
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    void Append(const void* p, std::size_t n)
    {
        const auto* b = static_cast<const uint8_t*>(p);
        bytes_.insert(bytes_.end(), b, b + n);
    }
    void Word(WORD w) { Append(&w, sizeof w); }
    void Text(const wchar_t* s) { Append(s, (wcslen(s) + 1) * sizeof(wchar_t)); }
    void Align()
    {
        while (bytes_.size() % 4 != 0) {
            bytes_.push_back(0);
        }
    }

    std::vector<uint8_t> bytes_;
};

constexpr WORD kButton = 0x0080;
constexpr WORD kStatic = 0x0082;
constexpr WORD kComboBox = 0x0085;

std::wstring Wide(const char* ansi)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, out.data(), n);
    out.resize(wcslen(out.c_str()));
    return out;
}

}  // namespace

bool CodecChooserShow(HWND owner, const char* title, DWORD current, CodecChoice* choice)
{
    ChooserState state{CodecEntries(), current, -1};

    DialogTemplate t(Wide(title).c_str(), DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 230, 70);
    t.Item(kStatic, L"コンプレッサー(&C):", SS_LEFT, 7, 7, 150, 9, 0xFFFF);
    t.Item(kComboBox, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 7, 18, 158, 120, kIdCodecList);
    t.Item(kStatic, L"", SS_LEFT, 7, 38, 158, 9, kIdCodeText);
    t.Item(kButton, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 173, 7, 50, 14, IDOK);
    t.Item(kButton, L"キャンセル", BS_PUSHBUTTON | WS_TABSTOP, 173, 25, 50, 14, IDCANCEL);

    const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), owner, ChooserProc,
                                                   reinterpret_cast<LPARAM>(&state));
    if (result != IDOK || state.picked < 0 || static_cast<std::size_t>(state.picked) >= state.entries.size()) {
        return false;
    }
    const DWORD fcc = state.entries[static_cast<std::size_t>(state.picked)].fcc;
    *choice = {};
    choice->fccType = ICTYPE_VIDEO;
    choice->fccHandler = fcc;
    choice->lQ = static_cast<LONG>(ICQUALITY_DEFAULT);
    if (fcc != kFccZmbv && fcc != mmioFOURCC('D', 'I', 'B', ' ')) {
        // An installed codec starts from its own defaults, as the system's
        // dialog would set them.
        HIC hic = ICOpen(ICTYPE_VIDEO, fcc, ICMODE_QUERY);
        if (hic != nullptr) {
            choice->lKey = static_cast<LONG>(ICGetDefaultKeyFrameRate(hic));
            DWORD quality = ICQUALITY_DEFAULT;
            if (ICSendMessage(hic, ICM_GETDEFAULTQUALITY, reinterpret_cast<DWORD_PTR>(&quality), 0) == ICERR_OK) {
                choice->lQ = static_cast<LONG>(quality);
            }
            ICClose(hic);
        }
    }
    return true;
}
