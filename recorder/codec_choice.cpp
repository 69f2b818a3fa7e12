#include "recorder/codec_choice.h"

#include <windows.h>

#include "common/win/comp_data.h"
#include "recorder/recorder_settings.h"

void CodecChoiceCommand()
{
    char path[MAX_PATH];
    SettingsPath(path, "CompData.txt");
    CompDataChoose(path);
}
