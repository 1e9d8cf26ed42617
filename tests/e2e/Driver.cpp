#include "tests/e2e/Driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <thread>

#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

namespace e2e {

std::wstring SelfFolder() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
  return twtest::PollUntil(done, ms);
}

TAppProcess::~TAppProcess() {
  Kill();
}

bool TAppProcess::Start(const std::wstring& exe, const std::wstring& folder, const std::wstring& caption,
                        DWORD ms) {
  Kill();  // a test may start the program again
  main_ = nullptr;
  std::wstring cmd = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                      &pi))
    return false;
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  pid_ = pi.dwProcessId;
  WaitForInputIdle(process_, ms);
  return WaitUntil(
      [&] {
        for (HWND w : TopWindows(pid_, L"")) {
          if (Text(w) == caption) {
            main_ = w;
            return true;
          }
        }
        return false;
      },
      ms);
}

bool TAppProcess::Close(DWORD ms) {
  if (!process_) return true;
  if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
  return WaitForSingleObject(process_, ms) == WAIT_OBJECT_0;
}

void TAppProcess::Kill() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
  process_ = nullptr;
}

bool TAppProcess::Exited(DWORD ms) const {
  return process_ && WaitForSingleObject(process_, ms) == WAIT_OBJECT_0;
}

DWORD TAppProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_, &code);
  return code;
}

namespace {

struct TopSearch {
  DWORD pid;
  std::wstring cls;
  HWND except;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<TopSearch*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == s->pid && w != s->except && IsWindowVisible(w) &&
      (s->cls.empty() || ClassOf(w) == s->cls))
    s->found.push_back(w);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND w, LPARAM p) {
  reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}

// Memory inside another process, released with it.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, size_t size)
      : process_(process), mem_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteBlock() {
    if (mem_) VirtualFreeEx(process_, mem_, 0, MEM_RELEASE);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  void* Get() const { return mem_; }
  char* At(size_t offset) const { return static_cast<char*>(mem_) + offset; }
  bool Write(size_t offset, const void* data, size_t n) const {
    SIZE_T done = 0;
    return WriteProcessMemory(process_, At(offset), data, n, &done) && done == n;
  }
  bool Read(size_t offset, void* data, size_t n) const {
    SIZE_T done = 0;
    return ReadProcessMemory(process_, At(offset), data, n, &done) && done == n;
  }

 private:
  HANDLE process_;
  void* mem_;
};

HANDLE OpenOwner(HWND wnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  return OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
}

LRESULT SendWithTimeout(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD ms = 5000) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, ms, &result)) return -1;
  return static_cast<LRESULT>(result);
}

}  // namespace

std::vector<HWND> TopWindows(DWORD pid, const std::wstring& cls, HWND except) {
  TopSearch s{pid, cls, except, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND WaitForTopWindow(DWORD pid, const std::wstring& cls, DWORD ms, HWND except) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        auto all = TopWindows(pid, cls, except);
        found = all.empty() ? nullptr : all.front();
        return found != nullptr;
      },
      ms);
  return found;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
  return all;
}

HWND FindChild(HWND parent, const std::wstring& cls, const std::wstring& text) {
  for (HWND w : Descendants(parent))
    if ((cls.empty() || ClassOf(w) == cls) && (text.empty() || Text(w) == text)) return w;
  return nullptr;
}

HWND FindChildById(HWND parent, int id) {
  for (HWND w : Descendants(parent))
    if (GetDlgCtrlID(w) == id) return w;
  return nullptr;
}

std::wstring Text(HWND wnd) {
  wchar_t buf[1024] = {};
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(wnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG,
                           5000, &got))
    return L"<no answer>";
  return std::wstring(buf, got < 1024 ? got : 1023);
}

std::wstring ClassOf(HWND wnd) {
  wchar_t buf[256] = {};
  GetClassNameW(wnd, buf, 256);
  return buf;
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool ClickAndWait(HWND button, DWORD ms) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, ms, &result) != 0;
}

