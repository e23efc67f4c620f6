// Program start from a command line; see program_start.h.
#include "platform/program_start.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>
#include <vector>

extern char** environ;

namespace platform {

namespace {

CommandStarter& Installed() {
  static CommandStarter starter;
  return starter;
}

// Children that were started and not waited for; each later start collects
// the ones that have ended, so that none lingers as a zombie.
std::vector<pid_t>& Started() {
  static std::vector<pid_t> pids;
  return pids;
}

void CollectEnded() {
  std::vector<pid_t>& pids = Started();
  for (auto it = pids.begin(); it != pids.end();) {
    int status = 0;
    if (waitpid(*it, &status, WNOHANG) != 0)
      it = pids.erase(it);
    else
      ++it;
  }
}

DocumentOpener& InstalledOpener() {
  static DocumentOpener opener;
  return opener;
}

StartResult Spawn(std::vector<std::string> args) {
  if (args.empty()) return {StartOutcome::NotFound, ENOENT};
  // A program named with a directory must be there and runnable; a bare
  // name is looked for on the PATH by the spawn.
  if (args[0].find('/') != std::string::npos) {
    struct stat info {};
    if (stat(args[0].c_str(), &info) != 0 || !S_ISREG(info.st_mode) || access(args[0].c_str(), X_OK) != 0)
      return {StartOutcome::NotFound, ENOENT};
  }
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  CollectEnded();
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
  if (rc == 0) {
    Started().push_back(pid);
    return {StartOutcome::Started, 0};
  }
  if (rc == ENOENT || rc == EACCES || rc == ENOEXEC) return {StartOutcome::NotFound, rc};
  if (rc == ENOMEM || rc == EAGAIN) return {StartOutcome::OutOfMemory, rc};
  return {StartOutcome::Failed, rc};
}

StartResult SystemStart(const std::string& commandLine) {
  std::istringstream words(commandLine);
  std::vector<std::string> args;
  for (std::string word; words >> word;) args.push_back(word);
  return Spawn(std::move(args));
}

}  // namespace

StartResult StartCommandLine(const std::string& commandLine) {
  if (Installed()) return Installed()(commandLine);
  return SystemStart(commandLine);
}

void SetCommandStarter(CommandStarter starter) { Installed() = std::move(starter); }

ScopedCommandStarter::ScopedCommandStarter(CommandStarter starter) : previous_(Installed()) {
  Installed() = std::move(starter);
}

ScopedCommandStarter::~ScopedCommandStarter() { Installed() = std::move(previous_); }

StartResult OpenDocument(const std::string& path) {
  if (InstalledOpener()) return InstalledOpener()(path);
  if (path.empty()) return {StartOutcome::NotFound, ENOENT};
  return Spawn({"xdg-open", path});
}

void SetDocumentOpener(DocumentOpener opener) { InstalledOpener() = std::move(opener); }

ScopedDocumentOpener::ScopedDocumentOpener(DocumentOpener opener) : previous_(InstalledOpener()) {
  InstalledOpener() = std::move(opener);
}

ScopedDocumentOpener::~ScopedDocumentOpener() { InstalledOpener() = std::move(previous_); }

}  // namespace platform
