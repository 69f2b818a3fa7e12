#include "recorder/core/busy_faces.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(BusyFaces, BarGrowsByEightyNineTwentiethsPerLevel)
{
    EXPECT_EQ(BusyBarRight(40, 0), 42); // half a step
    EXPECT_EQ(BusyBarRight(40, 1), 44);
    EXPECT_EQ(BusyBarRight(40, 2), 48);
    EXPECT_EQ(BusyBarRight(40, 9), 80);
}

TEST(BusyFaces, FacesAndColours)
{
    EXPECT_EQ(std::string(BusyFaceOf(0).face), "(^ｖ^)");
    EXPECT_EQ(BusyFaceOf(0).red, 0);
    EXPECT_EQ(BusyFaceOf(0).green, 255);
    EXPECT_EQ(std::string(BusyFaceOf(6).face), "(;  -)");
    EXPECT_EQ(BusyFaceOf(6).green, 155);
    EXPECT_EQ(std::string(BusyFaceOf(9).face), "(x  x)");
    EXPECT_EQ(BusyFaceOf(9).green, 0);
}

}  // namespace
