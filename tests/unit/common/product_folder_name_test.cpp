#include "common/core/product_folder_name.h"

#include <gtest/gtest.h>

namespace {

const char* const kRecorder[] = {"Vemtra", "Vemtra_Free"};
const char* const kEditor[] = {"Vemtra", "Vemtra_Free", "Vemtra_Editor", "Vemtra_Editor_Free"};

struct FolderCase {
    const char* dir;
    bool recorder;
    bool editor;
};

TEST(ProductFolderNameAccepted, ComparesTheTailOfThePath)
{
    const FolderCase cases[] = {
        {"C:\\Program Files\\Vemtra", true, true},
        {"C:\\Tools\\Vemtra_Free", true, true},
        {"C:\\Tools\\Vemtra_Editor", false, true},
        {"C:\\Tools\\Vemtra_Editor_Free", false, true},
        {"C:\\Tools\\MyVemtra", true, true},           // no separator needed in front
        {"C:\\Tools\\vemtra", false, false},           // case matters
        {"C:\\Tools\\VEMTRA", false, false},
        {"C:\\Tools\\Vemtra\\sub", false, false},
        {"C:\\Tools\\Vemtra\\", false, false},
        {"Vemtr", false, false},                       // shorter than every name
        {"", false, false},
    };
    for (const FolderCase& c : cases) {
        EXPECT_EQ(ProductFolderNameAccepted(c.dir, kRecorder, 2), c.recorder) << c.dir;
        EXPECT_EQ(ProductFolderNameAccepted(c.dir, kEditor, 4), c.editor) << c.dir;
    }
}

}  // namespace
