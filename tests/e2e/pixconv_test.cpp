// Pixconv, the conversion service, driven through the programs' own client
// code by PixconvTestClient.exe: pictures become BMP files, requests are
// bounded, dialogs always answer, WM_DESTROY ends the service.
#include <filesystem>
#include <memory>
#include <sstream>

#include "child_process.h"
#include "e2e_test.h"

using namespace vemtra_e2e;

namespace {

const char kServiceTitle[] = "圧縮ファイルBMP変換だぞ";

// One PixconvTestClient.exe under Wine, spoken to line by line.
class PixconvClient {
 public:
  PixconvClient() {
    const E2eEnv& env = E2eEnv::Get();
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{env.wine(), env.driverDir() + "/PixconvTestClient.exe"}, env.vars(),
        env.artifactsDir() + "/pixconv-client.log");
  }
  ~PixconvClient() {
    if (process_) {
      process_->write("quit\n");
      int status = 0;
      if (!process_->wait(5000, status)) process_->kill();
    }
  }

  // Sends one command (fields joined by tabs) and returns the reply after "ok".
  std::string Call(const std::vector<std::string>& fields, int timeout_ms = 30000) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? "\t" : "") + fields[i];
    if (!process_->write(line + "\n")) throw E2eError("pixconv client: cannot send: " + line);
    std::string reply;
    bool timed_out = false;
    if (!process_->readLine(reply, timeout_ms, timed_out)) {
      throw E2eError("pixconv client: no answer to \"" + line + "\"" + (timed_out ? " (timeout)" : " (ended)"));
    }
    StripCr(reply);
    if (reply.rfind("ok", 0) != 0) throw E2eError("pixconv client: " + reply + " for \"" + line + "\"");
    return reply.size() > 3 ? reply.substr(3) : "";
  }

  // Sends a command whose answer comes later (a dialog), for TakeReply.
  void Send(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? "\t" : "") + fields[i];
    process_->write(line + "\n");
  }
  std::string TakeReply(int timeout_ms) {
    std::string reply;
    bool timed_out = false;
    if (!process_->readLine(reply, timeout_ms, timed_out)) throw E2eError("pixconv client: no late answer");
    StripCr(reply);
    return reply;
  }

 private:
  // The client's console writes text-mode lines.
  static void StripCr(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
  }

  std::unique_ptr<ChildProcess> process_;
};

class PixconvTest : public E2eTest {
 protected:
  void SetUp() override {
    // The driver first: a new driver ends programs left in the work folder,
    // which would include a service the client starts before it.
    driver();
    product_ = std::make_unique<ProductFolder>("Vemtra");
    pictures_ = std::make_unique<TempFolder>();
  }
  void TearDown() override {
    // The service was started by the client, not by the driver: end it here.
    for (const WindowFacts& w : driver().windows()) {
      if (w.title == kServiceTitle && w.cls == "ModelApp") driver().kill(w.pid);
    }
    E2eTest::TearDown();
  }

  std::string Picture(const std::string& name) const { return pictures_->path() + "/" + name; }
  std::string WinPicture(const std::string& name) const { return ToWinPath(Picture(name)); }

  // Makes a test picture with ImageMagick.
  void MakePicture(const std::string& name, const std::vector<std::string>& convertArgs) {
    std::vector<std::string> argv{"convert"};
    argv.insert(argv.end(), convertArgs.begin(), convertArgs.end());
    argv.push_back(Picture(name));
    CommandResult r = RunCommand(argv, 30000, false, true);
    ASSERT_EQ(r.exit_code, 0) << r.output;
  }

  // Pixels of `a` and `b` as ImageMagick decodes them: the count of pixels
  // that differ, and the normalised root-mean-square difference.
  std::pair<long, double> Difference(const std::string& a, const std::string& b) {
    CommandResult ae = RunCommand({"compare", "-metric", "AE", a, b, "null:"}, 30000, false, true);
    CommandResult rmse = RunCommand({"compare", "-metric", "RMSE", a, b, "null:"}, 30000, false, true);
    long differing = -1;
    std::istringstream(ae.output) >> differing;
    double norm = 1.0;
    const size_t open = rmse.output.find('(');
    if (open != std::string::npos) std::istringstream(rmse.output.substr(open + 1)) >> norm;
    return {differing, norm};
  }

