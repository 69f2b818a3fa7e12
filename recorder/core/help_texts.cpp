#include "recorder/core/help_texts.h"

namespace {

// Each topic is a list of paragraphs ending with a null entry; the first
// paragraph of every topic already carries its own line end.
const char* const kUsage[] = {
    "（‘ v‘）/●● 使い方 ●● このウィンドウは動画の上にかぶらない位置に移動させて形を調節して使えます。\r\n",
    "１．はじめに「圧縮設定」を押してコーデックを選んでください。選んだコーデックの名前がボタンの右に出ます。",
    "２．「範囲指定」を押すと画面が止まります。録画したい範囲の角から反対の角までマウスでドラッグしてください。",
    "３．範囲が決まると赤い枠が出ます。「録画！」を押すと録画が始まります。",
    "４．止めるときは「停止■」かescキーを押してください。一時停止はpauseキーでもできます。",
    "５．動画は「保存先」のフォルダに日付と時刻の名前で保存されます。保存先を変えたいときは、そのフォルダの中にあるファイルかフォルダをメインウィンドウにドロップしてください。",
    "「簡単操作モード」のチェックを外すと、停止タイマーなどの設定も見えるようになります。",
    nullptr,
};

const char* const kSound[] = {
    "<(;_ _)>●● 音が無い！ ●● \r\n",
    "PCで鳴っている音を録音するには「ステレオミキサー」などの録音デバイスが有効になっている必要があります。",
    "メニューの「説明」→「録音の説明」で設定のしかたを見られます。",
    "録音デバイスの音量が0になっていないかも確かめてください。",
    "メニューの「音」で「音を入れない」にチェックが入っていると音は入りません。",
    nullptr,
};

const char* const kKakukaku[] = {
    "<(;_ _)>●● 動画がカクカクする ●● \r\n",
    "録画する範囲が広いほどPCの負担が大きくなります。範囲を狭くしてみてください。",
    "顔のマークが苦しそうなときは、PCが録画に追いついていません。",
    "圧縮設定で軽いコーデックを選ぶか、ビットレートを下げるとなめらかになることがあります。",
    "「他の設定」の「なめらかモード」を切ると負担が少し減ります。",
    "ローカルディスクの空きが少ないとうまく録画できません。",
    nullptr,
};

const char* const kTech[] = {
    "（‘ v‘）/●● テクニック ●● \r\n",
    "録画中に「静止画」を押すと、その場面の静止画を10枚まで動画と一緒に保存できます。",
    "一時停止中は「プチ巻き戻し」で直前の数秒を取り消せます。",
    "長い録画は30分ごとに自動で次のファイルに分かれます。メニューの「操作」から手で分けることもできます。",
    "停止タイマーを使うと、決めた時間で自動的に録画が止まります。",
    nullptr,
};

const char* const kOther[] = {
    "（‘ v‘）/●● その他 ●● \r\n",
    "設定は「個人設定」フォルダに保存され、次に起動したときに読み込まれます。",
    "Vemtraのフォルダの名前は変えないでください。",
    "録画した動画はVemtra_Editorにドロップして編集できます。",
    nullptr,
};

const char* const* const kTopics[kHelpTopicSuu] = {kUsage, kSound, kKakukaku, kTech, kOther};

}  // namespace

std::string HelpTopicBuild(int topic)
{
    if (topic < 0 || topic >= kHelpTopicSuu) {
        return std::string();
    }
    const char* const* paragraphs = kTopics[topic];
    std::string text = paragraphs[0];
    for (int i = 1; paragraphs[i] != nullptr; ++i) {
        if (i > 1) {
            text += "\r\n";
        }
        text += paragraphs[i];
    }
    return text;
}
