#include "common/win/comp_data.h"

#include <vfw.h>

#include <cstring>

#include "common/win/codec_chooser.h"
#include "common/win/program.h"
#include "common/win/settings_file.h"

CompDataRecord glCompVars;
int glCompFrameWidth = 400;
int glCompFrameHeight = 400;
BITMAPINFOHEADER glStreamFormatHeader;

namespace {

// The frames offered to the codec dialog. Its header's size field says 1064
// (a header plus a 256-entry colour table), as the dialog has always been
// shown it.
struct ChoiceInputFormat {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};
ChoiceInputFormat glCompInputFormat;

CompDataRecord RecordFromChoice(const CodecChoice& c)
{
    // The fields that only mean something inside the dialog's process
    // (handles, addresses, counters) are written as zeros.
    CompDataRecord r = {};
    r.cbSize = kCompDataBytes;
    r.dwFlags = ICMF_COMPVARS_VALID;
    r.fccType = c.fccType;
    r.fccHandler = c.fccHandler;
    r.lKey = c.lKey;
    r.lDataRate = c.lDataRate;
    r.lQ = c.lQ;
    return r;
}

}  // namespace

void CompInputFormatSet(int width, int height)
{
    std::memset(&glCompInputFormat, 0, sizeof glCompInputFormat);
    BITMAPINFOHEADER& h = glCompInputFormat.header;
    h.biSize = sizeof(ChoiceInputFormat);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = 32;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
    std::memcpy(&glStreamFormatHeader, &h, sizeof glStreamFormatHeader);
}

int CompDataLoad(const char* path)
{
    HANDLE h = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return 0;
    }
    uint8_t bytes[kCompDataBytes];
    DWORD read = 0;
    ReadFile(h, bytes, sizeof bytes, &read, nullptr);
    CloseHandleRetry(h);
    // A file shorter than the record counts as missing.
    return CompDataFromBytes(bytes, read, &glCompVars) ? 1 : 0;
}

int CompDataChoose(const char* path)
{
    CompInputFormatSet(glCompFrameWidth, glCompFrameHeight);
    for (;;) {
        CodecChoice choice;
        if (!CodecChooserShow(glhMainWnd, glProgram.compChooseTitle, glCompVars.fccHandler, &choice)) {
            return 0;
        }
        glCompVars = RecordFromChoice(choice);
        uint8_t bytes[kCompDataBytes];
        CompDataToBytes(glCompVars, bytes);
        DWORD written;
        FileWriteWhole(path, bytes, sizeof bytes, &written);
        if (glCompVars.fccHandler != kFccDib) {
            return 1;
        }
        MessageBoxA(glhMainWnd, "すみません。無圧縮はできません。", "<(;_ _)>", MB_TOPMOST);
    }
}