  std::string ServiceExe() const { return product_->winFile("部品\\Pixconv.exe"); }

  int ServicePid() {
    for (const WindowFacts& w : driver().windows()) {
      if (w.title == kServiceTitle && w.cls == "ModelApp") return w.pid;
    }
    return 0;
  }

  std::unique_ptr<ProductFolder> product_;
  std::unique_ptr<TempFolder> pictures_;
};

TEST_F(PixconvTest, PicturesOfEveryFormatBecomeBmpFilesWithTheSamePixels) {
  MakePicture("lossless.png", {"-size", "64x48", "gradient:red-blue", "-depth", "8"});
  MakePicture("photo.jpg", {"-size", "80x60", "-seed", "7", "plasma:fractal", "-quality", "90"});
  MakePicture("palette.gif", {"-size", "50x40", "pattern:checkerboard", "-colors", "16"});
  MakePicture("scan.tif", {"-size", "40x30", "gradient:yellow-green", "-depth", "8"});
  PixconvClient client;
  ASSERT_EQ(client.Call({"start", ServiceExe()}), "found");

  struct Case {
    const char* source;
    bool lossless;
  };
  for (const Case& c : {Case{"lossless.png", true}, Case{"photo.jpg", false}, Case{"palette.gif", true},
                        Case{"scan.tif", true}}) {
    SCOPED_TRACE(c.source);
    const std::string out = std::string(c.source) + ".bmp";
    client.Call({"convert", WinPicture(out), WinPicture(c.source)});
    ASSERT_TRUE(PathExists(Picture(out)));
    const auto [differing, rmse] = Difference(Picture(out), Picture(c.source));
    if (c.lossless) {
      EXPECT_EQ(differing, 0);
    } else {
      EXPECT_LT(rmse, 0.01);  // two JPEG decoders round a little differently
    }
    // The service stays findable by its title after a conversion.
    EXPECT_EQ(client.Call({"find"}), "1");
  }
}

TEST_F(PixconvTest, TheSameOutputKeepsTheSecondPictureAndAnUnreadablePictureWritesNothing) {
  MakePicture("red.png", {"-size", "20x20", "xc:red"});
  MakePicture("blue.png", {"-size", "30x10", "xc:blue"});
  WriteFile(Picture("broken.png"), "not a picture");
  PixconvClient client;
  ASSERT_EQ(client.Call({"start", ServiceExe()}), "found");

  client.Call({"convert", WinPicture("out.bmp"), WinPicture("red.png")});
  client.Call({"convert", WinPicture("out.bmp"), WinPicture("blue.png")});
  EXPECT_EQ(Difference(Picture("out.bmp"), Picture("blue.png")).first, 0);

  client.Call({"convert", WinPicture("none.bmp"), WinPicture("broken.png")});
  client.Call({"find"});  // a later request has been handled, so the failed one is over
  EXPECT_FALSE(PathExists(Picture("none.bmp")));
  EXPECT_EQ(ListFolder(pictures_->path()), (std::vector<std::string>{"blue.png", "broken.png", "out.bmp", "red.png"}));
}

TEST_F(PixconvTest, ClientConversionsUseTheProgramsOutputFiles) {
  MakePicture("slide.JPG", {"-size", "16x16", "xc:green"});
  MakePicture("slide.jpeg", {"-size", "16x16", "xc:green"});
  MakePicture("drop.gif", {"-size", "16x16", "xc:white"});
  PixconvClient client;
  client.Call({"cd", product_->winPath()});
  ASSERT_EQ(client.Call({"start", ServiceExe()}), "found");

  // The editor's one output file, the recorder's numbered ones; ".jpeg" is
  // not sent to the service and keeps its path.
  EXPECT_EQ(client.Call({"editor-convert", WinPicture("drop.gif")}), product_->winFile("PXが変換保存.bmp"));
  EXPECT_TRUE(PathExists(product_->file("PXが変換保存.bmp")));
  EXPECT_EQ(client.Call({"slide-convert", "12", WinPicture("slide.JPG")}), product_->winFile("PXが変換保存12.bmp"));
  EXPECT_TRUE(PathExists(product_->file("PXが変換保存12.bmp")));
  EXPECT_EQ(client.Call({"slide-convert", "13", WinPicture("slide.jpeg")}), WinPicture("slide.jpeg"));
  EXPECT_FALSE(PathExists(product_->file("PXが変換保存13.bmp")));
}

