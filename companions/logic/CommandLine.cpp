#include "companions/logic/CommandLine.h"

namespace companions {

TParsed<TConvertRequest> ParseConvertArguments(const std::vector<std::wstring>& args) {
  TParsed<TConvertRequest> result;
  TConvertRequest r;
  bool haveSource = false, haveOutput = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& a = args[i];
    if (a == L"-i" || a == L"-acodec") {
      if (i + 1 >= args.size()) {
        result.error = a + L" needs a value";
        return result;
      }
      const std::wstring& value = args[++i];
      if (a == L"-acodec") {
        if (value != L"libmp3lame") {
          result.error = L"only -acodec libmp3lame is supported, not " + value;
          return result;
        }
      } else if (haveSource) {
        result.error = L"more than one input";
        return result;
      } else {
        r.source = value;
        haveSource = true;
      }
    } else if (a == L"-y") {
      r.overwrite = true;
    } else if (a == L"-vn") {
      // Audio only is what we produce anyway.
    } else if (a.size() > 1 && a[0] == L'-') {
      result.error = L"unknown option " + a;
      return result;
    } else if (haveOutput) {
      result.error = L"more than one output: " + r.output + L" and " + a;
      return result;
    } else {
      r.output = a;
      haveOutput = true;
    }
  }
  if (!haveSource || r.source.empty()) {
    result.error = L"no input (-i FILE)";
  } else if (!haveOutput || r.output.empty()) {
    result.error = L"no output file";
  } else {
    result.request = r;
  }
  return result;
}

TParsed<TProbeRequest> ParseProbeArguments(const std::vector<std::wstring>& args) {
  TParsed<TProbeRequest> result;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& a = args[i];
    if (a == L"-msglevel" || a == L"-vo" || a == L"-ao") {
      if (i + 1 >= args.size()) {
        result.error = a + L" needs a value";
        return result;
      }
      ++i;
    } else if (a.size() > 1 && a[0] == L'-') {
      result.error = L"unknown option " + a;
      return result;
    } else if (!a.empty()) {
      result.request = TProbeRequest{a};
      return result;
    }
  }
  result.error = L"no file to read";
  return result;
}

std::wstring QuoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count literally unless a quote follows them.
    if (c == L'"') {
      out.append(backslashes * 2 + 1, L'\\');
    } else {
      out.append(backslashes, L'\\');
    }
    backslashes = 0;
    out.push_back(c);
  }
  // Before the closing quote every backslash must be doubled.
  out.append(backslashes * 2, L'\\');
  out.push_back(L'"');
  return out;
}

std::wstring JoinCommandLine(const std::vector<std::wstring>& args) {
  std::wstring line;
  for (const auto& a : args) {
    if (!line.empty()) line.push_back(L' ');
    line += QuoteArgument(a);
  }
  return line;
}

std::vector<std::wstring> EncoderConvertArguments(const std::wstring& encoder, const std::wstring& source,
                                                  const std::wstring& partial, const std::wstring& year) {
  std::vector<std::wstring> a = {encoder, L"-hide_banner", L"-nostdin", L"-i", source, L"-vn",
                                 L"-acodec", L"libmp3lame", L"-q:a", L"2", L"-id3v2_version", L"3"};
  if (!year.empty()) {
    a.push_back(L"-metadata");
    a.push_back(L"date=" + year);
  }
  // The year's source key would otherwise travel as a user-defined frame too.
  a.insert(a.end(), {L"-metadata", L"WM/Year=", L"-f", L"mp3", L"-progress", L"pipe:1", L"-y", partial});
  return a;
}

std::vector<std::wstring> EncoderProbeArguments(const std::wstring& encoder, const std::wstring& file) {
  return {encoder, L"-hide_banner", L"-nostdin", L"-i", file};
}

}  // namespace companions
