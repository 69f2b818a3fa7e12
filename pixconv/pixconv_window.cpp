// The service window: one request at a time, in arrival order.
#include "pixconv/core/request_copy.h"
#include "pixconv/pixconv.h"

HWND glReplyWnd;
char glOutPath[kPathBytes];
char glDialogTitle[kPathBytes];
char glDialogFilter[kFilterBytes + 2];
char glDialogFileName[kPathBytes + 1];
char glDialogFolder[kPathBytes];
bool glMultiSelect;

namespace {

enum RequestCode : ULONG_PTR {
    kTitle = 0,
    kFilter = 1,
    kFileName = 2,
    kFolder = 3,
    kMultiSelect = 4,
    kShowDialog = 5,
    // Anything larger is a client window handle: the output-path request.
};

void CopyDataRequest(HWND hwnd, const COPYDATASTRUCT* cds)
{
    const void* data = cds->lpData;
    const std::size_t bytes = cds->cbData;
    switch (cds->dwData) {
    case kTitle:
        RequestTextCopy(glDialogTitle, sizeof glDialogTitle, data, bytes);
        break;
    case kFilter:
        RequestBytesCopy(glDialogFilter, kFilterBytes, data, bytes);
        break;
    case kFileName:
        RequestTextCopy(glDialogFileName, sizeof glDialogFileName, data, bytes);
        break;
    case kFolder:
        RequestTextCopy(glDialogFolder, sizeof glDialogFolder, data, bytes);
        break;
    case kMultiSelect:
        glMultiSelect = true;
        break;
    case kShowDialog: {
        char requestText[kPathBytes];
        RequestTextCopy(requestText, sizeof requestText, data, bytes);
        FileDialogShow(hwnd, requestText);
        break;
    }
    default:
        glReplyWnd = reinterpret_cast<HWND>(cds->dwData);
        RequestTextCopy(glOutPath, sizeof glOutPath, data, bytes);
        break;
    }
}

}  // namespace

LRESULT CALLBACK PixconvWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COPYDATA:
        CopyDataRequest(hwnd, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return 0;
    case WM_SETTEXT:
        // The title stays as it is: clients find the service by it.
        if (lParam != 0) {
            PictureConvert(reinterpret_cast<const char*>(lParam), glOutPath);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}
