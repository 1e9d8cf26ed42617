// mplayer.exe of the program folder: prints the playing time of one file as
// the stock encoder reads it, in the line "ID_LENGTH=<seconds>", and exits.
// A file the encoder cannot read gives no such line and exit code 1.
//
//   mplayer.exe -msglevel identify=6 -vo none -ao none FILE [ignored...]
#include <windows.h>

#include <string>
#include <vector>

#include "companions/logic/CommandLine.h"
#include "companions/logic/EncoderOutput.h"
#include "companions/win/EncoderProcess.h"

using namespace companions;

int wmain(int argc, wchar_t** argv) {
  TOutput out;
  const auto parsed = ParseProbeArguments(std::vector<std::wstring>(argv + 1, argv + argc));
  if (!parsed.request) {
    out.Message(L"mplayer.exe: " + parsed.error);
    out.Message(L"usage: mplayer.exe -msglevel identify=6 -vo none -ao none FILE");
    return kExitUsage;
  }
  const std::wstring encoder = EncoderPath();
  if (GetFileAttributesW(encoder.c_str()) == INVALID_FILE_ATTRIBUTES) {
    out.Message(L"mplayer.exe: the stock encoder is missing: " + encoder);
    return kExitNoEncoder;
  }
  TEncoderProcess process;
  std::wstring error;
  if (!process.Start(EncoderProbeArguments(encoder, parsed.request->file), error)) {
    out.Message(L"mplayer.exe: " + error);
    return kExitNoEncoder;
  }
  // The description is short; keep a bounded copy to search and pass every
  // byte through.
  constexpr size_t kKeep = 1 << 20;
  std::string described;
  auto take = [&](std::string_view bytes) {
    out.Out(bytes);
    if (described.size() < kKeep) described.append(bytes.substr(0, kKeep - described.size()));
  };
  process.Run(take, take);
  const auto length = DurationMicroseconds(described);
  if (!length) {
    out.Message(L"mplayer.exe: no playing time found for " + parsed.request->file);
    return 1;
  }
  out.Out("ID_LENGTH=" + SecondsText(*length) + "\r\n");
  return 0;
}
