package tarvexjni.internal;

import java.io.IOException;
import java.io.InputStream;
import java.lang.ref.Reference;
import java.net.JarURLConnection;
import java.net.URI;
import java.net.URISyntaxException;
import java.net.URL;
import java.net.URLConnection;
import java.nio.ByteBuffer;
import java.nio.MappedByteBuffer;
import java.nio.channels.FileChannel;
import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;
import java.nio.file.FileAlreadyExistsException;
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
import java.nio.file.attribute.FileAttribute;
import java.nio.file.attribute.PosixFilePermissions;
import java.nio.file.attribute.UserPrincipal;
import java.security.CodeSigner;
import java.security.CodeSource;
import java.security.MessageDigest;
import java.security.NoSuchAlgorithmException;
import java.time.Instant;
import java.util.ArrayList;
import java.util.EnumSet;
import java.util.List;
import java.util.Map;
import java.util.Optional;
import java.util.jar.JarEntry;
import java.util.jar.JarFile;

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
    Path local = jarPath(url, name);
    if (local != null) {
      // The jar opened as a JarFile of its own, which checks a signed entry as the URL's would
      // (the class loader's copy stays open; this one is closed): setting up a jar: URL's
      // connection costs a JVM that has just started more than reading the entry.
      try (JarFile file = new JarFile(local.toFile(), true)) {
        JarEntry entry = file.getJarEntry(name);
        if (entry != null) {
          byte[] bytes;
          try (InputStream in = file.getInputStream(entry)) {
            // Inflated straight into an array of the entry's size where the jar records it.
            long size = entry.getSize();
            if (size < 0 || size > Integer.MAX_VALUE - 8) {
              bytes = in.readAllBytes();
            } else {
              bytes = new byte[(int) size];
              if (in.readNBytes(bytes, 0, bytes.length) != bytes.length || in.read() != -1) {
                throw new IOException(name + " in " + local + " is not as long as its entry says");
              }
            }
          }
          return new Resource(bytes, entry.getCodeSigners());
        }
      }
    }
    URLConnection connection = url.openConnection();
    byte[] bytes;
    try (InputStream in = connection.getInputStream()) {
      bytes = in.readAllBytes();
    }
    CodeSigner[] signers =
      connection instanceof JarURLConnection jar ? jar.getJarEntry().getCodeSigners() : null;
    return new Resource(bytes, signers);
  }

  // The local jar that a resource's URL ("jar:file:/app/tarvexjni.jar!/<name>") names, or null
  // for any other kind of URL.
  private static Path jarPath(URL url, String name) {
    String suffix = "!/" + name;
    String inner = url.getPath();
    if (!url.getProtocol().equals("jar") || !inner.endsWith(suffix) || !inner.startsWith("file:")) {
      return null;
    }
    try {
      return Path.of(new URI(inner.substring(0, inner.length() - suffix.length())));
    } catch (URISyntaxException | RuntimeException e) {
      return null;
    }
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
    // /proc/self names this process; ProcessHandle sets up the JDK's reaper of child processes
    // first, at a cost in start-up time.
    try {
      return Long.parseLong(Files.readSymbolicLink(Path.of("/proc/self")).toString());
    } catch (IOException | RuntimeException e) {
      return ProcessHandle.current().pid();
    }
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

  /**
   * A new SHA-256 digest, the JDK's. Its first use sets up the JDK's security providers, which a
   * JVM that has just started has not loaded yet.
   */
  MessageDigest sha256() throws NoSuchAlgorithmException {
    return MessageDigest.getInstance("SHA-256");
  }

  // ---- POSIX: who may change a file, and which file is mapped ---------------------------------

  /** The effective user id of this process: the owner of what it makes. */
  long uid() throws IOException {
    String status = "\n" + procText("/proc/self/status");
    int at = status.indexOf("\nUid:");
    if (at >= 0) {
      int end = status.indexOf('\n', at + 1);
      String[] ids = fields(status, at + 5, end < 0 ? status.length() : end, 4);
      try {
        return Long.parseLong(ids[1]); // real, effective, saved, file system
      } catch (RuntimeException e) {
        // as if there were none
      }
    }
    throw new IOException("/proc/self/status has no user ids");
  }

  // A file of /proc as text, one character per byte: the lines are read where they are, with
  // String's own searches, not split and decoded one by one.
  private static String procText(String file) throws IOException {
    return new String(Files.readAllBytes(Path.of(file)), StandardCharsets.ISO_8859_1);
  }

  // The fields of text[from, to) separated by spaces and tabs, at most `most` (the last one takes
  // the rest of the range as it is).
  private static String[] fields(String text, int from, int to, int most) {
    List<String> found = new ArrayList<>(most);
    int i = from;
    while (found.size() < most) {
      while (i < to && (text.charAt(i) == ' ' || text.charAt(i) == '\t')) i++;
      if (i >= to) break;
      int end = i;
      if (found.size() == most - 1) {
        end = to;
      } else {
        while (end < to && text.charAt(end) != ' ' && text.charAt(end) != '\t') end++;
      }
      found.add(text.substring(i, end));
      i = end;
    }
    return found.toArray(new String[0]);
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
    return mappings(procText("/proc/self/maps"), asMapped(file.toString()));
  }

  /** The mappings of the file {@code wanted} in the text of a /proc/<pid>/maps. */
  static List<Mapping> mappings(String maps, String wanted) {
    List<Mapping> found = new ArrayList<>();
    for (int at = maps.indexOf(wanted); at >= 0; at = maps.indexOf(wanted, at + 1)) {
      int start = maps.lastIndexOf('\n', at) + 1;
      int end = maps.indexOf('\n', at);
      String line = maps.substring(start, end < 0 ? maps.length() : end);
      // address perms offset device inode path
      String[] f = fields(line, 0, line.length(), 6);
      if (f.length < 6) continue;
      String path = f[5].endsWith(" (deleted)") ? f[5].substring(0, f[5].length() - 10) : f[5];
      if (!path.equals(wanted)) continue;
      found.add(new Mapping(new FileId(f[3], Long.parseLong(f[4])), code(line)));
      at = end < 0 ? maps.length() : end;
    }
    return found;
  }

  // A path as /proc/self/maps shows it, one character per byte: in the encoding of file names.
  private static String asMapped(String path) {
    return new String(path.getBytes(fileNames()), StandardCharsets.ISO_8859_1);
  }

  private static Charset fileNames() {
    try {
      return Charset.forName(System.getProperty("sun.jnu.encoding", "UTF-8"));
    } catch (RuntimeException e) {
      return StandardCharsets.UTF_8;
    }
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
    if (!windows) return privateFolder(parent, prefix);
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

  // A POSIX folder named as Files.createTempDirectory names it (a random number after the
  // prefix, drawn again should the name exist), with the number read from /dev/urandom: the
  // SecureRandom that the JDK would set up first costs a JVM that has just started more than the
  // rest of the extraction. Where there is no /dev/urandom, as the JDK does it.
  private static Path privateFolder(Path parent, String prefix) throws IOException {
    FileAttribute<?> mode = PosixFilePermissions.asFileAttribute(
      PosixFilePermissions.fromString("rwx------")
    );
    FileChannel random;
    try {
      random = FileChannel.open(Path.of("/dev/urandom"), StandardOpenOption.READ);
    } catch (IOException e) {
      return Files.createTempDirectory(parent, prefix, mode);
    }
    try (random) {
      ByteBuffer bytes = ByteBuffer.allocate(8);
      for (int attempt = 1; ; attempt++) {
        bytes.clear();
        while (bytes.hasRemaining()) {
          if (random.read(bytes) < 0) throw new IOException("/dev/urandom came to an end");
        }
        Path folder = parent.resolve(prefix + Long.toUnsignedString(bytes.getLong(0)));
        try {
          return Files.createDirectory(folder, mode);
        } catch (FileAlreadyExistsException e) {
          if (attempt == 100) throw e;
        }
      }
    }
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

  /** The file named {@code fileName} whose code the text of a /proc/<pid>/maps maps, or null. */
  static String codeOf(String maps, String fileName) {
    String name = "/" + fileName;
    for (int at = maps.indexOf(name); at >= 0; at = maps.indexOf(name, at + 1)) {
      int start = maps.lastIndexOf('\n', at) + 1;
      int end = maps.indexOf('\n', at);
      String line = maps.substring(start, end < 0 ? maps.length() : end);
      int slash = line.indexOf('/');
      if (slash < 0 || !code(line)) continue; // not code: the loader's own check's mapping
      String file = line.substring(slash).replace(" (deleted)", "");
      if (file.endsWith(name)) return file;
    }
    return null;
  }

  /** The file of a library named {@code fileName} whose code is mapped into this process, or null. */
  String mappedLibrary(String fileName) {
    try {
      String file = codeOf(procText("/proc/self/maps"), fileName);
      if (file != null) return new String(file.getBytes(StandardCharsets.ISO_8859_1), fileNames());
    } catch (IOException | RuntimeException e) {
      // Without /proc the JVM's own check for a library loaded twice still applies.
    }
    return null;
  }
}
