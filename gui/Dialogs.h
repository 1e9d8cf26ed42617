// Dialogs (Windows).
//
// Classes and functions in this file:
//   TOpenDialog       the common file-open dialog: Filter ("Name|*.ext|..."), Title,
//                     InitialDir, DefaultExt, FileName; Execute() for one file
//   SelectDirectory   the shell's folder browser; the chosen folder's path
#pragma once

#include <string>

#include "gui/Core.h"

class TOpenDialog : public TComponent {
  TW_DECLARE_CLASS(TOpenDialog, TComponent)
 public:
  explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
  std::wstring FFilter, FTitle, FInitialDir, FDefaultExt, FFileName;
  int FFilterIndex = 1;
  const std::wstring& FileName() const { return FFileName; }
  // Shows the dialog (owned by the active form); true with FileName set
  // when the user chose a file, false on cancel (FileName unchanged).
  bool Execute();
  // The filter in the dialog's form: pairs separated by NULs, two NULs at the end.
  static std::wstring FilterPairs(const std::wstring& filter);
};

// Shows the folder browser with the caption as its title text. True with
// the folder's file-system path when the user chose one; false on cancel or
// for a place that is not a file-system folder.
bool SelectDirectory(const std::wstring& caption, std::wstring& directory);
