// What the shared code needs to know about the recorder.
#include "common/win/program.h"

namespace {

const char* const kFolderNames[] = {"Vemtra", "Vemtra_Free"};

}  // namespace

const ProgramProfile glProgram = {
    "Vemtra",
    kFolderNames,
    2,
    "VemtraはVemtraのフォルダの中に入れてお使いください。\r\nフォルダの名前も変えないでください。フォルダ名はVemtraかVemtra_Freeにしてください。一旦終了します。",
    " XviDがおすすめ(圧縮設定の説明をご覧下さい)",
    false,
};

HWND glhMainWnd = nullptr;
