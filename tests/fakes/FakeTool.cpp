// Test stand-in for the converter's two console tools, built twice:
// mplayer.exe (FAKE_PROBE_TOOL=1) and ffmpeg.exe (FAKE_PROBE_TOOL=0).
// They replay output recorded from the real programs, with the recorded file
// names replaced by the ones on the command line; the converter also writes an
// output file naming its source and adds a progress marker line after every
// recorded progress record. Environment variables make them misbehave; see
// README.md beside this file.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Recordings.h"

namespace {

// ---------------------------------------------------------------------------
// Environment and arguments

std::wstring Env(const wchar_t* name) {
  wchar_t buffer[4096];
  DWORD n = GetEnvironmentVariableW(name, buffer, 4096);
  return n > 0 && n < 4096 ? std::wstring(buffer, n) : std::wstring();
}

double EnvSeconds(const wchar_t* name, double fallback) {
  std::wstring text = Env(name);
  if (text.empty()) return fallback;
  wchar_t* end = nullptr;
  double v = wcstod(text.c_str(), &end);
  return end != text.c_str() && v >= 0 ? v : fallback;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::vector<std::wstring> Arguments() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args;
  for (int i = 0; i < argc; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);
  return args;
}

// ---------------------------------------------------------------------------
// Output: exact bytes on the standard handle (the C runtime would turn LF
// into CR LF on a pipe).

struct Output {
  HANDLE handle = GetStdHandle(FAKE_PROBE_TOOL ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  std::string mode;

  void Raw(const std::string& bytes) const {
    DWORD done = 0;
    size_t at = 0;
    while (at < bytes.size()) {
      DWORD chunk = DWORD(std::min<size_t>(bytes.size() - at, 1 << 16));
      if (!WriteFile(handle, bytes.data() + at, chunk, &done, nullptr) || done == 0) {
        ExitProcess(3);  // the reader went away
      }
      at += done;
    }
  }

  // Applies the byte-level modes (NUL bytes, CR-only or CR LF line ends).
  void Write(const std::string& text) const {
    std::string out;
    if (mode == "nul") {
      for (char c : text) out += c, out += '\0';
    } else if (mode == "cr" || mode == "crlf") {
      char previous = '\0';
      for (char c : text) {
        if (c == '\n' && mode == "crlf") {
          out += previous == '\r' ? "\n" : "\r\n";
        } else if (c == '\n') {
          if (previous != '\r') out += '\r';  // a CR LF pair becomes one CR
        } else {
          out += c;
        }
        previous = c;
      }
    } else {
      out = text;
    }
    Raw(out);
  }
};

std::string Recording(const unsigned char* bytes, unsigned size) {
  return std::string(reinterpret_cast<const char*>(bytes), size);
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

bool FileExists(const std::wstring& path) {
  DWORD attr = GetFileAttributesW(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

void Pause(double seconds) {
  if (seconds > 0) Sleep(DWORD(seconds * 1000));
}

[[noreturn]] void Hang() {
  for (;;) Sleep(INFINITE);
}

LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* info) {
  TerminateProcess(GetCurrentProcess(), info->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

[[noreturn]] void Crash() {
  // A real access violation, ended without the debugger Wine would start.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(EndOnCrash);
  *static_cast<volatile int*>(nullptr) = 1;
  ExitProcess(0xC0000005);
}

// Many complete lines and one very long unfinished one, then a line end.
void Flood(const Output& out) {
  double mb = EnvSeconds(L"TONEWELL_FAKE_FLOOD_MB", 4);
  size_t total = size_t(mb * 1024 * 1024);
  std::string block;
  for (int i = 0; block.size() < 65536; ++i) {
    char line[80];
    std::snprintf(line, sizeof line, "flood line %06d 0123456789abcdefghijklmnopqrstuvwxyz\n", i);
    block += line;
  }
  for (size_t sent = 0; sent < total; sent += block.size()) out.Write(block);
  out.Write(std::string(1 << 20, 'L') + "\n");
}

// ---------------------------------------------------------------------------
// The probe tool

int RunProbe(const std::vector<std::wstring>& args, const std::string& mode, const Output& out) {
  // mplayer-style arguments: options with one value, then the files to play.
  std::wstring source;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == L"-msglevel" || args[i] == L"-vo" || args[i] == L"-ao") {
      ++i;
      continue;
    }
    source = args[i];
    break;
  }
  const bool found = !source.empty() && FileExists(source);
  std::string text = found ? Recording(kProbeRecording, kProbeRecordingSize)
                           : Recording(kProbeMissingRecording, kProbeMissingRecordingSize);
  ReplaceAll(text, found ? "sample.wma" : "missing.wma", Utf8(source));
  if (mode == "fail") {
    out.Write(Recording(kProbeMissingRecording, kProbeMissingRecordingSize));
    return 1;
  }

  const std::string marker = "ID_LENGTH=";
  size_t at = text.find(marker);
  size_t lineEnd = at == std::string::npos ? text.size() : text.find('\n', at) + 1;
  if (mode == "nomarker" && at != std::string::npos) text.erase(at, lineEnd - at);
  if (mode == "garbage" && at != std::string::npos)
    text.replace(at, lineEnd - at, "ID_LENGTH=6\x01.0.5\xff\n");
  if (mode == "flood") Flood(out);
  if ((mode == "late" || mode == "hang" || mode == "crash") && at != std::string::npos) {
    out.Write(text.substr(0, at));
    if (mode == "hang") Hang();
    if (mode == "crash") Crash();
    Pause(EnvSeconds(L"TONEWELL_FAKE_DELAY", 3));
    text.erase(0, at);
  }
  out.Write(text);
  return 0;
}

// ---------------------------------------------------------------------------
// The conversion tool

// Seconds of a "time=HH:MM:SS.cc" field in a progress record; -1 without one.
double PositionOf(const std::string& record) {
  size_t at = record.find("time=");
  int h = 0, m = 0;
  double s = 0;
  if (at == std::string::npos || std::sscanf(record.c_str() + at + 5, "%d:%d:%lf", &h, &m, &s) != 3)
    return -1;
  return h * 3600 + m * 60 + s;
}

bool WriteOutputFile(const std::wstring& path, const std::string& bytes, bool truncate) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            truncate ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD done = 0;
  BOOL ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr);
  CloseHandle(file);
  return ok && done == bytes.size();
}

int RunConverter(const std::vector<std::wstring>& args, const std::string& mode, const Output& out) {
  // ffmpeg-style arguments: "-i" names the source, the last one the output.
  std::wstring source, output;
  for (size_t i = 1; i + 1 < args.size(); ++i)
    if (args[i] == L"-i") source = args[i + 1];
  if (args.size() > 1) output = args.back();

  if (mode == "fail" || !FileExists(source)) {
    std::string text = Recording(kConvertMissingRecording, kConvertMissingRecordingSize);
    ReplaceAll(text, "missing.wma", Utf8(source));
    out.Write(text);
    return 1;
  }

  std::string text = Recording(kConvertRecording, kConvertRecordingSize);
  ReplaceAll(text, "sample.wma", Utf8(source));
  ReplaceAll(text, "out.mp3", Utf8(output));
  size_t first = text.find("size=");
  std::string header = text.substr(0, first);
  std::vector<std::string> records;  // each up to and including its CR
  for (size_t at = first; at < text.size();) {
    size_t end = text.find('\r', at);
    size_t next = text.find("size=", at + 5);
    if (end == std::string::npos || (next != std::string::npos && next < end)) end = next;
    if (end == std::string::npos) {
      records.push_back(text.substr(at));
      break;
    }
    size_t stop = text[end] == '\r' ? end + 1 : end;
    records.push_back(text.substr(at, stop - at));
    at = stop;
  }

  if (mode == "flood") Flood(out);
  out.Write(header);
  if (!WriteOutputFile(output, "TONEWELL FAKE MP3\nsource=" + Utf8(source) + "\n", true)) {
    out.Write(Utf8(output) + ": No such file or directory\n");
    return 1;
  }

  const double seconds = EnvSeconds(L"TONEWELL_FAKE_SECONDS", 1);
  const double delay = EnvSeconds(L"TONEWELL_FAKE_DELAY", 3);
  const DWORD start = GetTickCount();
  for (size_t i = 0; i < records.size(); ++i) {
    // Evenly paced over the requested time.
    double due = seconds * double(i) / double(records.size());
    double now = (GetTickCount() - start) / 1000.0;
    Pause(due - now);
    std::string record = records[i];
    std::string rest;
    size_t lineEnd = record.find('\n');  // the last record carries the summary line
    if (lineEnd != std::string::npos) {
      rest = record.substr(lineEnd + 1);
      record.erase(lineEnd + 1);
    }
    out.Write(record);
    if (i == 2 && mode == "hang") Hang();
    if (i == 2 && mode == "crash") Crash();
    double position = PositionOf(record);
    if (mode == "late" && i == 0) Pause(delay);
    if (position >= 0 && mode != "nomarker") {
      if (mode == "garbage") {
        out.Write("ffmpeg_release_time=abc=ffmpeg_release_time\n"
                  "ffmpeg_release_time==ffmpeg_release_time\n"
                  "ffmpeg_release_time=1.2.3=ffmpeg_release_time\n"
                  "ffmpeg_release_time=\x80\xfe\x01=ffmpeg_release_time\n"
                  "ffmpeg_release_time=12\n"
                  "\x01\x02\x7f\xff\xc0\n");
      }
      char marker[96];
      std::snprintf(marker, sizeof marker, "ffmpeg_release_time=%.2f=ffmpeg_release_time\n", position);
      out.Write(marker);
    }
    out.Write(rest);
  }
  WriteOutputFile(output, "complete\n", false);
  return 0;
}

}  // namespace

int wmain() {
  std::vector<std::wstring> args = Arguments();
  std::wstring log = Env(L"TONEWELL_FAKE_LOG");
  if (!log.empty()) {
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      std::string line = Utf8(GetCommandLineW()) + "\n";
      DWORD done = 0;
      WriteFile(file, line.data(), DWORD(line.size()), &done, nullptr);
      CloseHandle(file);
    }
  }

  std::wstring mode = Env(FAKE_PROBE_TOOL ? L"TONEWELL_FAKE_MPLAYER_MODE" : L"TONEWELL_FAKE_FFMPEG_MODE");
  if (mode.empty()) mode = Env(L"TONEWELL_FAKE_MODE");
  std::wstring match = Env(L"TONEWELL_FAKE_MATCH");
  if (!match.empty() && GetCommandLineW() != nullptr &&
      std::wstring(GetCommandLineW()).find(match) == std::wstring::npos)
    mode.clear();  // misbehave only for the matching source

  Output out;
  out.mode = Utf8(mode);
  if (out.mode == "exit1") out.mode = "fail";
  return FAKE_PROBE_TOOL ? RunProbe(args, out.mode, out) : RunConverter(args, out.mode, out);
}
