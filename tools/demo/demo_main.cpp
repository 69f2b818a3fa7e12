// The headless demo: starts the recorder from a fresh product folder on the
// virtual screen, takes a picture of the screen, closes the recorder the way
// a user does and shows what it left behind.
//
//   vemtra_demo <output folder>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "driver.h"
#include "e2e_env.h"
#include "e2e_error.h"
#include "product_folder.h"
#include "screenshot.h"
#include "wine_paths.h"

namespace fs = std::filesystem;
using namespace vemtra_e2e;

namespace {

constexpr int kWmClose = 0x0010;

// A fresh copy of the built product folder at <out>/Vemtra.
std::string FreshProductFolder(const fs::path& out)
{
    const fs::path product = out / "Vemtra";
    fs::remove_all(product);
    fs::create_directories(out);
    fs::copy(E2eEnv::Get().productDir(), product, fs::copy_options::recursive);
    return product.string();
}

void ListFiles(const fs::path& folder)
{
    if (!fs::exists(folder)) {
        return;
    }
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            std::cout << "  " << entry.path().string() << " (" << entry.file_size() << " bytes)\n";
        }
    }
}

int Run(const fs::path& out)
{
    const std::string product = FreshProductFolder(out);
    Driver driver;
    std::cout << "starting the recorder in " << product << "\n";
    const int pid = driver.start(ToWinPath(product + "/Vemtra.exe"), ToWinPath(product));
    const Hwnd main = driver.waitWindow("NORMAL0", "Vemtra_Free", pid, 60000);

    const std::string shot = (out / "recorder.png").string();
    TakeScreenshot(shot);
    std::cout << "screenshot of the recorder: " << shot << "\n";

    // Closing the main window saves the settings.
    driver.post(main, kWmClose, 0, 0);
    const int code = driver.waitExit(pid, 60000);
    std::cout << "the recorder ended with exit code " << code << "\n";
    std::cout << "settings it wrote:\n";
    ListFiles(fs::path(product) / "個人設定");
    return code == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: vemtra_demo <output folder>\n";
        return 2;
    }
    try {
        return Run(fs::absolute(argv[1]));
    } catch (const E2eError& e) {
        std::cerr << "demo failed: " << e.what() << "\n";
        return 1;
    }
}
