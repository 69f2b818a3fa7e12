// VemtraTestWindow.exe: a small program with the traits of the Vemtra
// programs (ANSI calls with Shift-JIS texts, a folder check at start, a
// message box), used by the harness's own tests to prove the driver.
//
// Started in a folder whose name does not end in "VemtraTest" it shows a
// box titled "VemtraTest" and ends with code 0. Otherwise it creates the
// folder "作成フォルダ" and opens its window, whose controls report what
// the user did.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

enum ControlId {
  kLabel = 101,       // Japanese text
  kAskButton = 102,   // opens a yes/no box; the answer goes to kAnswer
  kEdit = 103,
  kCheck = 104,
  kDisabled = 105,
  kAnswer = 106,
  kDrag = 107,        // "x1,y1-x2,y2" of the last left drag, client coordinates
  kKey = 108,         // virtual-key code of the last key pressed on the window
  kFolder = 109,      // the current directory
  kChars = 110,       // characters typed on the window
  kMenuExit7 = 201,   // menu item: end with exit code 7
};

HWND g_main;
POINT g_down;
char g_chars[256];

void SetItemText(int id, const char* text) { SetDlgItemTextA(g_main, id, text); }

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         (HMENU)(INT_PTR)id, GetModuleHandleA(nullptr), nullptr);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: {
      g_main = hwnd;
      HFONT font = CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "MS UI Gothic");
      HWND items[] = {
          Child(hwnd, "STATIC", "日本語の表示テスト：録画！範囲指定　ソ表能", 0, 10, 10, 600, 28, kLabel),
          Child(hwnd, "BUTTON", "質問する", BS_PUSHBUTTON, 10, 50, 140, 32, kAskButton),
          Child(hwnd, "EDIT", "", WS_BORDER | ES_AUTOHSCROLL, 160, 50, 200, 32, kEdit),
          Child(hwnd, "BUTTON", "チェック", BS_AUTOCHECKBOX, 370, 50, 120, 32, kCheck),
          Child(hwnd, "BUTTON", "押せない", BS_PUSHBUTTON | WS_DISABLED, 500, 50, 120, 32, kDisabled),
          Child(hwnd, "STATIC", "", 0, 10, 90, 300, 28, kAnswer),
          Child(hwnd, "STATIC", "", 0, 320, 90, 300, 28, kDrag),
          Child(hwnd, "STATIC", "", 0, 10, 120, 300, 28, kKey),
          Child(hwnd, "STATIC", "", 0, 320, 120, 300, 28, kChars),
          Child(hwnd, "STATIC", "", 0, 10, 150, 610, 28, kFolder),
      };
      for (HWND item : items) SendMessageA(item, WM_SETFONT, (WPARAM)font, TRUE);
      char folder[MAX_PATH] = {};
      GetCurrentDirectoryA(MAX_PATH, folder);
      SetItemText(kFolder, folder);
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == kAskButton) {
        int r = MessageBoxA(hwnd, "続けますか？\r\n二行目です。", "確認", MB_YESNO | MB_TOPMOST);
        SetItemText(kAnswer, r == IDYES ? "はい" : r == IDNO ? "いいえ" : "その他");
      } else if (LOWORD(wp) == kMenuExit7) {
        DestroyWindow(hwnd);
        PostQuitMessage(7);
      }
      return 0;
    case WM_LBUTTONDOWN:
      g_down = {(short)LOWORD(lp), (short)HIWORD(lp)};
      SetCapture(hwnd);
      SetFocus(hwnd);
      return 0;
    case WM_LBUTTONUP: {
      ReleaseCapture();
      char text[64];
      std::snprintf(text, sizeof text, "%ld,%ld-%d,%d", g_down.x, g_down.y, (short)LOWORD(lp), (short)HIWORD(lp));
      SetItemText(kDrag, text);
      return 0;
    }
    case WM_KEYDOWN: {
      char text[32];
      std::snprintf(text, sizeof text, "%u", (unsigned)wp);
      SetItemText(kKey, text);
      return 0;
    }
    case WM_CHAR: {
      size_t n = std::strlen(g_chars);
      if (wp >= 0x20 && n + 2 < sizeof g_chars) {
        // Double-byte characters arrive as two WM_CHAR bytes in an ANSI window.
        g_chars[n] = (char)wp;
        g_chars[n + 1] = '\0';
        SetItemText(kChars, g_chars);
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool FolderAccepted() {
  char folder[MAX_PATH] = {};
  DWORD n = GetCurrentDirectoryA(MAX_PATH, folder);
  const char* name = "VemtraTest";
  size_t len = std::strlen(name);
  return n >= len && std::strcmp(folder + n - len, name) == 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!FolderAccepted()) {
    MessageBoxA(nullptr, "フォルダが違います。\r\n一旦終了します。", "VemtraTest", MB_TOPMOST);
    return 0;
  }
  CreateDirectoryA("作成フォルダ", nullptr);

  WNDCLASSA wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  wc.lpszClassName = "VemtraTestWindow";
  RegisterClassA(&wc);

  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, kMenuExit7, "終了コード7で終了(&X)");
  AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "ファイル(&F)");

  HWND hwnd = CreateWindowExA(0, "VemtraTestWindow", "テスト窓　日本語", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                              660, 260, nullptr, bar, instance, nullptr);
  if (!hwnd) return 2;
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return (int)msg.wParam;
}
