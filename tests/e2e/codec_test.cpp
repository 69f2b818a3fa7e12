// The screen codec on Windows: the same frames written uncompressed, by the
// programs' own compressed streams, and by the codec manager through the
// codec's driver procedure, all decode in ffmpeg to the same pictures.
#include "child_process.h"
#include "e2e_test.h"

using namespace vemtra_e2e;

namespace {

class CodecTest : public E2eTest {};

TEST_F(CodecTest, EveryCodecPathGivesTheSameFramesInFfmpeg) {
  TempFolder out;
  const E2eEnv& env = E2eEnv::Get();
  CommandResult r = RunCommand(
      {env.wine(), env.driverDir() + "/CodecCheck.exe", "write", ToWinPath(out.path()), "322", "242", "45"}, 120000,
      true, true);
  ASSERT_EQ(r.exit_code, 0) << r.output;

  const std::vector<std::string> raw = FrameMd5s(out.path() + "/raw.avi");
  ASSERT_EQ(raw.size(), 45u);
  for (const char* name : {"builtin.avi", "manager.avi", "unpacked.avi"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(FrameMd5s(out.path() + "/" + name), raw);
  }
  for (const char* name : {"builtin.avi", "manager.avi"}) {
    SCOPED_TRACE(name);
    const MediaFacts facts = ProbeMedia(out.path() + "/" + name, true);
    const StreamFacts& video = facts.first("video");
    EXPECT_EQ(video.codec, "zmbv");
    EXPECT_EQ(video.width, 322);
    EXPECT_EQ(video.height, 242);
    EXPECT_EQ(video.frames, 45);
    EXPECT_EQ(video.read_frames, 45);
    EXPECT_NEAR(video.duration, 1.5, 0.001);
    // ffprobe has nothing to complain about.
    CommandResult warnings = RunCommand({"ffprobe", "-v", "warning", out.path() + "/" + name}, 30000, false, true);
    EXPECT_EQ(warnings.output.find("arning"), std::string::npos) << warnings.output;
  }
}

}  // namespace
