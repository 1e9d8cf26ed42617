#include "skin/data/DrawingScratch.h"

#include <windows.h>

#include <stdexcept>

#include "skin/data/ImgUtil.h"

namespace {

uint32_t SystemColourValue(int index) { return uint32_t(GetSysColor(index)); }

DrawingScratch* g_current = nullptr;
int g_startups = 0;
std::unique_ptr<DrawingScratch> g_program;  // the one StartupDrawingUtilities made

}  // namespace

DrawingScratch::DrawingScratch() : bitmap_(1, 1) {
  if (g_current) throw std::logic_error("a DrawingScratch exists already");
  if (bitmap_.DC()) SetStretchBltMode(bitmap_.DC(), COLORONCOLOR);
  SetSysColourResolver(SystemColourValue);
  g_current = this;
}

// The resolver stays installed: GetSysColor is right for the whole program.
DrawingScratch::~DrawingScratch() { g_current = nullptr; }

DrawingScratch* DrawingScratch::Current() { return g_current; }

void StartupDrawingUtilities() {
  if (g_startups++ > 0) return;
  g_program = std::make_unique<DrawingScratch>();
}

void ShutdownDrawingUtilities() {
  if (g_startups <= 0 || --g_startups > 0) return;
  g_program.reset();
}

TBitmap* ScratchBitmap() { return g_current ? g_current->Bitmap() : nullptr; }
std::vector<std::wstring>* ScratchStrings() { return g_current ? g_current->Strings() : nullptr; }
