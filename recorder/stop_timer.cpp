#include "recorder/stop_timer.h"

#include <windows.h>

#include "recorder/core/stop_timer_rules.h"
#include "recorder/main_controls.h"
#include "recorder/recorder_globals.h"

namespace {

void BoxText(int id, char* text, int size)
{
    text[0] = '\0';
    GetWindowTextA(MainItem(id), text, size);
}

}  // namespace

void StopTimerClick()
{
    char hours[64];
    char minutes[64];
    char seconds[64];
    BoxText(kIdStopHour, hours, sizeof hours);
    BoxText(kIdStopMin, minutes, sizeof minutes);
    BoxText(kIdStopSec, seconds, sizeof seconds);
    glStopTimerMs = StopTimerMsCal(hours, minutes, seconds);
    HWND check = MainItem(kIdStopTimerCheck);
    glStopTimerFlag = SendMessageA(check, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    if (glStopTimerMs <= 0) {
        SendMessageA(check, BM_SETCHECK, BST_UNCHECKED, 0);
        glStopTimerFlag = 0;
    }
    SetWindowTextA(check, StopTimerText(glStopTimerFlag == 1));
}

void StopTimerOff()
{
    HWND check = MainItem(kIdStopTimerCheck);
    SendMessageA(check, BM_SETCHECK, BST_UNCHECKED, 0);
    glStopTimerFlag = 0;
    SetWindowTextA(check, StopTimerText(false));
}
