// A recording whose scratch volume fills up: the product folder lies on a
// small tmpfs (its file-map folder, which holds the ring and the sound
// buffers, stays on the ordinary disk through a link). When the video file
// can take no more, the recording splits, the next file cannot take its
// first frame, the recording stops, and what was recorded before is
// delivered whole into the output folder.
#include <sys/mount.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <thread>

#include "recorder_e2e.h"

using namespace vemtra_e2e;
namespace fs = std::filesystem;

namespace {

constexpr int kSceneX = 100, kSceneY = 100, kSceneW = 480, kSceneH = 300;

class SmallVolume {
 public:
  explicit SmallVolume(long long bytes) {
    path_ = E2eEnv::Get().workDir() + "/full-" + std::to_string(::getpid());
    fs::create_directories(path_);
    const std::string options = "size=" + std::to_string(bytes);
    mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallVolume() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  bool mounted() const { return mounted_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool mounted_ = false;
};

long long FolderBytes(const std::string& path) {
  long long sum = 0;
  for (const auto& e : fs::recursive_directory_iterator(path))
    if (e.is_regular_file()) sum += static_cast<long long>(e.file_size());
  return sum;
}

class RecorderFullDiskTest : public RecorderE2eTest {};

TEST_F(RecorderFullDiskTest, AFullVolumeStopsTheRecordingAndWhatWasRecordedIsDelivered) {
  const std::string product = E2eEnv::Get().productDir();
  // Room for the programs, the settings, the 2 MB the recorder keeps in
  // reserve and about a megabyte of video.
  SmallVolume volume(FolderBytes(product) + 3 * 1024 * 1024);
  if (!volume.mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
  const std::string folder = volume.path() + "/Vemtra";
  fs::copy(product, folder, fs::copy_options::recursive);
  TempFolder fileMap, out;
  fs::create_directory_symlink(fileMap.path(), folder + "/ファイルマップフォルダ");
  fs::create_directories(folder + "/個人設定");
  std::string record(64, '\0');
  record[0] = 64;
  record.replace(16, 4, "ZMBV");
  WriteFile(folder + "/個人設定/CompData.txt", record);

  driver().start(ToWinPath(E2eEnv::Get().driverDir() + "/VemtraScene.exe"), ToWinPath(folder));
  driver().waitWindow("VemtraScene", "VemtraScene", 0, 30000);
  const int pid = driver().start(ToWinPath(folder + "/Vemtra.exe"), ToWinPath(folder));
  const Hwnd main = driver().waitWindow("NORMAL0", "Vemtra_Free", pid, 60000);
  WaitForPathWhileRunning(fileMap.path() + "/BusyMeterBmpCreate11.txt", pid, 60000);
  driver().setText(main, kIdSaveFolder, ToWinPath(out.path()));
  driver().setText(main, 1013, "full");
  driver().click(main, kIdHanniShitei);
  const Hwnd hanni = driver().waitWindow("NORMAL1", "Vemtra", pid, 30000);
  driver().drag(kSceneX, kSceneY, kSceneX + kSceneW, kSceneY + kSceneH, 12);
  driver().answer(driver().waitMessageBox(pid, 30000).hwnd, kIdNo);
  driver().waitGone(hanni, 30000);
  WaitForPathWhileRunning(folder + "/Video0.avi", pid, 120000);
  PressRecord(driver(), main, folder, 120000);

  // Nothing stops the recording but the full volume. Whatever the recorder
  // says meanwhile is answered and kept.
  std::vector<std::string> said;
  WaitUntil(
      [&] {
        try {
          MessageBoxFacts box = driver().waitMessageBox(pid, 200);
          std::cout << "message box \"" << box.title << "\": " << box.text << "\n";
          said.push_back(box.title + ": " + box.text);
          driver().answer(box.hwnd, box.buttons.front().first);
        } catch (const E2eError&) {
        }
        return PathExists(out.path() + "/full.avi") && !PathExists(folder + "/Video1.avi") &&
               driver().state(main, kIdRokuga).visible;
      },
      180000, "the recording to stop by itself and deliver full.avi");

  EXPECT_EQ(said, (std::vector<std::string>{
                      "<(;_ _)>: 保存先のディスクがいっぱいになったので録画を停止しました。\r\nそれまでに録画した分は保存します。"}));
  EXPECT_EQ(ListFolder(out.path()), (std::vector<std::string>{"full.avi", "fulls1.wav"}));
  MediaFacts m = ProbeMedia(out.path() + "/full.avi", true);
  const StreamFacts& v = m.first("video");
  const StreamFacts& a = m.first("audio");
  EXPECT_EQ(v.codec, "zmbv");
  EXPECT_GT(v.read_frames, 30) << "seconds of video reached the file before the volume was full";
  EXPECT_EQ(v.read_frames, v.frames) << "every frame of the index decodes";
  EXPECT_NEAR(a.duration, v.duration, 1.0 / 30);
  EXPECT_NEAR(ProbeMedia(out.path() + "/fulls1.wav").duration, v.duration, 1.0 / 30);
  driver().post(main, kWmClose, 0, 0);
  EXPECT_EQ(driver().waitExit(pid, 60000), 0);
}

}  // namespace
