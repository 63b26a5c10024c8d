package tarvexjni.internal;

import java.io.IOException;
import java.io.InputStream;
import java.lang.ref.Reference;
import java.net.JarURLConnection;
import java.net.URL;
import java.net.URLConnection;
import java.nio.ByteBuffer;
import java.nio.MappedByteBuffer;
import java.nio.channels.FileChannel;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.LinkOption;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.AclEntry;
import java.nio.file.attribute.AclEntryFlag;
import java.nio.file.attribute.AclEntryPermission;
import java.nio.file.attribute.AclEntryType;
import java.nio.file.attribute.AclFileAttributeView;
import java.nio.file.attribute.BasicFileAttributes;
import java.nio.file.attribute.PosixFilePermissions;
import java.nio.file.attribute.UserPrincipal;
import java.security.CodeSigner;
import java.security.CodeSource;
import java.security.MessageDigest;
import java.time.Instant;
import java.util.ArrayList;
import java.util.EnumSet;
import java.util.List;
import java.util.Map;
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

  /**
   * Lets the accepted bridge act on the process, with the encoding of texts (both null for the
   * locale's codeset); UnsatisfiedLinkError when it cannot.
   */
  void activateBridge(String codeset, char[] units) {
    NativeLoader.activate0(codeset, units);
  }

  /** Whether the jar that holds {@code owner} has the resource. */
  boolean hasResource(Class<?> owner, String name) {
    return owner.getResource("/" + name) != null;
  }

  /** A resource's bytes and who signed it. */
  record Resource(byte[] bytes, CodeSigner[] signers) {}

  /**
   * A resource of the jar that holds {@code owner}, read whole, or null. Its signers are known
   * once it is read to its end, where a signed jar's entry is checked against its signature: a
   * {@link SecurityException} says that it does not match.
   */
  Resource readResource(Class<?> owner, String name) throws IOException {
    URL url = owner.getResource("/" + name);
    if (url == null) return null;
    URLConnection connection = url.openConnection();
    byte[] bytes;
    try (InputStream in = connection.getInputStream()) {
      bytes = in.readAllBytes();
    }
    CodeSigner[] signers =
      connection instanceof JarURLConnection jar ? jar.getJarEntry().getCodeSigners() : null;
    return new Resource(bytes, signers);
  }

  /**
   * Who signed the class {@code owner}, or null. On the class path its code source says; a
   * named module's classes have none even when their jar is signed, so there the signers of the
   * class file's own entry count. A {@link SecurityException} says that it does not match them.
   */
  CodeSigner[] signers(Class<?> owner) {
    CodeSource source = owner.getProtectionDomain().getCodeSource();
    if (source != null && source.getCodeSigners() != null) return source.getCodeSigners();
    try {
      Resource classFile = readResource(owner, owner.getName().replace('.', '/') + ".class");
      return classFile == null ? null : classFile.signers();
    } catch (IOException e) {
      return null;
    }
  }

  long pid() {
    return ProcessHandle.current().pid();
  }

  /**
   * Whether the process that made {@code folder} is gone: no process has its id, or the one that
   * has it started after the folder was made (the id was reused). On Windows the folder's
   * creation time says when; on Linux its last modification: only its owner could change it
   * (nobody else can enter it), so a live process of that id that started before then is the
   * owner.
   */
  boolean ownerGone(long pid, Path folder, boolean windows) {
    Optional<ProcessHandle> process = ProcessHandle.of(pid);
    if (process.isEmpty()) return true;
    Optional<Instant> started = process.get().info().startInstant();
    try {
      BasicFileAttributes attributes = Files.readAttributes(
        folder,
        BasicFileAttributes.class,
        LinkOption.NOFOLLOW_LINKS
      );
      Instant made = (
        windows ? attributes.creationTime() : attributes.lastModifiedTime()
      ).toInstant();
      return started.isPresent() && started.get().isAfter(made);
    } catch (IOException e) {
      return false;
    }
  }

  // ---- POSIX: who may change a file, and which file is mapped ---------------------------------

  /** The effective user id of this process: the owner of what it makes. */
  long uid() throws IOException {
    for (String line : Files.readAllLines(
      Path.of("/proc/self/status"),
      StandardCharsets.ISO_8859_1
    )) {
      if (!line.startsWith("Uid:")) continue;
      String[] ids = line.substring(4).trim().split("\\s+"); // real, effective, saved, file system
      try {
        return Long.parseLong(ids[1]);
      } catch (RuntimeException e) {
        break;
      }
    }
    throw new IOException("/proc/self/status has no user ids");
  }

  /** A file's owner and its mode bits, with the file type and the sticky bit. */
  record Owner(long uid, int mode) {}

  /** The owner and mode of {@code path} itself; a symbolic link is not followed. */
  Owner owner(Path path) throws IOException {
    Map<String, Object> a = Files.readAttributes(path, "unix:uid,mode", LinkOption.NOFOLLOW_LINKS);
    return new Owner(((Number) a.get("uid")).longValue(), ((Number) a.get("mode")).intValue());
  }

  /** The name of the user who owns {@code path}, for messages; its id where it has none. */
  String ownerName(Path path) {
    try {
      return Files.getOwner(path, LinkOption.NOFOLLOW_LINKS).getName();
    } catch (IOException | RuntimeException e) {
      return "another user";
    }
  }

  /**
   * How /proc/self/maps names a mapped file: its device ({@code "fe:01"}) and inode. Taken from a
   * mapping, not from {@code stat}: on some file systems (overlayfs, as containers use) the two
   * differ, and a mapping is what the system's loader makes too.
   */
  record FileId(String device, long inode) {
    // Written out: a record's generated methods are bound on first use, at a cost in start-up
    // time that loading a library should not pay.
    @Override
    public boolean equals(Object other) {
      return other instanceof FileId id && id.inode == inode && id.device.equals(device);
    }

    @Override
    public int hashCode() {
      return device.hashCode() * 31 + Long.hashCode(inode);
    }

    @Override
    public String toString() {
      return "device " + device + ", inode " + inode;
    }
  }

  /** A mapping of a file into this process, and whether its pages are code. */
  record Mapping(FileId file, boolean executable) {}

  /**
   * Opens {@code file}, passes its bytes to {@code digest} when that is given, and returns the
   * identity of a mapping of one page of it, made through the same descriptor: the identity of
   * the file that was read. The mapping is dropped with its buffer, when the collector gets to it.
   */
  FileId identify(Path file, MessageDigest digest) throws IOException {
    try (
      FileChannel channel = FileChannel.open(
        file,
        StandardOpenOption.READ,
        LinkOption.NOFOLLOW_LINKS
      )
    ) {
      long size = channel.size();
      if (size == 0) throw new IOException(file + " is empty");
      if (digest != null) {
        // Read into the heap, not digested through the mapping: the digest's fast path takes
        // arrays, and a JVM that has just started runs the buffer's path far slower.
        if (size > Integer.MAX_VALUE) throw new IOException(file + " is too large");
        ByteBuffer bytes = ByteBuffer.allocate((int) size);
        while (bytes.hasRemaining() && channel.read(bytes) >= 0) {}
        if (bytes.hasRemaining()) throw new IOException(file + " ended while it was read");
        digest.update(bytes.array());
      }
      MappedByteBuffer page = channel.map(FileChannel.MapMode.READ_ONLY, 0, 1);
      FileId id = null;
      for (Mapping m : mapped(file)) {
        if (m.executable) continue; // the system's loader's, not this one
        if (id != null && !id.equals(m.file)) {
          throw new IOException(
            file + " changed while it was checked (" + id + ", then " + m.file + ")"
          );
        }
        id = m.file;
      }
      Reference.reachabilityFence(page);
      if (id == null) throw new IOException("/proc/self/maps does not show the mapping of " + file);
      return id;
    }
  }

  /** The mappings of {@code file} (by the absolute path it was opened with) in this process. */
  List<Mapping> mappings(Path file) throws IOException {
    return mapped(file);
  }

  private static List<Mapping> mapped(Path file) throws IOException {
    String wanted = file.toString();
    List<Mapping> found = new ArrayList<>();
    for (String line : Files.readAllLines(Path.of("/proc/self/maps"))) {
      if (line.indexOf(wanted) < 0) continue; // most lines: cheap to pass over
      // address perms offset device inode path
      String[] f = line.trim().split("\\s+", 6);
      if (f.length < 6) continue;
      String path = f[5].endsWith(" (deleted)") ? f[5].substring(0, f[5].length() - 10) : f[5];
      if (!path.equals(wanted)) continue;
      found.add(new Mapping(new FileId(f[3], Long.parseLong(f[4])), code(line)));
    }
    return found;
  }

  // Whether a line of /proc/self/maps maps code: "<address> r-xp ...".
  private static boolean code(String line) {
    int space = line.indexOf(' ');
    return space >= 0 && line.length() > space + 3 && line.charAt(space + 3) == 'x';
  }

  /**
   * A new folder under {@code parent}, named {@code prefix} and a random suffix, that only this
   * user can enter: POSIX permissions {@code rwx------}, or on Windows an access list that grants
   * its owner, alone, everything, inherited by what is made inside.
   */
  Path makePrivateFolder(Path parent, String prefix, boolean windows) throws IOException {
    if (!windows) {
      return Files.createTempDirectory(
        parent,
        prefix,
        PosixFilePermissions.asFileAttribute(PosixFilePermissions.fromString("rwx------"))
      );
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
    return List.of(
      AclEntry.newBuilder()
        .setType(AclEntryType.ALLOW)
        .setPrincipal(owner)
        .setPermissions(EnumSet.allOf(AclEntryPermission.class))
        .setFlags(AclEntryFlag.FILE_INHERIT, AclEntryFlag.DIRECTORY_INHERIT)
        .build()
    );
  }

  /** The file of a library named {@code fileName} whose code is mapped into this process, or null. */
  String mappedLibrary(String fileName) {
    try {
      for (String line : Files.readAllLines(Path.of("/proc/self/maps"))) {
        int slash = line.indexOf('/');
        if (slash < 0 || !code(line)) continue; // not code: the loader's own check's mapping
        String file = line.substring(slash).replace(" (deleted)", "");
        if (file.endsWith("/" + fileName)) return file;
      }
    } catch (IOException | RuntimeException e) {
      // Without /proc the JVM's own check for a library loaded twice still applies.
    }
    return null;
  }
}
