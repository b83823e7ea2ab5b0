#pragma once
// Running other programs: waiting for them, or starting command lines the system builds.

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/session/SetupSession.h"

namespace tarn::engine {

// What RunAndWait gives when the program could not be started.
constexpr std::uint32_t kStartFailed = 781205;

// Paths and command lines of 500 characters or more are refused, never cut: a cut path names
// another file.
constexpr std::size_t kMaxCommandLength = 499;

// The folder of a program: the text before its last backslash, keeping the backslash of a
// drive root ("C:\"). Empty when the path has no backslash.
std::string ProgramFolder(const std::string& path, std::uint32_t codePage);

// Runs the program at `path` from its own folder and waits for it; its exit code, or
// kStartFailed after telling the user it could not be started (also for a path too long).
std::uint32_t RunAndWait(const Platform& platform, std::uint32_t codePage, const std::string& path,
                         std::int32_t show);

// Starts a command line without waiting. False, with nothing started, for a line too long.
bool StartCommand(platform::Shell& shell, const std::string& commandLine, std::int32_t show);

}  // namespace tarn::engine
