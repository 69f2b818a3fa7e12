// The five topics of the help window, built at start-up from paragraphs.
#pragma once

#include <string>

constexpr int kHelpTopicSuu = 5; // usage, sound, stutter, techniques, other

// The text of topic 0 ... 4: its paragraphs joined with CR LF.
std::string HelpTopicBuild(int topic);
