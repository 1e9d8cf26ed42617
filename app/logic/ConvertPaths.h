// Command lines of the two tools, output file naming, the folder chooser's
// result and the levels of an output folder to create.
//
// Functions: ProbeCommandLine, ConversionCommandLine, OutputFileName,
// OutputFilePath, FolderChooserResult, DirPathLevels, CreateDirLevels,
// CreateDirErrorText.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tonewell {

inline constexpr wchar_t kProbeToolName[] = L"mplayer.exe";
inline constexpr wchar_t kConversionToolName[] = L"ffmpeg.exe";
inline constexpr wchar_t kOutputExtension[] = L".mp3";

// "\"<tool>\" -msglevel identify=6 -vo none -ao none \"<source>\" 2>&1 |grep ID_LENGTH"
std::wstring ProbeCommandLine(const std::wstring& toolPath, const std::wstring& sourcePath);

// "\"<tool>\" -i \"<source>\" -y  -vn -acodec libmp3lame \"<output>\""
std::wstring ConversionCommandLine(const std::wstring& toolPath, const std::wstring& sourcePath,
                                   const std::wstring& outputPath);

// The name part of a source path (after its last backslash or colon) with its
// extension (from the last point of the name part) replaced by ".mp3"; a name
// without a point gets ".mp3" appended.
std::wstring OutputFileName(const std::wstring& sourcePath);

// The output folder text followed directly by the output file name.
std::wstring OutputFilePath(const std::wstring& outputFolder, const std::wstring& sourcePath);

// The folder chooser's path as the output folder: a drive root ("C:\") stays
// as it is; a longer path gets a trailing backslash unless it has one.
// Empty stays empty (nothing chosen).
std::wstring FolderChooserResult(const std::wstring& chosenPath);

// The folders to make sure of, in order, for an output folder: the text
// before every backslash from the left, then the whole path. Texts that name
// no folder are left out: the empty text before a leading backslash, and the
// "\\server" part of a "\\server\share\..." path (its share is the first
// level).
std::vector<std::wstring> DirPathLevels(const std::wstring& path);

// Creates every missing level of `path` in order through `create`, after
// checking each with `exists`; an existing `path` is left alone at once.
// Returns false at the first level that could not be created (the levels
// made before it stay).
bool CreateDirLevels(const std::wstring& path,
                     const std::function<bool(const std::wstring&)>& exists,
                     const std::function<bool(const std::wstring&)>& create);

// The error dialog's text for an output folder that could not be created.
std::wstring CreateDirErrorText(const std::wstring& path);

}  // namespace tonewell
