// Helpers of the drivers that run the real Tonewell.exe.
//   NowSeconds          a steady clock in seconds
//   CpuSeconds          kernel plus user time of a process
//   FileTimeSeconds     a FILETIME span or moment in seconds
//   WriteWholeFile      a file made with the given bytes
//   AddThroughDialog    one file added to the job list as a user adds it
//   FolderArgument      a folder argument, ending in a backslash
//   MakeTempFolder      a folder of the temporary folder, made when missing
//   StartTonewell       Tonewell.exe started from a folder, with its window
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "tests/e2e/Driver.h"

namespace bench {

double NowSeconds();
double FileTimeSeconds(const FILETIME& t);
// -1 when the process's times cannot be read.
double CpuSeconds(HANDLE process);

bool WriteWholeFile(const std::wstring& path, std::string_view bytes);

// Clicks `add`, puts `path` into the open dialog that comes up, and waits up
// to `ms` for the job list `list` to hold one row more than before.
bool AddThroughDialog(const e2e::TAppProcess& app, HWND add, HWND list, const std::wstring& path, DWORD ms);

std::wstring FolderArgument(std::wstring folder);
// TEMP\name\ (ending in a backslash).
std::wstring MakeTempFolder(const std::wstring& name);

// Starts `folder`Tonewell.exe in `folder` and waits for its main window; says
// so on stderr when it does not come.
bool StartTonewell(e2e::TAppProcess& app, const std::wstring& folder);

}  // namespace bench
