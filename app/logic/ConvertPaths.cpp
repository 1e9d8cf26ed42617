#include "app/logic/ConvertPaths.h"

namespace tonewell {

std::wstring ProbeCommandLine(const std::wstring& toolPath, const std::wstring& sourcePath) {
  return L"\"" + toolPath + L"\" -msglevel identify=6 -vo none -ao none \"" + sourcePath +
         L"\" 2>&1 |grep ID_LENGTH";
}

std::wstring ConversionCommandLine(const std::wstring& toolPath, const std::wstring& sourcePath,
                                   const std::wstring& outputPath) {
  return L"\"" + toolPath + L"\"" + L" -i " + L"\"" + sourcePath + L"\"" + L" -y " +
         L" -vn -acodec libmp3lame " + L"\"" + outputPath + L"\"";
}

std::wstring OutputFileName(const std::wstring& sourcePath) {
  size_t cut = sourcePath.find_last_of(L"\\:");
  std::wstring name = cut == std::wstring::npos ? sourcePath : sourcePath.substr(cut + 1);
  size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name + kOutputExtension;
}

std::wstring OutputFilePath(const std::wstring& outputFolder, const std::wstring& sourcePath) {
  return outputFolder + OutputFileName(sourcePath);
}

std::wstring FolderChooserResult(const std::wstring& chosenPath) {
  if (chosenPath.size() > 3 && chosenPath.back() != L'\\') return chosenPath + L'\\';
  return chosenPath;
}

std::vector<std::wstring> DirPathLevels(const std::wstring& path) {
  // A UNC path's texts before its share ("", "\\", "\\server") are no
  // folders anyone can create; its first level is the share itself.
  size_t firstSplit = 1;
  if (path.rfind(L"\\\\", 0) == 0) {
    size_t server = path.find(L'\\', 2);
    firstSplit = server == std::wstring::npos ? path.size() : server + 1;
  }
  std::vector<std::wstring> levels;
  for (size_t i = firstSplit; i < path.size(); ++i) {
    if (path[i] == L'\\') levels.push_back(path.substr(0, i));
  }
  if (!path.empty()) levels.push_back(path);
  return levels;
}

bool CreateDirLevels(const std::wstring& path,
                     const std::function<bool(const std::wstring&)>& exists,
                     const std::function<bool(const std::wstring&)>& create) {
  if (exists(path)) return true;
  for (const auto& level : DirPathLevels(path)) {
    if (!exists(level) && !create(level)) return false;
  }
  return true;
}

std::wstring CreateDirErrorText(const std::wstring& path) {
  return L"建立目录：" + path + L"出错！" + L"\r\n\r\n" + L"请检查目录名是否正确。";
}

}  // namespace tonewell
