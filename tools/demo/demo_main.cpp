// The headless demo: starts the recorder from a fresh product folder on the
// virtual screen beside a moving test scene while a tone plays into the
// sound sink, selects the scene as the range, records about ten seconds,
// stops with Esc, and shows what was delivered: the files, an ffprobe
// summary of each, and a contact sheet of the recorded frames.
//
//   vemtra_demo <output folder>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <thread>

#include "child_process.h"
#include "driver.h"
#include "e2e_env.h"
#include "e2e_error.h"
#include "product_folder.h"
#include "recorder_ids.h"
#include "recorder_steps.h"
#include "screenshot.h"
#include "sound_helpers.h"
#include "wine_paths.h"

namespace fs = std::filesystem;
using namespace vemtra_e2e;

namespace {

constexpr int kWmClose = 0x0010;
constexpr int kLongMs = 120000;
// Where the scene window stands (tests/scene).
constexpr int kSceneX = 100, kSceneY = 100, kSceneW = 480, kSceneH = 300;

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void WaitFor(const std::function<bool()>& done, const std::string& what)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLongMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            throw E2eError("timed out waiting for " + what);
        }
        Sleep(200);
    }
}

// A fresh copy of the built product folder at <out>/Vemtra, with the
// built-in screen codec chosen.
std::string FreshProductFolder(const fs::path& out)
{
    const fs::path product = out / "Vemtra";
    fs::remove_all(product);
    fs::create_directories(out);
    fs::copy(E2eEnv::Get().productDir(), product, fs::copy_options::recursive);
    fs::create_directories(product / "個人設定");
    std::string record(64, '\0');
    record[0] = 64;
    record.replace(16, 4, "ZMBV");
    FILE* f = std::fopen((product / "個人設定" / "CompData.txt").c_str(), "wb");
    if (f != nullptr) {
        std::fwrite(record.data(), 1, record.size(), f);
        std::fclose(f);
    }
    return product.string();
}

void Summary(const fs::path& file)
{
    std::cout << "\n" << file.string() << " (" << fs::file_size(file) << " bytes)\n";
    const CommandResult r = RunCommand({"ffprobe", "-v", "error", "-show_entries",
                                        "stream=codec_type,codec_name,width,height,r_frame_rate,nb_frames,duration,"
                                        "sample_rate,channels",
                                        "-of", "compact", file.string()},
                                       60000, false, true);
    std::cout << r.output;
}

std::string ContactSheet(const fs::path& avi, const fs::path& out)
{
    const fs::path sheet = out / (avi.stem().string() + "-contact-sheet.png");
    const CommandResult r = RunCommand({"ffmpeg", "-v", "error", "-y", "-i", avi.string(), "-vf",
                                        "fps=1,scale=272:-1,tile=4x3:padding=4:color=white", "-frames:v", "1",
                                        sheet.string()},
                                       120000, false, true);
    if (r.exit_code != 0) {
        std::cout << r.output;
        return "";
    }
    return sheet.string();
}

int Run(const fs::path& out)
{
    const std::string product = FreshProductFolder(out);
    const fs::path results = out / "results";
    fs::remove_all(results);
    fs::create_directories(results);
    const std::string tone = (out / "tone.wav").string();
    WriteToneWav(tone, 880, 40, 2);

    Driver driver;
    driver.start(ToWinPath(E2eEnv::Get().driverDir() + "/VemtraScene.exe"), ToWinPath(product));
    driver.waitWindow("VemtraScene", "VemtraScene", 0, 30000);
    SinkPlayer player(tone);

    std::cout << "starting the recorder in " << product << "\n";
    const int pid = driver.start(ToWinPath(product + "/Vemtra.exe"), ToWinPath(product));
    const Hwnd main = driver.waitWindow("NORMAL0", "Vemtra_Free", pid, 60000);
    WaitFor([&] { return fs::exists(fs::path(product) / "ファイルマップフォルダ" / "BusyMeterBmpCreate11.txt"); },
            "the recorder's start-up work");
    driver.setText(main, kIdSaveFolder, ToWinPath(results.string()));

    std::cout << "selecting the range (" << kSceneX << ", " << kSceneY << ")-(" << kSceneX + kSceneW << ", "
              << kSceneY + kSceneH << ")\n";
    driver.click(main, kIdHanniShitei);
    const Hwnd hanni = driver.waitWindow("NORMAL1", "Vemtra", pid, 30000);
    driver.drag(kSceneX, kSceneY, kSceneX + kSceneW, kSceneY + kSceneH, 12);
    const MessageBoxFacts box = driver.waitMessageBox(pid, 30000);
    driver.answer(box.hwnd, kIdNo);
    driver.waitGone(hanni, 30000);
    WaitFor([&] { return fs::exists(fs::path(product) / "Video0.avi"); }, "the standby capture");
    WaitFor([&] { return driver.state(main, kIdRokuga).visible; }, "録画！");

    std::cout << "recording about ten seconds\n";
    PressRecord(driver, main, product, kLongMs);
    Sleep(10000);
    TakeScreenshot((out / "recording.png").string());
    std::cout << "stopping with Esc\n";
    driver.key("ESC");
    WaitFor([&] { return !fs::exists(fs::path(product) / "Video1.avi"); }, "the finalisation");
    WaitFor([&] { return driver.state(main, kIdRokuga).visible; }, "the end of the finalisation");

    driver.post(main, kWmClose, 0, 0);
    const int code = driver.waitExit(pid, 60000);

    std::cout << "\nthe recording delivered:\n";
    int avis = 0;
    for (const auto& entry : fs::directory_iterator(results)) {
        Summary(entry.path());
        if (entry.path().extension() == ".avi") {
            ++avis;
            const std::string sheet = ContactSheet(entry.path(), out);
            if (!sheet.empty()) {
                std::cout << "contact sheet (one frame per second): " << sheet << "\n";
            }
        }
    }
    std::cout << "\nscreen while recording: " << (out / "recording.png").string() << "\n";
    std::cout << "the recorder ended with exit code " << code << "\n";
    return code == 0 && avis > 0 ? 0 : 1;
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
