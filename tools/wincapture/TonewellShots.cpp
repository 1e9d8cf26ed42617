// Capture driver (no assertions): drives the real Tonewell.exe as a user
// does and saves BMPs of its main window under each embedded skin, every
// skin chosen from the skinned system menu with the mouse.
//
// Usage: TonewellShots.exe FOLDER OUTDIR
//   FOLDER holds Tonewell.exe and the stand-in tools; the stand-in converter
//   should be paced (TONEWELL_FAKE_SECONDS) so a run is caught mid-file.
// Writes, for each skin N (0..4):
//   skinN.bmp             just started, empty list
//   skinN-rows.bmp        30 rows (vertical bar), output folder set
//   skinN-hover.bmp       the mouse over the convert button
//   skinN-pressed.bmp     the convert button held down
//   skinN-converting.bmp  mid-run, progress shown
// and banner-skin0.bmp, banner-skin3.bmp (the banner band alone).
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "bench/support/DriveTonewell.h"
#include "skin/data/Bmp.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/SkinMenuDriver.h"
#include "tests/support/WindowCapture.h"

using namespace e2e;

namespace {

std::wstring outDir;

bool Save(const std::wstring& name, const Image& image) {
  const std::vector<uint8_t> bytes = EncodeBmp(image, 24);
  const bool ok = bench::WriteWholeFile(outDir + name + L".bmp",
                                        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  std::printf("%ls %s\n", name.c_str(), ok ? "saved" : "NOT saved");
  return ok;
}

// Two captures alike: painting is over.
Image Settled(const std::function<Image()>& capture) {
  Image last;
  WaitUntil([&] {
    Image now = capture();
    const bool same = !now.Empty() && now == last;
    last = std::move(now);
    return same;
  }, 5000);
  return last;
}

Image Window(HWND w) {
  return Settled([&] { return twtest::CaptureWindow(w); });
}

RECT ScreenRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

// The skinned caption band: repainted when the skin manager has applied a
// skin or the window's activation changed.
Image CaptionBand(HWND main) {
  RECT w = ScreenRect(main);
  POINT client{0, 0};
  ClientToScreen(main, &client);
  return twtest::CaptureScreenRect(RECT{w.left, w.top, w.right, client.y});
}

// In front and active (after a dialog or a posted click it may not be), its
// caption painted so.
void Activate(HWND main) {
  SetForegroundWindow(main);
  WaitUntil([&] { return GetForegroundWindow() == main; }, 5000);
  Settled([&] { return CaptionBand(main); });
}

// The caption band of each skin as first shown (active, applied).
Image captions[5];

void Choose(const TAppProcess& app, HWND main, int skin) {
  Activate(main);
  const Image before = CaptionBand(main);
  const TChoice c = ChooseSkinByMouse(app.Pid(), main, skin);
  const bool shown = WaitUntil([&] { return !(CaptionBand(main) == before); }, 10000);
  std::printf("skin %d: clicked %s, checked before %d, shown %s\n", skin, c.Clicked ? "yes" : "no", c.CheckedBefore,
              shown ? "yes" : "no");
  // Away from the window, so nothing shows hovered.
  MouseAt(POINT{ScreenRect(main).right + 40, ScreenRect(main).bottom + 20});
  Activate(main);
  // The skin is applied on the program's timer and the frame repaints in
  // steps: wait until it stays as it is, then it must look as it did the
  // first time.
  const Image now = Quiet([&] { return CaptionBand(main); });
  if (captions[skin].Empty())
    captions[skin] = now;
  else if (!(now == captions[skin]))
    std::printf("skin %d: the caption differs from its first showing\n", skin);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: TonewellShots FOLDER OUTDIR\n");
    return 2;
  }
  const std::wstring folder = bench::FolderArgument(argv[1]);
  outDir = bench::FolderArgument(argv[2]);
  const std::wstring sources = bench::MakeTempFolder(L"tonewell-shots");

  TAppProcess app;
  if (!bench::StartTonewell(app, folder)) return 1;
  HWND main = app.Main();
  HWND add = FindChild(main, L"TButton", L"新增"), convert = FindChild(main, L"TButton", L"立即转换");
  HWND list = FindChild(main, L"TListView", L""), saveDir = FindChild(main, L"TEdit", L"");
  HWND bar = FindChild(main, L"TProgressBar", L"");
  if (!add || !convert || !list || !saveDir || !bar) {
    std::fprintf(stderr, "controls not found\n");
    app.Kill();
    return 1;
  }
  WaitUntil([&] { return SendMessageW(main, 0x3523, 0, 0) == 1; }, 20000);  // skinned
  SetForegroundWindow(main);
  const int order[] = {0, 1, 3, 4, 2};

  // Just started, under each skin; the banner alone under two of them.
  for (int skin : order) {
    Choose(app, main, skin);
    Save(L"skin" + std::to_wstring(skin), Window(main));
    if (skin == 0 || skin == 3) {
      const Image band = Settled([&] {
        POINT origin{0, 0};
        ClientToScreen(main, &origin);
        return twtest::CaptureScreenRect(RECT{origin.x, origin.y, origin.x + 533, origin.y + 161});
      });
      Save(L"banner-skin" + std::to_wstring(skin), band);
    }
  }

  // Thirty rows and the output folder.
  for (int i = ListViewCount(list); i < 30; ++i) {
    const std::wstring path = sources + L"第" + std::to_wstring(i + 1) + L"首 歌曲.wma";
    bench::WriteWholeFile(path, "");
    if (!bench::AddThroughDialog(app, add, list, path, 20000)) {
      std::fprintf(stderr, "row %d not added\n", i + 1);
      break;
    }
  }
  const std::wstring out = sources + L"转换结果\\";
  SendMessageW(saveDir, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(out.c_str()));

  const RECT button = ScreenRect(convert);
  const POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  for (int skin : order) {
    Choose(app, main, skin);
    const std::wstring name = L"skin" + std::to_wstring(skin);
    Save(name + L"-rows", Window(main));
    // Hovered, then held down; released off the button, so nothing runs.
    Image before = twtest::CaptureScreenRect(button);
    MouseAt(centre);
    WaitUntil([&] { return !(twtest::CaptureScreenRect(button) == before); }, 5000);
    Save(name + L"-hover", Window(main));
    before = twtest::CaptureScreenRect(button);
    MouseAt(centre, MOUSEEVENTF_LEFTDOWN);
    WaitUntil([&] { return !(twtest::CaptureScreenRect(button) == before); }, 5000);
    Save(name + L"-pressed", Window(main));
    const POINT away{ScreenRect(main).right + 40, centre.y};
    MouseAt(away);
    MouseAt(away, MOUSEEVENTF_LEFTUP);
    WaitForInputIdle(app.Process(), 5000);
  }

  // A run, caught under each skin while a file converts.
  Click(convert);
  for (int skin : order) {
    Choose(app, main, skin);
    WaitUntil([&] { return Progress(bar).pos > 0; }, 20000);
    Save(L"skin" + std::to_wstring(skin) + L"-converting", Window(main));
  }
  std::printf("progress %d of %d\n", Progress(bar).pos, Progress(bar).high);
  if (!app.Close(10000)) app.Kill();
  return 0;
}