void PressSpace(HWND button) {
  PostMessageW(button, WM_KEYDOWN, VK_SPACE, 0x00390001);
  PostMessageW(button, WM_KEYUP, VK_SPACE, 0xC0390001);
}

void CloseFromThreads(HWND window, int count) {
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::vector<std::thread> senders;
  for (int i = 0; i < count; ++i)
    senders.emplace_back([window, go] {
      WaitForSingleObject(go, INFINITE);
      DWORD_PTR result = 0;
      SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_NORMAL, 30000, &result);
    });
  SetEvent(go);
  for (auto& t : senders) t.join();
  CloseHandle(go);
}

bool FillOpenDialog(HWND dialog, const std::wstring& path) {
  HWND field = FindChildById(dialog, 0x47C);
  if (!field) return false;
  HWND edit = ClassOf(field) == L"Edit" ? field : FindChild(field, L"Edit", L"");
  if (!edit) return false;
  SendWithTimeout(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PressDialogButton(dialog, IDOK);
  return true;
}

void PressDialogButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

std::wstring MessageBoxText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? Text(text) : L"";
}

int ListViewCount(HWND list) { return static_cast<int>(SendWithTimeout(list, LVM_GETITEMCOUNT, 0, 0)); }

std::vector<std::vector<std::wstring>> ListViewRows(HWND list, int columns) {
  std::vector<std::vector<std::wstring>> rows;
  HANDLE process = OpenOwner(list);
  if (!process) return rows;
  {
    constexpr int kChars = 1024;
    RemoteBlock block(process, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    if (block.Get()) {
      const int count = ListViewCount(list);
      for (int row = 0; row < count; ++row) {
        std::vector<std::wstring> cells;
        for (int col = 0; col < columns; ++col) {
          LVITEMW item{};
          item.mask = LVIF_TEXT;
          item.iItem = row;
          item.iSubItem = col;
          item.pszText = reinterpret_cast<wchar_t*>(block.At(sizeof(LVITEMW)));
          item.cchTextMax = kChars;
          wchar_t zero = 0;
          block.Write(sizeof(LVITEMW), &zero, sizeof(zero));
          block.Write(0, &item, sizeof(item));
          const LRESULT n = SendWithTimeout(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(block.Get()));
          std::wstring text(kChars, L'\0');
          block.Read(sizeof(LVITEMW), text.data(), kChars * sizeof(wchar_t));
          text.resize(n > 0 && n < kChars ? static_cast<size_t>(n) : 0);
          cells.push_back(text);
        }
        rows.push_back(cells);
      }
    }
  }
  CloseHandle(process);
  return rows;
}

bool ListViewSelect(HWND list, int row) {
  HANDLE process = OpenOwner(list);
  if (!process) return false;
  bool ok = false;
  {
    RemoteBlock block(process, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ok = block.Get() && block.Write(0, &item, sizeof(item)) &&
         SendWithTimeout(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(block.Get())) != 0;
  }
  CloseHandle(process);
  return ok;
}

namespace {

int Luminance(uint32_t c) { return (299 * PixelR(c) + 587 * PixelG(c) + 114 * PixelB(c)) / 1000; }

// The two shades of a piece of text on the screen: the most common pixel
// (the face) and the darkest one (the ink).
struct TShades {
  uint32_t face = 0xFFFFFF, ink = 0;
};

TShades ShadesOf(const Image& img) {
  TShades s;
  int count[256] = {};
  uint32_t byLum[256] = {};
  for (int i = 0; i < img.Width() * img.Height(); ++i) {
    const uint32_t c = PixelRGB(img.Pixels()[i]);
    const int lum = Luminance(c);
    ++count[lum];
    byLum[lum] = c;
  }
  s.face = byLum[std::max_element(count, count + 256) - count];
  for (int lum = 0; lum < 256; ++lum)
    if (count[lum]) {
      s.ink = byLum[lum];
      break;
    }
  return s;
}

// Ink (true) or face pixels: nearer the ink's luminance than the face's.
std::vector<bool> InkPixels(const Image& img, const TShades& shades) {
  const int limit = (Luminance(shades.face) + Luminance(shades.ink)) / 2;
  std::vector<bool> ink(static_cast<size_t>(img.Width()) * img.Height(), false);
  for (size_t i = 0; i < ink.size(); ++i) ink[i] = Luminance(img.Pixels()[i]) < limit;
  return ink;
}

// `text` drawn in `font` in the ink's colour on the face's, `w` x `h`
// pixels: smoothed edges come out as on the screen.
std::vector<bool> TextPicture(HFONT font, const std::wstring& text, int w, int h, const TShades& shades) {
  std::vector<bool> ink(static_cast<size_t>(w) * h, false);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && bits) {
    HGDIOBJ oldBmp = SelectObject(mem, dib);
    HGDIOBJ oldFont = SelectObject(mem, font);
    RECT r{0, 0, w, h};
    HBRUSH face = CreateSolidBrush(ColourFromPixel(shades.face));
    FillRect(mem, &r, face);
    DeleteObject(face);
    SetTextColor(mem, ColourFromPixel(shades.ink));
    SetBkMode(mem, TRANSPARENT);
    TextOutW(mem, 0, 0, text.c_str(), static_cast<int>(text.size()));
    GdiFlush();
    Image img(w, h);
    if (!img.Empty()) {
      std::memcpy(img.Pixels(), bits, static_cast<size_t>(w) * h * sizeof(uint32_t));
      ink = InkPixels(img, shades);
    }
    SelectObject(mem, oldFont);
    SelectObject(mem, oldBmp);
  }
  if (dib) DeleteObject(dib);
  DeleteDC(mem);
  return ink;
}

}  // namespace

bool ShowsText(HWND window, POINT at, const std::wstring& text) {
  RECT client{};
  if (!GetClientRect(window, &client)) return false;
  HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");
  HDC measure = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFont = SelectObject(measure, font);
  SIZE extent{};
  GetTextExtentPoint32W(measure, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(measure, oldFont);
  DeleteDC(measure);
  constexpr int kSlack = 3;
  const int w = std::min<int>(extent.cx, client.right - at.x - kSlack);
  const int h = std::min<int>(extent.cy, client.bottom - at.y - kSlack);
  bool match = false;
  if (w > 0 && h > 0) {
    // The screen around the expected place, shifted by up to kSlack pixels.
    POINT origin = at;
    ClientToScreen(window, &origin);
    const int sw = w + 2 * kSlack, sh = h + 2 * kSlack;
    const Image screen = twtest::CaptureScreenRect(
        RECT{origin.x - kSlack, origin.y - kSlack, origin.x - kSlack + sw, origin.y - kSlack + sh});
    // The expected picture in the screen's own two shades (a skin colours
    // both); too little contrast there is no text at all.
    const TShades shades = screen.Empty() ? TShades{} : ShadesOf(screen);
    const bool contrast = Luminance(shades.face) - Luminance(shades.ink) >= 40;
    const std::vector<bool> seen = contrast ? InkPixels(screen, shades) : std::vector<bool>();
    const std::vector<bool> expected = TextPicture(font, text, w, h, shades);
    size_t inked = 0;
    for (bool b : expected) inked += b;
    for (int dy = 0; dy <= 2 * kSlack && !match && !seen.empty(); ++dy) {
      for (int dx = 0; dx <= 2 * kSlack && !match; ++dx) {
        size_t differ = 0;
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x)
            differ += expected[static_cast<size_t>(y) * w + x] !=
                      seen[static_cast<size_t>(y + dy) * sw + (x + dx)];
        match = inked > 0 && differ * 20 <= inked;  // at most 5 % of the ink may differ
      }
    }
  }
  DeleteObject(font);
  return match;
}

TProgress Progress(HWND bar) {
  TProgress p;
  p.pos = static_cast<int>(SendWithTimeout(bar, PBM_GETPOS, 0, 0));
  p.low = static_cast<int>(SendWithTimeout(bar, PBM_GETRANGE, TRUE, 0));
  p.high = static_cast<int>(SendWithTimeout(bar, PBM_GETRANGE, FALSE, 0));
  return p;
}

}  // namespace e2e
