#pragma once
// Everything the setup program keeps for the length of one run. One object, owned by the
// application and passed by reference, so that every test can build a session of its own.

#include <atomic>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/journal/InstallJournal.h"
#include "engine/log/InstallLog.h"
#include "engine/log/LoggingRegistry.h"
#include "engine/log/LoggingShell.h"
#include "engine/session/PageMetrics.h"
#include "package/PackageReader.h"
#include "package/PackageTrailer.h"
#include "platform/Platform.h"
#include "project/InstallProject.h"
#include "project/LanguageTable.h"
#include "project/PathVariables.h"

namespace tarn::engine {

// The earlier version of a file the installation replaced, moved aside until the run is over.
struct KeptCopy {
  std::string path;
  bool wasHidden = false;  // the file's own mark, given back when it is restored
};

// One decoder per core, a few at most: beyond that the disk, not the decoding, sets the pace.
unsigned DefaultDecodeThreads();

// The system services a run works with.
using Platform = platform::Platform;

struct SetupSession {
  explicit SetupSession(const Platform& platform);
  SetupSession(const SetupSession&) = delete;
  SetupSession& operator=(const SetupSession&) = delete;

  // The installation log, silent until it is opened; registry changes and shell actions reach
  // it on their own, since the run uses them through these two.
  InstallLog Log;
  LoggingRegistry LoggedRegistry;
  LoggingShell LoggedShell;

  // The given platform, with the registry and the shell above in place of the given ones.
  Platform System;
  // The ANSI code page all 8-bit text of this run is in.
  const std::uint32_t CodePage;

  // Shared lock-free between the user-interface thread and the install worker; each is only
  // ever set to a constant.
  std::atomic<bool> CancelRequested{false};
  // True from the start; false once the user abandons the installation (roll back at exit).
  std::atomic<bool> InstallRunning{false};
  // No further extraction: loading failed, a volume was given up, or the run is over.
  std::atomic<bool> ExtractionOver{false};
  // Set when the installation ran to its end; decides the process exit status.
  std::atomic<bool> InstallCompleted{false};

  PageMetrics Metrics;

  project::InstallProject Project;
  project::LanguageTable Language;
  package::PackageReader Reader;

  // The installation folder behind "[InstallDir]": a full path, a drive root as "C:\".
  std::string InstallDir;
  // Local time at loading, in every temporary file name of the run.
  std::string RunStamp;
  // The decompressed project document; later the uninstall record's source.
  std::string ProjectCopyPath;
  std::string LanguageFilePath;
  // Temporary files to delete at exit, in the order they were made.
  std::vector<std::string> TempFileList;
  std::string QuickLaunchDir1;
  std::string QuickLaunchDir2;
  // The File values of the file list and the Folder values of the folder list.
  std::vector<std::string> FileList;
  std::vector<std::string> FolderList;

  // Replaced files by target, every target this run has put in place, and targets it failed
  // to write, which still hold what was there before (written by the worker only; read by the
  // roll-back).
  std::map<std::string, KeptCopy> KeptCopies;
  std::set<std::string> WrittenFiles;
  std::set<std::string> UnwrittenFiles;

  std::string ProgramFolderPath;
  // Threads that decode files ahead of the one being put in place; 0 decodes each in its turn.
  unsigned DecodeThreads = DefaultDecodeThreads();
  // The journal of the worker's run, open from its first change to the disk until the
  // installation completed or was rolled back.
  InstallJournal Journal;
  // The licence was accepted on its page; only the user-interface thread uses it.
  bool LicenceAccepted = false;
  std::string CompanyText;
  std::string ProductKey;
  std::string ProvideForInstall;

  // Path variables of this run, seen with the current installation folder.
  project::PathContext Paths() { return {InstallDir, System.system, System.registry}; }
  std::string Expand(const std::string& path) { return project::ExpandPath(path, Paths()); }
  package::PathExpander Expander() { return project::MakePathExpander(Paths()); }
  // The run-stamped, expanded name of one of the installer's temporary files.
  std::string StampedTempName(const std::string& path);
};

// Process exit status: 0 after a completed installation, 1 otherwise, so scripts can tell.
inline int ExitStatus(const SetupSession& session) { return session.InstallCompleted ? 0 : 1; }

}  // namespace tarn::engine
