// Windows side of the package reader's message hook.
//
// Functions in this file:
//   InstallSkinReaderMessageBox  routes TSkinReader's messages (a package of
//                                another version) to a message box
#pragma once

// Sets TSkinReader's message hook to a modal message box owned by the active
// window, titled with the program's name. Call once at start-up.
void InstallSkinReaderMessageBox();
