// Running the stock encoder from a companion program.
//
// Contents of this file:
//   TOutput         - our standard output and error
//   TEncoderProcess - the encoder as a child in a job that kills it when we
//                     end (also when we are killed), its output on two pipes
//   helpers         - program folder, the encoder's path, messages
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace companions {

// Exit codes of our own (the encoder's are passed on as they are).
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoEncoder = 3;
inline constexpr int kExitNotPlaced = 4;

// Folder of this program, ending in a backslash.
std::wstring ProgramFolder();
// Where the stock encoder lies: the "encoder" subfolder of the program folder.
std::wstring EncoderPath();
std::wstring SystemMessage(DWORD error);

// Writes whole pieces (whole lines, so a marker never lands inside a line
// of the encoder's) to our standard output or error.
class TOutput {
 public:
  TOutput();
  void Out(std::string_view bytes);
  void Err(std::string_view bytes);
  // A message line of ours on standard error (UTF-16 on a console, UTF-8
  // into a pipe or file).
  void Message(const std::wstring& text);

 private:
  void Write(HANDLE h, std::string_view bytes);
  HANDLE out_, err_;
};

class TEncoderProcess {
 public:
  TEncoderProcess() = default;
  ~TEncoderProcess();
  TEncoderProcess(const TEncoderProcess&) = delete;
  TEncoderProcess& operator=(const TEncoderProcess&) = delete;

  // Starts `args` (program path first) in a kill-on-close job; on failure
  // answers false with the reason in `error`.
  bool Start(const std::vector<std::wstring>& args, std::wstring& error);

  // Hands what the encoder writes to its standard output and error to the
  // handlers, on this thread, until it has ended and both pipes are empty;
  // answers its exit code.
  DWORD Run(const std::function<void(std::string_view)>& onOut,
            const std::function<void(std::string_view)>& onErr);

 private:
  HANDLE job_ = nullptr, process_ = nullptr, outRead_ = nullptr, errRead_ = nullptr;
  bool selfInJob_ = false;
};

}  // namespace companions
