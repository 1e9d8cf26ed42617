// Helpers of the skin timing drivers.
//   kEmbeddedSkinNames  names of the five embedded skins, by package index
//   LoadEmbeddedSkin    a skin model built from one package of the skins folder
//   ShotsFolder         the value of a driver's --shots option
//   SaveShot            a window's capture as FOLDER\NAME.bmp
//   MeanSeconds         the mean time of one call of a repaint step
//   BenchForm           the application set up and a form to fill
//   ShowOnTop           the filled form shown above every window
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "gui/Forms.h"
#include "skin/data/SkinModel.h"

namespace bench {

inline constexpr int kEmbeddedSkinCount = 5;
extern const char* const kEmbeddedSkinNames[kEmbeddedSkinCount];

// The model of `folder`/SkinItem<index>.skn (a Linux path, read through Z:),
// or null when the package is missing or unreadable.
std::unique_ptr<TSkinModel> LoadEmbeddedSkin(const std::string& folder, int index);

// The folder after "--shots", empty when the option is absent.
std::wstring ShotsFolder(int argc, char** argv);

// Handles the pending messages first, so the capture shows the last state.
void SaveShot(HWND window, const std::wstring& folder, const std::string& name);

// Calls `once` `times` times, then flushes GDI's batch; the mean seconds of a call.
double MeanSeconds(int times, const std::function<void()>& once);

// Initialises the application; a form of that size at (40, 40) with `title`.
TForm* BenchForm(int width, int height, const wchar_t* title);
// Shows `form` topmost and handles what the showing sent.
void ShowOnTop(TForm* form);

}  // namespace bench
