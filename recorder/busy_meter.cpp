#include "recorder/busy_meter.h"

#include <windows.h>

#include <cstring>

#include "recorder/recorder_globals.h"

FSFMBitmapDC glBusyMeterBmp[kBusyFaceSuu];

void BusyMeterBmpCreate()
{
    for (int i = 0; i < kBusyFaceSuu; ++i) {
        BmpDCCreateByFSFM(&glBusyMeterBmp[i], "BusyMeterBmpCreate", i, kBusyFaceWidth, kBusyFaceHeight, 32);
    }
    for (int level = 0; level < kBusyLevelSuu; ++level) {
        FSFMBitmapDC& bmp = glBusyMeterBmp[level];
        if (bmp.memDC == nullptr || bmp.hBmp == nullptr) {
            continue;
        }
        HGDIOBJ oldFont = SelectObject(bmp.memDC, glhSystemFont);
        const char* firstFace = BusyFaceOf(0).face;
        SIZE textSize = {};
        GetTextExtentPoint32A(bmp.memDC, firstFace, static_cast<int>(std::strlen(firstFace)), &textSize);

        const BusyFace& face = BusyFaceOf(level);
        RECT bar = {textSize.cx, 0, BusyBarRight(textSize.cx, level), 50};
        HBRUSH brush = CreateSolidBrush(RGB(face.red, face.green, face.blue));
        FillRect(bmp.memDC, &bar, brush);
        DeleteObject(brush);
        TextOutA(bmp.memDC, 0, 0, face.face, static_cast<int>(std::strlen(face.face)));
        SelectObject(bmp.memDC, oldFont);
    }
    GdiFlush();
}

void BusyMeterBmpDelete()
{
    for (FSFMBitmapDC& bmp : glBusyMeterBmp) {
        if (bmp.memDC != nullptr) {
            BmpDCDeleteByFSFM(&bmp);
        }
    }
}
