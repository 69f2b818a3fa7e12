#include "common/core/wave_err_text.h"

namespace {

struct ErrEntry {
    unsigned int code;
    const char* text;
};

// Trailing spaces are part of the texts.
const ErrEntry kErrTable[] = {
    {1, "ERROR"},
    {2, "BADDEVICEID デバイス識別子が無効である "},
    {3, "NOTENABLED"},
    {4, "ALLOCATED リソースは、すでに割り当てられている "},
    {5, "INVALHANDLE デバイスハンドルが無効である  "},
    {6, "NODRIVER デバイスドライバがない"},
    {7, "NOMEM メモリを割り当てられない、またはロックできない "},
    {8, "NOTSUPPORTED"},
    {9, "BADERRNUM"},
    {10, "INVALFLAG"},
    {11, "INVALPARAM"},
    {12, "HANDLEBUSY 別のスレッドがハンドルを使用中である  "},
    {13, "INVALIDALIAS"},
    {14, "BADDB"},
    {15, "KEYNOTFOUND"},
    {16, "READERROR"},
    {17, "WRITEERROR"},
    {18, "DELETEERROR"},
    {19, "VALNOTFOUND"},
    {20, "NODRIVERCB"},
    {64, "MIDIERR_UNPREPARED "},
    {65, "MIDIERR_STILLPLAYING"},
    {66, "MIDIERR_NOMAP "},
    {67, "MIDIERR_NOTREADY　(ﾟﾟ)!準備が整う前にメッセージが送られてきました。"},
    {68, "MIDIERR_NODEVICE"},
    {69, "MIDIERR_INVALIDSETUP"},
    {70, "MIDIERR_BADOPENMODE (ﾟﾟ)!送られたメッセージがおかしいです。"},
    {71, "MIDIERR_DONT_CONTINUE (ﾟﾟ)!続けられません。"},
};

}  // namespace

std::string WaveErrText(unsigned int code)
{
    if (code == 0) {
        return std::string();
    }
    std::string text;
    for (const ErrEntry& e : kErrTable) {
        if (e.code == code) {
            text = e.text;
            break;
        }
    }
    text += "  エラーコード定数＝";
    text += std::to_string(code);
    return text;
}
