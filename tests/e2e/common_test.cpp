// The shared Win32 code under Wine, through CommonCheck.exe run in a product
// folder: file-backed pictures and buffers, the checker patterns, settings
// files read and written with Japanese names, WAV files.
#include <algorithm>
#include <filesystem>
#include <sstream>

#include "child_process.h"
#include "e2e_test.h"

using namespace vemtra_e2e;

namespace {

class CommonTest : public E2eTest {
 protected:
  CommonTest() : folder_("Vemtra") {}

  // Runs CommonCheck with the product folder as its current directory.
  std::string Check(const std::vector<std::string>& args) {
    const E2eEnv& env = E2eEnv::Get();
    std::string command = "cd '" + folder_.path() + "' && exec '" + env.wine() + "' '" + env.driverDir() +
                          "/CommonCheck.exe'";
    for (const std::string& a : args) command += " '" + a + "'";
    CommandResult r = RunCommand({"sh", "-c", command}, 60000);
    EXPECT_EQ(r.exit_code, 0) << command << "\n" << r.output;
    std::string out = r.output;
    out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
    return out;
  }

  // The RGB bytes of a picture region as ImageMagick decodes it.
  static std::string Rgb(const std::string& picture, const std::string& crop) {
    CommandResult r = RunCommand({"convert", picture, "-crop", crop, "+repage", "-depth", "8", "rgb:-"}, 30000, false);
    EXPECT_EQ(r.exit_code, 0);
    return r.output;
  }

  ProductFolder folder_;
};

TEST_F(CommonTest, FileBackedObjectsFollowTheirCreateAndDeleteRules) {
  std::istringstream lines(Check({"fsfm"}));
  std::string line;
  int cases = 0;
  while (std::getline(lines, line)) {
    ++cases;
    EXPECT_NE(line.find(" ok"), std::string::npos) << line;
  }
  EXPECT_GT(cases, 0);
}

TEST_F(CommonTest, CheckerPatternsAreWrittenAsTheEditorDrawsThem) {
  Check({"patterns"});
  const std::string p0 = folder_.file("RgnCheckPatBmp0.bmp");
  const std::string p1 = folder_.file("RgnCheckPatBmp1.bmp");
  const MediaFacts f0 = ProbeMedia(p0);
  const MediaFacts f1 = ProbeMedia(p1);
  EXPECT_EQ(f0.first("video").width, 854);
  EXPECT_EQ(f0.first("video").height, 480);
  EXPECT_EQ(f1.first("video").width, 851);
  EXPECT_EQ(f1.first("video").height, 480);
  EXPECT_EQ(Rgb(p0, "3x3+0+0"), std::string(27, '\xFF'));   // top left 3 x 3 white
  EXPECT_EQ(Rgb(p0, "3x3+3+0"), std::string(27, '\0'));     // black to its right
  EXPECT_EQ(Rgb(p0, "3x3+0+3"), std::string(27, '\0'));     // and below it
  // The band picture's lowest row is the checkerboard's lowest row without
  // its last three pixels.
  EXPECT_EQ(Rgb(p1, "851x1+0+479"), Rgb(p0, "851x1+0+479"));
  EXPECT_EQ(std::filesystem::file_size(p0), 54u + 480u * (854u * 3 + 2));
}

TEST_F(CommonTest, SettingsFilesReadByLineAndWrittenWhole) {
  std::filesystem::create_directories(folder_.file("個人設定"));
  WriteFile(folder_.file("個人設定/MainWnd.txt"), "12\r\n34");
  WriteFile(folder_.file("個人設定/lf.txt"), "5\n\n7");
  WriteFile(folder_.file("個人設定/tab.txt"), "C:\\a\tb\r\n");
  struct Case {
    const char* file;
    const char* index;
    const char* line;
  };
  for (const Case& c : {Case{"個人設定\\MainWnd.txt", "1", "34"}, Case{"個人設定\\MainWnd.txt", "2", ""},
                        Case{"個人設定\\lf.txt", "1", "7"}, Case{"個人設定\\tab.txt", "0", "C:\\ab"},
                        Case{"個人設定\\無い.txt", "0", "<untouched>"}}) {
    EXPECT_EQ(Check({"readline", c.file, c.index}), std::string(c.line) + "\n") << c.file << " " << c.index;
  }

  EXPECT_EQ(Check({"write", "個人設定\\ＲＥＣタイマー.txt", "-120"}), "4\n");
  EXPECT_EQ(ReadFile(folder_.file("個人設定/ＲＥＣタイマー.txt")), "-120");
  EXPECT_EQ(Check({"readline", "個人設定\\ＲＥＣタイマー.txt", "0"}), "-120\n");
}

TEST_F(CommonTest, WaveFilesHaveTheirHeaderAndPadByte) {
  Check({"wave", "stereo.wav", "88200", "2", "0"});
  const std::string stereo = folder_.file("stereo.wav");
  EXPECT_EQ(std::filesystem::file_size(stereo), 88244u);
  const StreamFacts audio = ProbeMedia(stereo).first("audio");
  EXPECT_EQ(audio.codec, "pcm_s16le");
  EXPECT_EQ(audio.sample_rate, 44100);
  EXPECT_EQ(audio.channels, 2);
  EXPECT_NEAR(audio.duration, 0.5, 0.001);

  Check({"wave", "odd.wav", "5", "1", "22050"});
  const std::string odd = ReadFile(folder_.file("odd.wav"));
  ASSERT_EQ(odd.size(), 50u);
  EXPECT_EQ(odd.substr(40, 4), std::string("\x05\0\0\0", 4));
  EXPECT_EQ(odd.substr(4, 4), std::string("\x29\0\0\0", 4));
  EXPECT_EQ(odd[49], '\0');
}

}  // namespace
