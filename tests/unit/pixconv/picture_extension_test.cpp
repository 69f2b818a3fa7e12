#include "common/core/picture_extension.h"

#include <gtest/gtest.h>

namespace {

TEST(PixconvWantsExtension, JpgGifPngInAnyCaseOnly)
{
    struct Case {
        const char* path;
        bool sent;
    };
    const Case cases[] = {
        {"C:\\a\\slide.jpg", true},  {"C:\\a\\slide.JPG", true},  {"x.Gif", true},  {"x.png", true},
        {"C:\\a\\slide.jpeg", false}, {"x.bmp", false},          {"x.tif", false},  {"x.tiff", false},
        {"noextension", false},      {"C:\\dir.jpg\\file", false}, {"x.jpg.bmp", false}, {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PixconvWantsExtension(c.path), c.sent) << c.path;
    }
}

}  // namespace
