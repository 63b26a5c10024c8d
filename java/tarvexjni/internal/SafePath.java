package tarvexjni.internal;

import java.io.IOException;
import java.nio.file.Path;

/**
 * Whether another local user could change what a path leads to: the rule for the folder the
 * loader extracts into and for every library it loads by its path (POSIX systems).
 *
 * <p>The path must be a real path (no symbolic links: the caller resolves it once and then uses
 * only the result). It and every folder above it must belong to root or to this user; a folder
 * must not be writable by its group or by others unless it is sticky (as {@code /tmp} is: there
 * nobody but an entry's owner may rename or remove it); a file must not be writable by its group
 * or by others at all. Otherwise another user could rename or replace an entry between the
 * loader's check and the system's loading of it.
 *
 * <p>A folder writable by its group is refused even where the group is its owner's own
 * ("user-private groups", umask 002): whether such a group has other members is known only to
 * the system's user database, which may live beyond {@code /etc/group} (LDAP, sssd) and which
 * Java cannot ask. Accepting it on a guess would turn the check off exactly where it matters;
 * the remedy ({@code chmod g-w}) is a single command.
 */
final class SafePath {

  private static final int STICKY = 01000;
  private static final int GROUP_WRITE = 020;
  private static final int OTHER_WRITE = 02;

  /** What makes a path unsafe: the entry at fault, and the command that would mend it. */
  record Problem(Path entry, String why, String fix) {
    /** "/srv/x can be written by other users and is not sticky; remove that permission (...)" */
    String sentence(String risk) {
      return why + ", so " + risk + "; " + fix;
    }
  }

  private SafePath() {}

  /**
   * The first problem found, from {@code real} up to the root, or null when there is none.
   *
   * @param host reads the entries' owners and modes
   * @param uid this process's effective user id
   * @param real an absolute path without symbolic links
   * @param file whether {@code real} itself is a file (the library), not a folder
   */
  static Problem check(Host host, long uid, Path real, boolean file) throws IOException {
    for (Path p = real; p != null; p = p.getParent()) {
      Problem problem = of(host, host.owner(p), uid, p, file && p == real);
      if (problem != null) return problem;
    }
    return null;
  }

  private static Problem of(Host host, Host.Owner owner, long uid, Path p, boolean file) {
    if (owner.uid() != 0 && owner.uid() != uid) {
      return new Problem(
        p,
        p +
          " belongs to " +
          host.ownerName(p) +
          " (user id " +
          owner.uid() +
          "), neither this user nor root",
        "have it belong to this user or root"
      );
    }
    int write = owner.mode() & (GROUP_WRITE | OTHER_WRITE);
    if (write == 0 || (!file && (owner.mode() & STICKY) != 0)) return null;
    String who =
      write == (GROUP_WRITE | OTHER_WRITE)
        ? "its group and other users"
        : write == GROUP_WRITE
          ? "its group"
          : "other users";
    String bits =
      write == (GROUP_WRITE | OTHER_WRITE) ? "go-w" : write == GROUP_WRITE ? "g-w" : "o-w";
    return new Problem(
      p,
      p + " can be written by " + who + (file ? "" : " and is not sticky"),
      "remove that permission (chmod " + bits + " " + p + ")"
    );
  }
}
