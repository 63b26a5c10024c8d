// Runs whole processes again and again and reports, per case, the medians of their wall time,
// CPU time (user and system, the process and the threads it waited for) and peak resident
// memory, as wait4 reports them. The cases take turns: round r starts with case r mod n, so
// that none always runs first after a pause or always follows the same neighbour.
//
//   tvjcold <rounds> <csv or -> <label> -- <case> <program> <args...> -- <case> <program> ...
//
// Before timing, each case runs once with its output shown: a case that exits with a status
// other than 0, or that writes anything to stderr (where the JVM's warnings go), stops the
// benchmark. Timed runs send their output to /dev/null. The CSV gets one line per case:
// label,"case",runs,wall_s,cpu_s,rss_mib,wall_q1_s,wall_q3_s.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

struct Case {
  std::string name;
  std::vector<char*> argv;
  std::vector<double> wall, cpu, rss;
};

struct Run {
  int status;
  double wall, cpu, rss;
};

double seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

double now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Runs argv to its end; stdout to `out`, stderr to `err` (file descriptors, -1: /dev/null).
Run run(std::vector<char*>& argv, int out, int err) {
  double start = now();
  pid_t child = fork();
  if (child < 0) {
    std::perror("fork");
    std::exit(1);
  }
  if (child == 0) {
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(out >= 0 ? out : null, 1);
    dup2(err >= 0 ? err : null, 2);
    execvp(argv[0], argv.data());
    std::perror(argv[0]);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0) {
    if (errno != EINTR) {
      std::perror("wait4");
      std::exit(1);
    }
  }
  double wall = now() - start;
  return {status, wall, seconds(usage.ru_utime) + seconds(usage.ru_stime),
          double(usage.ru_maxrss) / 1024.0};
}

double quantile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end());
  double at = q * double(v.size() - 1);
  size_t lo = size_t(at);
  size_t hi = std::min(lo + 1, v.size() - 1);
  return v[lo] + (v[hi] - v[lo]) * (at - double(lo));
}

// The first run of a case, its output shown; false when it failed or wrote to stderr.
bool check(Case& c) {
  char path[] = "/tmp/tvjcold-XXXXXX";
  int err = mkstemp(path);
  if (err < 0) {
    std::perror("mkstemp");
    return false;
  }
  unlink(path);
  std::printf("%s: ", c.name.c_str());
  std::fflush(stdout);
  Run r = run(c.argv, 1, err);
  off_t size = lseek(err, 0, SEEK_END);
  bool ok = WIFEXITED(r.status) && WEXITSTATUS(r.status) == 0 && size == 0;
  if (!ok) {
    std::fprintf(stderr, "%s failed (status 0x%x), its stderr:\n", c.name.c_str(), r.status);
    lseek(err, 0, SEEK_SET);
    char buffer[4096];
    ssize_t n;
    while ((n = read(err, buffer, sizeof buffer)) > 0) fwrite(buffer, 1, size_t(n), stderr);
  }
  close(err);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6 || std::strcmp(argv[4], "--") != 0) {
    std::fprintf(stderr,
                 "usage: tvjcold <rounds> <csv or -> <label> -- <case> <program> <args...> "
                 "[-- <case> <program> <args...>]...\n");
    return 2;
  }
  int rounds = std::atoi(argv[1]);
  const char* csv = argv[2];
  const char* label = argv[3];
  std::vector<Case> cases;
  for (int i = 5; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) continue;
    Case c;
    c.name = argv[i++];
    while (i < argc && std::strcmp(argv[i], "--") != 0) c.argv.push_back(argv[i++]);
    c.argv.push_back(nullptr);
    if (c.argv.size() < 2) {
      std::fprintf(stderr, "case %s has no program\n", c.name.c_str());
      return 2;
    }
    cases.push_back(std::move(c));
  }
  for (Case& c : cases)
    if (!check(c)) return 1;

  size_t n = cases.size();
  for (int r = 0; r < rounds; ++r) {
    for (size_t k = 0; k < n; ++k) {
      Case& c = cases[(size_t(r) + k) % n];
      Run run_ = run(c.argv, -1, -1);
      if (!WIFEXITED(run_.status) || WEXITSTATUS(run_.status) != 0) {
        std::fprintf(stderr, "%s failed in round %d (status 0x%x)\n", c.name.c_str(), r + 1,
                     run_.status);
        return 1;
      }
      c.wall.push_back(run_.wall);
      c.cpu.push_back(run_.cpu);
      c.rss.push_back(run_.rss);
    }
  }

  FILE* out = std::strcmp(csv, "-") == 0 ? nullptr : std::fopen(csv, "a");
  if (std::strcmp(csv, "-") != 0 && out == nullptr) {
    std::perror(csv);
    return 1;
  }
  std::printf("%-34s %9s %9s %9s %17s\n", label, "wall s", "CPU s", "MiB", "wall q1 - q3");
  for (Case& c : cases) {
    double wall = quantile(c.wall, 0.5), cpu = quantile(c.cpu, 0.5), rss = quantile(c.rss, 0.5);
    double q1 = quantile(c.wall, 0.25), q3 = quantile(c.wall, 0.75);
    std::printf("%-34s %9.3f %9.3f %9.1f %8.3f - %6.3f\n", c.name.c_str(), wall, cpu, rss, q1, q3);
    if (out)
      std::fprintf(out, "%s,\"%s\",%d,%.4f,%.4f,%.1f,%.4f,%.4f\n", label, c.name.c_str(), rounds,
                   wall, cpu, rss, q1, q3);
  }
  if (out) std::fclose(out);
  return 0;
}
