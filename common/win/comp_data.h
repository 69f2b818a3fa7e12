// The codec choice: the system's codec dialog, the stored 64-byte record,
// and the frame format that choices and compressed streams describe.
#pragma once

#include <windows.h>

#include "common/core/comp_data_record.h"

// The current choice; zero until loaded or chosen.
extern CompDataRecord glCompVars;

// Frame size the choice dialog describes: the recorder's capture frame,
// the editor's 854 x 480. Each program keeps it current.
extern int glCompFrameWidth;
extern int glCompFrameHeight;

// The first 40 bytes of the choice input format: the stream format header
// of the compressed streams.
extern BITMAPINFOHEADER glStreamFormatHeader;

// Copies the first 64 bytes of the compression file into glCompVars; a
// missing (or shorter) file leaves it unchanged. Returns 1 when loaded.
int CompDataLoad(const char* path);

// Shows the codec dialog until a codec other than "DIB " is picked (1) or
// the dialog is cancelled (0); every pick is stored in glCompVars and in
// the file at `path`.
int CompDataChoose(const char* path);

// Builds the choice input format for the frame size and copies its first
// 40 bytes into glStreamFormatHeader.
void CompInputFormatSet(int width, int height);
