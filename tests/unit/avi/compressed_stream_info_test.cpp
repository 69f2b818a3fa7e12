#include "common/avi/compressed_stream_info.h"

#include <gtest/gtest.h>

namespace vemtra::avi {
namespace {

struct RateCase {
  double fps;
  uint32_t scale, rate;
};

TEST(RecorderStreamRate, GivesTheLargestScaleOfTheStepsThatFits) {
  const RateCase cases[] = {
      {30.0, 8945455, 268363650},
      {60.0, 4465455, 267927300},
  };
  for (const auto& c : cases) {
    StreamRate r = RecorderStreamRate(c.fps);
    EXPECT_EQ(r.dwScale, c.scale) << c.fps;
    EXPECT_EQ(r.dwRate, c.rate) << c.fps;
    // The next larger step would pass the limit; this one does not.
    EXPECT_LE(double(r.dwScale) * c.fps, 268435456.0);
    EXPECT_GT(double(r.dwScale + 10000) * c.fps, 268435456.0);
    EXPECT_EQ((268435455u - r.dwScale) % 10000u, 0u);
  }
}

TEST(RecorderStreamRate, StaysPositiveForAnyRate) {
  for (double fps : {0.0, -5.0, 1e5, 1e9}) {
    StreamRate r = RecorderStreamRate(fps);
    if (r.dwRate != 0) {
      EXPECT_GT(r.dwScale, 0u) << fps;
    }
  }
}

TEST(EditorStreamRate, RoundsTheRateToSinglePrecision) {
  const RateCase cases[] = {
      {60.0, 16777215, 1006632896},
      {30.0, 16777215, 503316448},
  };
  for (const auto& c : cases) {
    StreamRate r = EditorStreamRate(static_cast<float>(c.fps));
    EXPECT_EQ(r.dwScale, c.scale) << c.fps;
    EXPECT_EQ(r.dwRate, c.rate) << c.fps;
  }
}

TEST(CompressedStreamInfo, FillsTheVideoStreamFields) {
  StreamInfo si = CompressedStreamInfo(MakeFourCC("ZMBV"), 854, 480, EditorStreamRate(60.0f));
  EXPECT_EQ(si.fccType, MakeFourCC("vids"));
  EXPECT_EQ(FourCCText(si.fccHandler), "ZMBV");
  EXPECT_EQ(si.dwLength, 475200u);
  EXPECT_EQ(si.rcFrame.left, 0);
  EXPECT_EQ(si.rcFrame.top, 0);
  EXPECT_EQ(si.rcFrame.right, 854);
  EXPECT_EQ(si.rcFrame.bottom, 480);
  EXPECT_EQ(si.dwScale, 16777215u);
  EXPECT_EQ(si.dwRate, 1006632896u);
  EXPECT_EQ(si.dwSampleSize, 0u);
  EXPECT_EQ(si.dwQuality, 0u);
}

}  // namespace
}  // namespace vemtra::avi
