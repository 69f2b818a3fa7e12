// The capture range under Wine: "範囲指定" freezes the screen in the range
// window, a drag in either direction gives the same range, ranges below
// 100 pixels are refused and the selection stays open, the recording frame
// stands around the chosen range, moving its top bar moves the range, and
// the range window's buttons and "Hanni.txt" follow their rules.
#include <sstream>

#include "recorder_e2e.h"

using namespace vemtra_e2e;

namespace {

constexpr unsigned kDarkBlue = 0x0000A0;
constexpr unsigned kWmNcLButtonDown = 0x00A1;
constexpr long long kHtCaption = 2;

struct Range {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Range& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

std::ostream& operator<<(std::ostream& os, const Range& r) {
  return os << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

class RecorderRangeTest : public RecorderE2eTest {
 protected:
  // The preparation after a drag needs a codec choice ("CompData.txt").
  Recorder StartWithCodec(const ProductFolder& folder) {
    std::string record(64, '\0');
    record[0] = 64;
    record.replace(16, 4, "ZMBV");
    WriteSetting(folder, "CompData.txt", record);
    return Start(folder);
  }

  // "範囲指定": the range window appears over the whole screen.
  Hwnd SelectionStart(const Recorder& run) {
    driver().click(run.main, kIdHanniShitei);
    return driver().waitWindow("NORMAL1", "Vemtra", run.pid, 30000);
  }

  // Drags the diagonal and answers the aspect question with "no"; returns
  // when the recording frame stands around the new range.
  Range Select(const Recorder& run, int x1, int y1, int x2, int y2) {
    Hwnd hanni = SelectionStart(run);
    driver().drag(x1, y1, x2, y2, 12);
    MessageBoxFacts box = driver().waitMessageBox(run.pid, 30000);
    EXPECT_TEXT_EQ(box.title, "変更の保存");
    EXPECT_TEXT_EQ(box.text, "アス比（縦横比）を変えたり拡大縮小したりしますか？");
    driver().answer(box.hwnd, kIdNo);
    driver().waitGone(hanni, 30000);
    driver().waitWindow("NORMAL0", "Vemtra_Free", run.pid, 30000);
    driver().waitWindow("NORMAL11", "", run.pid, 30000);
    return FrameRange(run);
  }

  // The range as the four frame windows enclose it.
  Range FrameRange(const Recorder& run) {
    Rect top = driver().rect(Frame(run, "NORMAL8"));
    Rect left = driver().rect(Frame(run, "NORMAL9"));
    Rect right = driver().rect(Frame(run, "NORMAL10"));
    Rect bottom = driver().rect(Frame(run, "NORMAL11"));
    // The edges are as thick as one border; the top bar covers the caption.
    EXPECT_EQ(left.width(), right.width());
    EXPECT_EQ(bottom.height(), left.width());
    EXPECT_EQ(top.left, left.left);
    EXPECT_GE(top.right, right.right) << "a window with a caption may not get narrower";
    EXPECT_EQ(top.top, left.top);
    EXPECT_EQ(bottom.bottom, left.bottom) << "the edges reach down to the bottom edge";
    EXPECT_EQ(bottom.left, left.left);
    EXPECT_EQ(bottom.right, right.right);
    return Range{left.right, top.bottom, right.left, bottom.top};
  }

  Hwnd Frame(const Recorder& run, const std::string& cls) {
    for (const WindowFacts& w : driver().windows(run.pid)) {
      if (w.cls == cls) return w.hwnd;
    }
    ADD_FAILURE() << "no window " << cls;
    return 0;
  }

  bool Visible(const Recorder& run, const std::string& cls) {
    for (const WindowFacts& w : driver().windows(run.pid)) {
      if (w.cls == cls) return w.visible;
    }
    return false;
  }
};

TEST_F(RecorderRangeTest, SelectionFreezesTheWholeScreenUnderTheInstruction) {
  ProductFolder folder("Vemtra");
  Recorder run = StartWithCodec(folder);
  // The help window is a dark blue patch on the screen; frozen, it stays in
  // the picture after the window itself is hidden.
  driver().command(run.main, 1050);
  Hwnd help = driver().waitWindow("NORMAL2", "", run.pid);
  Rect helpRect = driver().rect(help);
  const int px = helpRect.left + 20;
  const int py = helpRect.bottom - 20;
  WaitUntil([&] { return PixelAt(SaveScreenshot("help"), px, py) == kDarkBlue; }, 10000, "the help window is drawn");

  Hwnd hanni = SelectionStart(run);
  EXPECT_FALSE(driver().state(run.main).visible) << "the main window hides";
  driver().command(help, 1071);  // "閉じる"
  driver().waitGone(help);

  // Client coordinates are screen coordinates; the window covers the screen.
  const auto [sw, sh] = driver().screenSize();
  Rect client = driver().clientRect(hanni);
  EXPECT_EQ(client.left, 0);
  EXPECT_EQ(client.top, 0);
  EXPECT_GE(client.right, sw);
  EXPECT_GE(client.bottom, sh);

  std::string png;
  WaitUntil([&] {
    png = SaveScreenshot("frozen");
    return PixelAt(png, px, py) == kDarkBlue;
  }, 10000, "the frozen picture keeps the hidden help window");
  // The instruction: black on white, centred on the picture (screen + 200).
  const int cy = (sh + 200) / 2;
  bool white = false;
  bool black = false;
  for (int x = (sw + 200) / 2 - 300; x < (sw + 200) / 2 + 300; x += 7) {
    const unsigned p = PixelAt(png, x, cy);
    white = white || p == 0xFFFFFF;
    black = black || p == 0x000000;
  }
  EXPECT_TRUE(white && black) << "instruction text in " << png;
  std::cerr << "[e2e] frozen screen with the instruction: " << png << "\n";

  driver().click(hanni, kIdHanniCancel);
  driver().waitGone(hanni);
  driver().waitWindow("NORMAL0", "Vemtra_Free", run.pid);
  EXPECT_FALSE(driver().state(run.main, kIdRokuga).visible) << "no range, no recording";
  Close(run);
}

TEST_F(RecorderRangeTest, DragInEitherDirectionGivesTheSameRange) {
  ProductFolder folder("Vemtra");
  Recorder run = StartWithCodec(folder);
  const Range expected{300, 200, 700, 500};
  EXPECT_EQ(Select(run, 300, 200, 700, 500), expected) << "top-left to bottom-right";
  EXPECT_TRUE(driver().state(run.main, kIdRokuga).visible) << "録画！ is offered";
  EXPECT_EQ(Select(run, 700, 500, 300, 200), expected) << "bottom-right to top-left";
  EXPECT_EQ(Select(run, 700, 200, 300, 500), expected) << "top-right to bottom-left";
  for (const char* cls : {"NORMAL8", "NORMAL9", "NORMAL10", "NORMAL11"}) {
    EXPECT_TRUE(Visible(run, cls)) << cls;
  }
  Close(run);
}

TEST_F(RecorderRangeTest, NinetyNinePixelsAreRefusedAndTheSelectionStaysOpen) {
  ProductFolder folder("Vemtra");
  Recorder run = StartWithCodec(folder);
  struct Drag {
    int w, h;
  };
  for (Drag d : {Drag{99, 300}, Drag{300, 99}}) {
    Hwnd hanni = SelectionStart(run);
    driver().drag(400, 300, 400 + d.w, 300 + d.h, 12);
    MessageBoxFacts box = driver().waitMessageBox(run.pid, 30000);
    EXPECT_TEXT_EQ(box.title, "Vemtra_Free");
    EXPECT_TEXT_EQ(box.text, "（;‘ o‘）/範囲が小さすぎます。\r\nやり直してください。");
    driver().answer(box.hwnd, 1);
    // The frozen screen is back for the next drag; nothing was chosen.
    WaitUntil([&] { return driver().state(hanni).visible; }, 10000, "the range window comes back");
    EXPECT_FALSE(driver().state(run.main, kIdRokuga).visible) << d.w << " x " << d.h;
    EXPECT_FALSE(Visible(run, "NORMAL8"));
    driver().click(hanni, kIdHanniCancel);
    driver().waitGone(hanni);
  }
  EXPECT_EQ(Select(run, 400, 300, 500, 400), (Range{400, 300, 500, 400})) << "100 x 100 is accepted";
  Close(run);
}

TEST_F(RecorderRangeTest, MovingTheTopBarMovesTheRange) {
  ProductFolder folder("Vemtra");
  Recorder run = StartWithCodec(folder);
  const Range chosen = Select(run, 400, 300, 800, 600);
  ASSERT_EQ(chosen, (Range{400, 300, 800, 600}));
  Rect bar = driver().rect(Frame(run, "NORMAL8"));
  Rect barClient = driver().clientRect(Frame(run, "NORMAL8"));
  // Drag the bar by its caption. Without a window manager the caption is
  // not on the X screen, so the press on it is the message the system sends
  // for it (WM_NCLBUTTONDOWN, HTCAPTION); the button and the moves are real.
  const int gx = bar.centerX();
  const int gy = (bar.top + barClient.top) / 2;
  driver().mouseMove(gx, gy);
  driver().mouseDown();
  driver().post(Frame(run, "NORMAL8"), kWmNcLButtonDown, kHtCaption, (static_cast<long long>(gy) << 16) | gx);
  for (int i = 1; i <= 10; ++i) driver().mouseMove(gx + 3 * i, gy - i);
  driver().mouseUp();
  const Range moved{430, 290, 830, 590};
  Range now;
  WaitUntil([&] {
    now = FrameRange(run);
    return now == moved && Visible(run, "NORMAL11");
  }, 15000, "the frame stands around the moved range");
  EXPECT_EQ(now, moved);
  Close(run);
}

TEST_F(RecorderRangeTest, ButtonsStartAtTheStoredPlaceJumpAsideAndCancel) {
  ProductFolder folder("Vemtra");
  WriteSetting(folder, "HanniBTPt.txt", "500\r\n400\r\n");
  Recorder run = StartWithCodec(folder);
  Hwnd hanni = SelectionStart(run);
  auto place = [&](int id) {
    Rect r = driver().rect(hanni, id);
    return std::make_pair(r.left, r.top);  // client = screen coordinates
  };
  EXPECT_EQ(place(kIdGamenKoushin), std::make_pair(500, 400));
  EXPECT_EQ(place(kIdJama), std::make_pair(650, 415));
  EXPECT_EQ(place(kIdHanniCancel), std::make_pair(500, 431));
  EXPECT_TEXT_EQ(driver().text(hanni, kIdGamenKoushin), "画面の更新");
  EXPECT_TEXT_EQ(driver().text(hanni, kIdJama), "←じゃま！！");
  EXPECT_TEXT_EQ(driver().text(hanni, kIdHanniCancel), "キャンセル");

  driver().click(hanni, kIdJama);
  WaitUntil([&] { return place(kIdGamenKoushin) != std::make_pair(500, 400); }, 10000, "the buttons jump aside");
  const auto [sw, sh] = driver().screenSize();
  const auto [x, y] = place(kIdGamenKoushin);
  EXPECT_GE(x, 0);
  EXPECT_LT(x, sw - 200);
  EXPECT_GE(y, 0);
  EXPECT_LT(y, sh - 100);
  EXPECT_EQ(place(kIdJama), std::make_pair(x + 150, y + 15)) << "the layout stays";
  EXPECT_EQ(place(kIdHanniCancel), std::make_pair(x, y + 31));

  // "画面の更新" freezes the screen again and keeps the selection open.
  driver().click(hanni, kIdGamenKoushin);
  WaitUntil([&] { return driver().state(hanni).visible && !driver().state(run.main).visible; }, 10000,
            "the selection starts again");
  driver().click(hanni, kIdHanniCancel);
  driver().waitGone(hanni);
  driver().waitWindow("NORMAL0", "Vemtra_Free", run.pid);
  Close(run);

  // "Hanni.txt" holds the range window's rectangle; "HanniBTPt.txt" is only read.
  std::istringstream lines(Setting(folder, "Hanni.txt"));
  int left = 1, top = 1, right = 0, bottom = 0;
  lines >> left >> top >> right >> bottom;
  EXPECT_LT(left, 0);
  EXPECT_LT(top, 0);
  EXPECT_EQ(right + left, sw + 100) << "width: screen + 2 borders + 100";
  EXPECT_GT(bottom, sh + 300);
  EXPECT_EQ(Setting(folder, "Hanni.txt").find("\r\n") != std::string::npos, true);
  EXPECT_EQ(Setting(folder, "HanniBTPt.txt"), "500\r\n400\r\n");
}

}  // namespace
