// Helpers of the skin timing drivers.
//   kEmbeddedSkinNames  names of the five embedded skins, by package index
//   LoadEmbeddedSkin    a skin model built from one package of the skins folder
//   ShotsFolder         the value of a driver's --shots option
//   SaveShot            a window's capture as FOLDER\NAME.bmp
#pragma once

#include <windows.h>

#include <memory>
#include <string>

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

}  // namespace bench
