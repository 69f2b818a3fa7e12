// "圧縮設定": the user picks the codec; the choice lands in glCompVars and
// "CompData.txt".
#pragma once

void CodecChoiceCommand();
