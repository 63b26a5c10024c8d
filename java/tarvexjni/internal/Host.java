package tarvexjni.internal;

import java.io.IOException;
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.AclEntry;
import java.nio.file.attribute.AclEntryFlag;
import java.nio.file.attribute.AclEntryPermission;
import java.nio.file.attribute.AclEntryType;
import java.nio.file.attribute.AclFileAttributeView;
import java.nio.file.attribute.BasicFileAttributes;
import java.nio.file.attribute.PosixFilePermissions;
import java.nio.file.attribute.UserPrincipal;
import java.time.Instant;
import java.util.EnumSet;
import java.util.List;
import java.util.Optional;

/**
 * Everything the loader asks of the process and the system, in one place, so that its decisions
 * can be exercised for another platform than the one it runs on.
 */
class Host {
  String property(String name) {
    return System.getProperty(name);
  }

  String variable(String name) {
    return System.getenv(name);
  }

  /** {@link System#load}: the library then belongs to this jar's class loader. */
  void load(String absolutePath) {
    System.load(absolutePath);
  }

  /** The version the loaded bridge reports; UnsatisfiedLinkError when it reports none. */
  String bridgeVersion() {
    return NativeLoader.bridgeVersion0();
  }

  /** A resource of the jar that holds {@code owner}, or null. */
  InputStream resource(Class<?> owner, String name) {
    return owner.getResourceAsStream("/" + name);
  }

  long pid() {
    return ProcessHandle.current().pid();
  }

  /**
   * Whether the process that made {@code folder} is gone: no process has its id, or the one that
   * has it started after the folder was made (the id was reused).
   */
  boolean ownerGone(long pid, Path folder) {
    Optional<ProcessHandle> process = ProcessHandle.of(pid);
    if (process.isEmpty()) return true;
    Optional<Instant> started = process.get().info().startInstant();
    try {
      BasicFileAttributes attributes = Files.readAttributes(folder, BasicFileAttributes.class);
      Instant made = attributes.creationTime().toInstant();
      return started.isPresent() && started.get().isAfter(made);
    } catch (IOException e) {
      return false;
    }
  }

  /**
   * A new folder under {@code parent}, named {@code prefix} and a random suffix, that only this
   * user can enter: POSIX permissions {@code rwx------}, or on Windows an access list that grants
   * its owner, alone, everything, inherited by what is made inside.
   */
  Path makePrivateFolder(Path parent, String prefix, boolean windows) throws IOException {
    if (!windows) {
      return Files.createTempDirectory(parent, prefix,
          PosixFilePermissions.asFileAttribute(PosixFilePermissions.fromString("rwx------")));
    }
    // Made empty, then restricted before anything goes in: the owner of a new folder is the
    // user (or, elevated, the Administrators group) whose token made it.
    Path folder = Files.createTempDirectory(parent, prefix);
    try {
      AclFileAttributeView view = Files.getFileAttributeView(folder, AclFileAttributeView.class);
      if (view == null) throw new IOException("the file system has no access control lists");
      view.setAcl(ownerOnly(view.getOwner()));
    } catch (IOException | RuntimeException e) {
      Files.deleteIfExists(folder);
      throw e;
    }
    return folder;
  }

  /** An access list that allows {@code owner} everything, on the folder and what it holds. */
  static List<AclEntry> ownerOnly(UserPrincipal owner) {
    return List.of(AclEntry.newBuilder()
        .setType(AclEntryType.ALLOW)
        .setPrincipal(owner)
        .setPermissions(EnumSet.allOf(AclEntryPermission.class))
        .setFlags(AclEntryFlag.FILE_INHERIT, AclEntryFlag.DIRECTORY_INHERIT)
        .build());
  }

  /** The file of a library named {@code fileName} mapped into this process, or null. */
  String mappedLibrary(String fileName) {
    try {
      for (String line : Files.readAllLines(Path.of("/proc/self/maps"))) {
        int slash = line.indexOf('/');
        if (slash < 0) continue;
        String file = line.substring(slash).replace(" (deleted)", "");
        if (file.endsWith("/" + fileName)) return file;
      }
    } catch (IOException | RuntimeException e) {
      // Without /proc the JVM's own check for a library loaded twice still applies.
    }
    return null;
  }
}
