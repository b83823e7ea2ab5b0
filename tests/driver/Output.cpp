#include "Output.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace tarn::driver {

namespace {

void WriteBytes(FILE* stream, const std::string& text) {
  // The C runtime would turn each "\n" into "\r\n" in text mode.
  _setmode(_fileno(stream), _O_BINARY);
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace

void WriteOut(const std::string& text) { WriteBytes(stdout, text); }

void WriteErr(const std::string& text) { WriteBytes(stderr, text); }

void WriteLine(const std::string& text) { WriteOut(text + "\n"); }

void Complain(const std::string& message) { WriteErr("tarndriver: " + message + "\n"); }

ExitCode Fail(const std::string& message) {
  Complain(message);
  return kFailed;
}

}  // namespace tarn::driver
