// Program start from a command line; see program_start.h.
#include "platform/program_start.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fcntl.h>
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

StartResult Spawn(std::vector<std::string> args, bool quiet = false) {
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
  // A quiet start keeps the child's chatter off the program's output.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (quiet) {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc == 0) {
    Started().push_back(pid);
    return {StartOutcome::Started, 0};
  }
  if (rc == ENOENT || rc == EACCES || rc == ENOEXEC) return {StartOutcome::NotFound, rc};
  if (rc == ENOMEM || rc == EAGAIN) return {StartOutcome::OutOfMemory, rc};
  return {StartOutcome::Failed, rc};
}

// The opener decides quickly when nothing can open a document and says so
// by its exit status; a program it hands the document to may run on for
// long (some openers wait for it). The start waits this long for a refusal.
constexpr int kOpenerWaitMs = 1500;

StartResult SpawnOpener(const std::string& path) {
  const StartResult started = Spawn({"xdg-open", path}, true);
  if (started.outcome != StartOutcome::Started) return started;
  const pid_t pid = Started().back();
  for (int waited = 0; waited < kOpenerWaitMs; waited += 10) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      Started().pop_back();
      if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {StartOutcome::Started, 0};
      // 2: no such file; 3: no program for it; 4: its program failed.
      const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      return {code == 2 || code == 3 ? StartOutcome::NotFound : StartOutcome::Failed, code};
    }
    if (done < 0) break;
    usleep(10000);
  }
  return {StartOutcome::Started, 0};
}

StartResult SystemStart(const std::string& commandLine) { return Spawn(CommandLineWords(commandLine)); }

}  // namespace

std::vector<std::string> CommandLineWords(const std::string& commandLine) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (const char c : commandLine) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

std::string CommandLineWord(const std::string& text) {
  const bool inQuotes = text.size() >= 2 && text.front() == '"' && text.back() == '"';
  if (inQuotes || text.find_first_of(" \t") == std::string::npos) return text;
  return '"' + text + '"';
}

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
  return SpawnOpener(path);
}

void SetDocumentOpener(DocumentOpener opener) { InstalledOpener() = std::move(opener); }

ScopedDocumentOpener::ScopedDocumentOpener(DocumentOpener opener) : previous_(InstalledOpener()) {
  InstalledOpener() = std::move(opener);
}

ScopedDocumentOpener::~ScopedDocumentOpener() { InstalledOpener() = std::move(previous_); }

}  // namespace platform
