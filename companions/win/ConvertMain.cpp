// ffmpeg.exe of the program folder: converts one WMA file to MP3 with the
// stock encoder, printing Tonewell's progress marker for every progress
// record and passing the encoder's other output through. The MP3 is written
// beside its final name and moved there only when the encoder succeeded.
//
//   ffmpeg.exe -i SOURCE -y -vn -acodec libmp3lame OUTPUT
#include <windows.h>

#include <string>
#include <vector>

#include "companions/logic/AsfYear.h"
#include "companions/logic/CommandLine.h"
#include "companions/logic/EncoderOutput.h"
#include "companions/win/EncoderProcess.h"

using namespace companions;

namespace {

std::wstring FolderOf(const std::wstring& path) {
  const size_t cut = path.find_last_of(L"\\/:");
  return cut == std::wstring::npos ? L"" : path.substr(0, cut + 1);
}

// Partial files that no live conversion holds any more (the encoder opens
// its output without delete sharing, so a file in use cannot be deleted).
void RemoveAbandonedPartials(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"*" + kPartialSuffix).c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + found.cFileName).c_str());
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

// The year tag of a WMA source; empty for anything else.
std::wstring SourceYear(const std::wstring& source) {
  HANDLE h = CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return L"";
  std::vector<uint8_t> bytes(30);
  DWORD got = 0;
  std::wstring year;
  if (ReadFile(h, bytes.data(), 30, &got, nullptr) && got == 30) {
    const size_t size = AsfHeaderSize(bytes.data(), bytes.size());
    if (size > 30) {
      bytes.resize(size);
      DWORD more = 0;
      ReadFile(h, bytes.data() + 30, static_cast<DWORD>(size - 30), &more, nullptr);
      year = AsfYear(bytes.data(), 30 + more);
    }
  }
  CloseHandle(h);
  return year;
}

bool HasContent(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
         (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0);
}

// Flushes the finished file and moves it over the output in one step.
bool PlaceOutput(const std::wstring& partial, const std::wstring& output, DWORD& error) {
  HANDLE h = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    FlushFileBuffers(h);
    CloseHandle(h);
  }
  if (MoveFileExW(partial.c_str(), output.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  error = GetLastError();
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  TOutput out;
  const auto parsed = ParseConvertArguments(std::vector<std::wstring>(argv + 1, argv + argc));
  if (!parsed.request) {
    out.Message(L"ffmpeg.exe: " + parsed.error);
    out.Message(L"usage: ffmpeg.exe -i SOURCE -y -vn -acodec libmp3lame OUTPUT.mp3");
    return kExitUsage;
  }
  const TConvertRequest& r = *parsed.request;
  const std::wstring encoder = EncoderPath();
  if (GetFileAttributesW(encoder.c_str()) == INVALID_FILE_ATTRIBUTES) {
    out.Message(L"ffmpeg.exe: the stock encoder is missing: " + encoder);
    return kExitNoEncoder;
  }
  if (!r.overwrite && GetFileAttributesW(r.output.c_str()) != INVALID_FILE_ATTRIBUTES) {
    out.Message(L"ffmpeg.exe: " + r.output + L" exists (use -y to overwrite it)");
    return 1;
  }

  RemoveAbandonedPartials(FolderOf(r.output));
  const std::wstring partial = PartialPathFor(r.output);
  DeleteFileW(partial.c_str());

  TEncoderProcess encoder_;
  std::wstring error;
  if (!encoder_.Start(EncoderConvertArguments(encoder, r.source, partial, SourceYear(r.source)), error)) {
    out.Message(L"ffmpeg.exe: " + error);
    return kExitNoEncoder;
  }

  TLineSplitter progressLines, errorLines;
  TProgressReader progress;
  std::vector<std::string> lines;
  const DWORD code = encoder_.Run(
      [&](std::string_view bytes) {
        lines.clear();
        progressLines.Feed(bytes, lines);
        for (const auto& l : lines) {
          std::string_view key = l;
          while (!key.empty() && (key.back() == '\n' || key.back() == '\r')) key.remove_suffix(1);
          if (auto marker = progress.Feed(key)) out.Out(*marker);
        }
      },
      [&](std::string_view bytes) {
        std::vector<std::string> passed;
        errorLines.Feed(bytes, passed);
        for (const auto& l : passed) out.Err(l);
      });
  if (auto rest = errorLines.Finish()) out.Err(*rest);

  if (code != 0) {
    DeleteFileW(partial.c_str());
    out.Message(L"ffmpeg.exe: the stock encoder failed (exit code " + std::to_wstring(code) + L"); " + r.output +
                L" was not written");
    return static_cast<int>(code);
  }
  DWORD placeError = ERROR_FILE_NOT_FOUND;
  if (!HasContent(partial) || !PlaceOutput(partial, r.output, placeError)) {
    DeleteFileW(partial.c_str());
    out.Message(L"ffmpeg.exe: cannot put the MP3 in place at " + r.output + L": " + SystemMessage(placeError));
    return kExitNotPlaced;
  }
  return 0;
}
