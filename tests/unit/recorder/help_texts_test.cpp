#include "recorder/core/help_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(HelpTexts, EveryTopicBeginsWithItsHeading)
{
    const char* const headings[kHelpTopicSuu] = {
        "（‘ v‘）/●● 使い方 ●● このウィンドウは動画の上にかぶらない位置に移動させて形を調節して使えます。\r\n",
        "<(;_ _)>●● 音が無い！ ●● \r\n",
        "<(;_ _)>●● 動画がカクカクする ●● \r\n",
        "（‘ v‘）/●● テクニック ●● \r\n",
        "（‘ v‘）/●● その他 ●● \r\n",
    };
    for (int topic = 0; topic < kHelpTopicSuu; ++topic) {
        const std::string text = HelpTopicBuild(topic);
        const std::string heading = headings[topic];
        ASSERT_GT(text.size(), heading.size()) << topic;
        EXPECT_EQ(text.substr(0, heading.size()), heading) << topic;
        EXPECT_NE(text.substr(text.size() - 2), "\r\n") << topic; // paragraphs are joined, not ended
        EXPECT_NE(text.find("\r\n", heading.size()), std::string::npos) << topic;
    }
}

TEST(HelpTexts, NoTopicOutsideTheFive)
{
    EXPECT_EQ(HelpTopicBuild(-1), "");
    EXPECT_EQ(HelpTopicBuild(kHelpTopicSuu), "");
}

}  // namespace