TEST_F(PixconvTest, OversizedRequestsAreCutAndTheServiceGoesOn) {
  MakePicture("ok.png", {"-size", "8x8", "xc:red"});
  PixconvClient client;
  ASSERT_EQ(client.Call({"start", ServiceExe()}), "found");
  const std::string window = client.Call({"window"});
  // Far more bytes than any field holds, with and without a final NUL, for
  // every request code that takes a text or bytes.
  const std::string flood(4000, 'A');
  for (const char* code : {"0", "1", "2", "3", window.c_str()}) {
    client.Call({"copydata", code, "5000", flood});
  }
  client.Call({"copydata", "1", "3", "xyz"});  // a filter without its NULs
  EXPECT_EQ(client.Call({"find"}), "1");
  EXPECT_NE(ServicePid(), 0);
  client.Call({"convert", WinPicture("ok.bmp"), WinPicture("ok.png")});
  EXPECT_TRUE(PathExists(Picture("ok.bmp")));
}

TEST_F(PixconvTest, OneRequestSetsReplyWindowAndPathAndACancelledDialogStillAnswers) {
  MakePicture("p.png", {"-size", "8x8", "xc:blue"});
  PixconvClient client;
  ASSERT_EQ(client.Call({"start", ServiceExe()}), "found");
  const std::string window = client.Call({"window"});
  // dwData = the client's window: reply window and output path in one go.
  client.Call({"copydata", window, "260", WinPicture("by-handle.bmp")});
  client.Call({"copydata", "0", "260", "開くテスト"});

  client.Send({"dialog", "0"});
  const int pid = ServicePid();
  ASSERT_NE(pid, 0);
  MessageBoxFacts dialog = driver().waitMessageBox(pid);
  EXPECT_EQ(dialog.title, "開くテスト");
  driver().post(dialog.hwnd, 0x0010 /* WM_CLOSE */, 0, 0);
  EXPECT_EQ(client.TakeReply(30000), "ok reply ");  // the reply came, with an empty path

  // The same request gave the output path: a conversion alone writes there.
  client.Call({"settext", WinPicture("p.png")});
  EXPECT_TRUE(PathExists(Picture("by-handle.bmp")));
}

TEST_F(PixconvTest, WmDestroyEndsTheService) {
  PixconvClient client;
  ASSERT_EQ(client.Call({"start", ServiceExe()}), "found");
  const int pid = ServicePid();
  ASSERT_NE(pid, 0);
  client.Call({"stop"});
  EXPECT_EQ(driver().waitExit(pid), 0);
  EXPECT_EQ(client.Call({"handle"}), "0");
}

TEST_F(PixconvTest, AMissingServiceIsGivenUpAndNoRequestReachesAnotherWindow) {
  MakePicture("p.png", {"-size", "8x8", "xc:blue"});
  std::filesystem::remove(product_->file("部品/Pixconv.exe"));
  // A bystander window that would show any WM_SETTEXT in its title.
  ProductFolder bystander_folder("VemtraTest");
  const int bystander = driver().start(ToWinPath(E2eEnv::Get().testWindowExe()), bystander_folder.winPath());
  const Hwnd bystander_window = driver().waitWindow("", "", bystander);
  const std::string title = driver().text(bystander_window);

  PixconvClient client;
  EXPECT_EQ(client.Call({"start", ServiceExe()}, 60000), "notfound");
  EXPECT_EQ(client.Call({"handle"}), "0");
  client.Call({"convert", WinPicture("p.bmp"), WinPicture("p.png")});
  client.Call({"stop"});
  EXPECT_FALSE(PathExists(Picture("p.bmp")));
  EXPECT_EQ(driver().text(bystander_window), title);
  EXPECT_TRUE(driver().running(bystander));
}

}  // namespace
