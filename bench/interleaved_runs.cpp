// interleaved_runs RUNS WARMUP COMMAND...: runs each command (one string,
// split at spaces) once per round, in turn, for RUNS rounds after WARMUP
// rounds, and prints each command's mean and median wall time in ms.
// Running the commands in turn rather than one after the other spreads
// whatever else the machine does over all of them alike, so their ratios hold
// on a busy machine too.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

std::vector<std::string> Words(const std::string& command) {
  std::istringstream stream(command);
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

// The command's wall time in ms; exits when it cannot run or fails.
double TimedRun(const std::vector<std::string>& words) {
  std::vector<char*> arguments;
  for (const std::string& word : words) arguments.push_back(const_cast<char*>(word.c_str()));
  arguments.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  int status = -1;
  if (posix_spawnp(&child, arguments[0], &quiet, nullptr, arguments.data(), environ) != 0 ||
      waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s did not run to success\n", words[0].c_str());
    std::exit(1);
  }
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&quiet);
  return std::chrono::duration<double, std::milli>(end - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || std::atoi(argv[1]) < 1) {
    std::fprintf(stderr, "usage: interleaved_runs RUNS WARMUP COMMAND...\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]), warmup = std::atoi(argv[2]);
  std::vector<std::vector<std::string>> commands;
  for (int i = 3; i < argc; ++i) commands.push_back(Words(argv[i]));
  std::vector<std::vector<double>> times(commands.size());
  for (int round = 0; round < warmup + runs; ++round)
    for (size_t c = 0; c < commands.size(); ++c) {
      const double ms = TimedRun(commands[c]);
      if (round >= warmup) times[c].push_back(ms);
    }
  for (size_t c = 0; c < commands.size(); ++c) {
    std::vector<double>& t = times[c];
    std::sort(t.begin(), t.end());
    const double mean = std::accumulate(t.begin(), t.end(), 0.0) / t.size();
    std::printf("%.4f %.4f\n", mean, t[t.size() / 2]);
  }
}
