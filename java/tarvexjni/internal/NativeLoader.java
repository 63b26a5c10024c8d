package tarvexjni.internal;

import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.net.URISyntaxException;
import java.net.URL;
import java.nio.ByteBuffer;
import java.nio.channels.SeekableByteChannel;
import java.nio.charset.StandardCharsets;
import java.nio.file.DirectoryStream;
import java.nio.file.Files;
import java.nio.file.InvalidPathException;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.FileAttribute;
import java.nio.file.attribute.PosixFilePermission;
import java.nio.file.attribute.PosixFilePermissions;
import java.security.MessageDigest;
import java.security.NoSuchAlgorithmException;
import java.util.ArrayList;
import java.util.Comparator;
import java.util.EnumSet;
import java.util.HashMap;
import java.util.HexFormat;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import java.util.stream.Stream;

/**
 * Finds, checks and loads the native libraries of tarvexjni: the bridge ({@code libtarvexjni.so},
 * {@code tarvexjni.dll}) and, where its path is given, the vendor's tarvex library. Not part of
 * the public API.
 *
 * <p>The bridge comes from exactly one place, the first that applies: the path in the system
 * property {@value #BRIDGE_PROPERTY}, which must exist; else this jar's own copy for the
 * platform, under {@value #RESOURCE_DIR}{@code /<platform>/}; else, only when the jar has none
 * for the platform, {@code java.library.path}. A jar's copy is extracted into a new folder that
 * only this user can enter (under the system property {@value #WORKDIR_PROPERTY}, else
 * {@code java.io.tmpdir}), checked against its SHA-256 digest, loaded, and on Linux deleted with
 * its folder at once. Windows cannot delete a loaded library: each folder carries its process's
 * id, and folders whose process is gone are removed when the next JVM extracts.
 *
 * <p>The vendor library is loaded first when the system property {@value #VENDOR_PROPERTY} or
 * else the environment variable {@value #VENDOR_VARIABLE} names it; the bridge's dependency then
 * resolves to it by name. Otherwise Linux's dynamic linker looks beside the bridge, on
 * {@code LD_LIBRARY_PATH} and in the system's folders; on Windows a {@code tarvex.dll} beside the
 * bridge is loaded first, since Windows does not look beside a library loaded by path.
 *
 * <p>Right after loading, the bridge must report the version of these classes, or loading fails.
 * The outcome is kept: after a failure every later attempt throws an error whose cause is the
 * first, which carries as suppressed exceptions what each step that failed reported. The bridge
 * binds to the class loader that loads it first, for the life of the process.
 */
public final class NativeLoader {
  /** System property: the bridge's path. */
  public static final String BRIDGE_PROPERTY = "tarvexjni.library";
  /** System property: the vendor library's path; wins over {@link #VENDOR_VARIABLE}. */
  public static final String VENDOR_PROPERTY = "tarvex.library";
  /** Environment variable: the vendor library's path. */
  public static final String VENDOR_VARIABLE = "TARVEX_LIBRARY";
  /** System property: the folder to extract libraries into, instead of java.io.tmpdir. */
  public static final String WORKDIR_PROPERTY = "tarvexjni.workdir";
  /** Where the jar keeps its native libraries, one folder per platform. */
  public static final String RESOURCE_DIR = "tarvexjni/native";

  private static final String VERSION = BuildVersion.VERSION;
  private static final String FOLDER_PREFIX = "tarvexjni-";
  private static final Pattern FOLDER = Pattern.compile(FOLDER_PREFIX + "(\\d+)-.+");
  private static final Pattern UNDEFINED = Pattern.compile("undefined symbol: (QUMEN_\\w+)");

  private static final NativeLoader PROCESS = new NativeLoader(Platform.current(), new Host());

  private final Platform platform;
  private final Host host;
  // The private folder while it holds files, and what was extracted into it, by file name.
  private Path folder;
  private boolean swept;
  private final Map<String, Extracted> extracted = new HashMap<>();
  // The outcome: the bridge's version once loaded, or the first failure.
  private String loadedVersion;
  private UnsatisfiedLinkError failure;

  private static final class Extracted {
    final String resource;
    final Path path;
    boolean loaded;
    boolean deleted;

    Extracted(String resource, Path path) {
      this.resource = resource;
      this.path = path;
    }
  }

  NativeLoader(Platform platform, Host host) {
    this.platform = platform;
    this.host = host;
  }

  /** The version the loaded bridge was built with; bound by the bridge when it loads. */
  static native String bridgeVersion0();

  // ---- The process's loader ------------------------------------------------------------------

  /**
   * Loads the bridge as the class description says, once per process; does nothing after a
   * success.
   *
   * @throws UnsatisfiedLinkError when the bridge is not available: its message says why and
   *     what to do, its cause is the first failure (the same on every call)
   */
  public static void loadBridge() {
    PROCESS.load();
  }

  /**
   * Loads the bridge unless that was tried already, and tells how it went.
   *
   * @return null when the bridge is loaded, else the first failure
   */
  public static UnsatisfiedLinkError failure() {
    try {
      PROCESS.load();
      return null;
    } catch (UnsatisfiedLinkError e) {
      return PROCESS.firstFailure();
    }
  }

  /**
   * The version of this jar's classes, which the bridge must report.
   *
   * @return the version, e.g. {@code "0.1.0"}
   */
  public static String version() {
    return VERSION;
  }

  /**
   * The version the loaded bridge reported, loading it first.
   *
   * @return the bridge's version, the same as {@link #version()}
   * @throws UnsatisfiedLinkError as {@link #loadBridge()}
   */
  public static String bridgeVersion() {
    PROCESS.load();
    return PROCESS.loadedVersion();
  }

  /**
   * This JVM's platform as the jars name their native folders.
   *
   * @return {@code "linux-x86_64"}, {@code "linux-aarch64"} or {@code "windows-x86_64"}
   * @throws UnsatisfiedLinkError on any other operating system or architecture
   */
  public static String platform() {
    return PROCESS.platformName();
  }

  /**
   * The vendor library's file name on this platform.
   *
   * @return {@code "libtarvex.so"} or {@code "tarvex.dll"}
   */
  public static String vendorFileName() {
    return PROCESS.platform.vendorFile;
  }

  /**
   * Extracts the resource {@code resourceDir + "/" + platform() + "/" + fileName} of the jar of
   * {@code owner} into this process's private folder, under its own name, and returns the
   * extracted file's absolute path; the caller then loads it and calls {@link #loaded(Path)}. The
   * folder is new, made with the first extraction, and only this user can enter it: under the
   * system property {@value #WORKDIR_PROPERTY}, else {@code java.io.tmpdir}. The file's bytes are
   * checked against the SHA-256 digest in the resource of the same name plus {@code ".sha256"},
   * recorded when the jar was built: this catches a damaged jar, not a tampered one, whose digest
   * can be changed with it. Extracting the same resource again returns the same path.
   *
   * @param owner a class of the jar that carries the resource
   * @param resourceDir the folder that holds one folder per platform, e.g. {@value #RESOURCE_DIR}
   * @param fileName the library's file name, e.g. {@code "libtarvexjni.so"}
   * @return the extracted file's absolute path
   * @throws IllegalArgumentException when {@code fileName} is empty or names a folder
   * @throws UnsatisfiedLinkError saying what failed: no resource for this platform, no or a
   *     malformed digest, a digest mismatch, the folder or file could not be made or written
   */
  public static Path extract(Class<?> owner, String resourceDir, String fileName) {
    return PROCESS.extractFile(owner, resourceDir, fileName);
  }

  /**
   * Tells the loader that the library that {@link #extract} returned is now loaded. Where the
   * system allows it (Linux) the copy is deleted at once, and its folder when it is empty; the
   * path stays valid as {@value #VENDOR_PROPERTY}, which the loader then knows to be loaded.
   *
   * @param library the path {@link #extract} returned
   */
  public static void loaded(Path library) {
    PROCESS.markLoaded(library);
  }

  // ---- Loading -------------------------------------------------------------------------------

  synchronized void load() {
    if (failure != null) throw again();
    if (loadedVersion != null) return;
    try {
      loadOnce();
    } catch (UnsatisfiedLinkError e) {
      failure = e;
    } catch (RuntimeException e) {  // a security manager's refusal, say
      failure = withCause(new UnsatisfiedLinkError("Cannot load " + platform.bridgeFile + ": " + e),
          e);
    }
    if (failure != null) throw again();
  }

  synchronized UnsatisfiedLinkError firstFailure() {
    return failure;
  }

  synchronized String loadedVersion() {
    return loadedVersion;
  }

  private UnsatisfiedLinkError again() {
    return withCause(new UnsatisfiedLinkError(failure.getMessage()), failure);
  }

  private void loadOnce() {
    String resident = host.mappedLibrary(platform.bridgeFile);
    if (resident != null) {
      throw new UnsatisfiedLinkError(platform.bridgeFile + " is already loaded in this process ("
          + resident + "), by another class loader: the bridge serves the class loader that"
          + " loaded it first, for the life of the process. Load tarvexjni.jar once, in a class"
          + " loader that all its users share");
    }
    Path bridge;
    String where;
    Source source;
    String explicit = setting(host.property(BRIDGE_PROPERTY));
    if (explicit != null) {
      source = Source.PROPERTY;
      bridge = Path.of(explicit).toAbsolutePath();
      where = "the system property " + BRIDGE_PROPERTY + " (" + bridge + ")";
      if (!Files.isRegularFile(bridge)) {
        throw new UnsatisfiedLinkError("Cannot load " + platform.bridgeFile + " from " + where
            + ": no such file");
      }
    } else if (platform.name != null && holds(platform.name)) {
      source = Source.JAR;
      try {
        bridge = extractFile(NativeLoader.class, RESOURCE_DIR, platform.bridgeFile);
      } catch (UnsatisfiedLinkError e) {
        throw withSuppressed(new UnsatisfiedLinkError("Cannot extract the jar's copy of "
            + platform.bridgeFile + " for " + platform.name + ": " + e.getMessage()), e);
      }
      where = "the jar's copy for " + platform.name + ", extracted to " + bridge;
    } else {
      source = Source.LIBRARY_PATH;
      String none = "tarvexjni.jar has no bridge for " + platform.description + " (" + held() + ")";
      bridge = onLibraryPath();
      if (bridge == null) {
        throw new UnsatisfiedLinkError(none + ", and java.library.path ("
            + host.property("java.library.path") + ") has no " + platform.bridgeFile
            + ": build the bridge for this platform and name it with the system property "
            + BRIDGE_PROPERTY);
      }
      where = "java.library.path (" + bridge + "), since " + none;
    }
    boolean loaded = false;
    try {
      String vendor = loadVendor(bridge.getParent());
      try {
        host.load(bridge.toString());
      } catch (UnsatisfiedLinkError e) {
        String why = bridgeFailure(describe(e, bridge), where, vendor, source);
        throw withSuppressed(new UnsatisfiedLinkError(why), e);
      }
      loaded = true;
      loadedVersion = handshake(bridge, where, source);
    } finally {
      // Windows cannot delete a loaded library: the next JVM's sweep removes it.
      if (source == Source.JAR && !(loaded && platform.windows)) discard(platform.bridgeFile);
    }
  }

  private enum Source { PROPERTY, JAR, LIBRARY_PATH }

  // The bridge's version, when it is this jar's.
  private String handshake(Path bridge, String where, Source source) {
    String reported = null;
    UnsatisfiedLinkError none = null;
    try {
      reported = host.bridgeVersion();
    } catch (UnsatisfiedLinkError e) {
      none = e;
    }
    if (VERSION.equals(reported)) return reported;
    String fix = switch (source) {
      case PROPERTY -> "point the system property " + BRIDGE_PROPERTY + " at the bridge of version "
          + VERSION + ", or leave it unset to use the jar's own";
      case JAR -> "the jar is inconsistent; replace it";
      case LIBRARY_PATH -> "take it off java.library.path, or use a tarvexjni.jar that carries"
          + " the bridge for this platform";
    };
    UnsatisfiedLinkError error = new UnsatisfiedLinkError("The bridge " + bridge + " (from "
        + where + ") " + (reported == null ? "reports no version" : "is version " + reported)
        + ", but tarvexjni.jar is version " + VERSION + ": the bridge and the jar must come from"
        + " the same build; " + fix);
    throw none == null ? error : withSuppressed(error, none);
  }

  // Loads the vendor library where it is named (or, on Windows, beside the bridge); says which.
  private String loadVendor(Path bridgeFolder) {
    String path = setting(host.property(VENDOR_PROPERTY));
    String source = "from the system property " + VENDOR_PROPERTY;
    if (path == null) {
      path = setting(host.variable(VENDOR_VARIABLE));
      source = "from the environment variable " + VENDOR_VARIABLE;
    }
    Path beside = bridgeFolder.resolve(platform.vendorFile);
    if (path == null && platform.windows && Files.isRegularFile(beside)) {
      path = beside.toString();
      source = "beside the bridge";
    }
    if (path == null) return null;
    Path file = Path.of(path).toAbsolutePath();
    String where = platform.vendorFile + " " + source + " (" + file + ")";
    if (loadedCopy(file)) return where;  // loaded by the test kit; the copy may be gone
    if (!Files.isRegularFile(file)) {
      throw new UnsatisfiedLinkError("Cannot load " + where + ": no such file");
    }
    try {
      host.load(file.toString());
    } catch (UnsatisfiedLinkError e) {
      throw withSuppressed(
          new UnsatisfiedLinkError("Cannot load " + where + ": " + describe(e, file)), e);
    }
    return where;
  }

  // What the system said when `file` did not load, as the messages quote it: without the
  // file's name in front, which the messages give already (the JVM and dlerror each add it), and
  // after a sentence on the glibc versions when that is why the system refused it.
  private static String describe(UnsatisfiedLinkError e, Path file) {
    String text = String.valueOf(e.getMessage());
    while (text.startsWith(file + ": ")) text = text.substring(file.toString().length() + 2);
    return GlibcHint.explain(text);
  }

  // The message for a bridge that did not load: the likely cause first, then what was tried.
  private String bridgeFailure(String why, String where, String vendor, Source source) {
    String tried = "Cannot load " + platform.bridgeFile + " from " + where + ": " + why;
    boolean vendorMissing = platform.windows ? why.contains("Can't find dependent libraries")
        : why.contains(platform.vendorFile + ": cannot open shared object file");
    if (vendorMissing && vendor == null) {
      return "Cannot find " + platform.vendorFile + ", the tarvex library that "
          + platform.bridgeFile + " needs: set the system property " + VENDOR_PROPERTY
          + " or the environment variable " + VENDOR_VARIABLE + " to its path, or put it "
          + (source == Source.JAR ? "" : "beside the bridge or ") + "in a folder on "
          + platform.searchPath + " (tests over the stand-in: put tarvexjni-standin.jar on JUnit's"
          + " class path, or initialise tarvexjni.standin.StandIn first). " + tried;
    }
    if (vendorMissing && !platform.windows) {
      return vendor + " was loaded, but the bridge still did not find " + platform.vendorFile
          + " by that name: its SONAME must be " + platform.vendorFile + ". " + tried;
    }
    Matcher undefined = UNDEFINED.matcher(why);
    boolean lacking = platform.windows ? why.contains("The specified procedure could not be found")
        : undefined.find();
    if (lacking) {
      String library = vendor != null ? vendor
          : "the " + platform.vendorFile + " that the system's loader found";
      String function = platform.windows ? "a function (Windows does not say which)"
          : "the function " + undefined.group(1);
      return "The tarvex library " + library + " lacks " + function + ", which "
          + platform.bridgeFile + " " + VERSION + " calls: use a tarvex library that has it. "
          + tried;
    }
    if (source == Source.JAR && why.contains("failed to map segment")) {
      return tried + " (its folder is on a file system mounted noexec: set the system property "
          + WORKDIR_PROPERTY + " to a folder that allows executables)";
    }
    return tried;
  }

  // The first folder of java.library.path that holds the bridge (an empty entry is the working
  // folder, as the JVM reads it), or null.
  private Path onLibraryPath() {
    String path = host.property("java.library.path");
    if (path == null) return null;
    for (String entry : path.split(Pattern.quote(File.pathSeparator), -1)) {
      try {
        Path file = Path.of(entry.isEmpty() ? "." : entry, platform.bridgeFile).toAbsolutePath();
        if (Files.isRegularFile(file)) return file;
      } catch (InvalidPathException e) {
        // Not a path on this system: the JVM would not find a library there either.
      }
    }
    return null;
  }

  // Whether this jar carries the bridge for `name`.
  private boolean holds(String name) {
    String file = Platform.of(name.startsWith("windows") ? "Windows" : "Linux", "").bridgeFile;
    String resource = RESOURCE_DIR + "/" + name + "/" + file;
    try (InputStream in = host.resource(NativeLoader.class, resource)) {
      return in != null;
    } catch (IOException e) {
      return false;
    }
  }

  // "it has linux-x86_64, linux-aarch64" or "it has none".
  private String held() {
    List<String> names = new ArrayList<>();
    for (String name : Platform.KNOWN) if (holds(name)) names.add(name);
    return "it has " + (names.isEmpty() ? "none" : String.join(", ", names));
  }

  private String platformName() {
    if (platform.name != null) return platform.name;
    throw new UnsatisfiedLinkError("tarvexjni has no native libraries for " + platform.description
        + " (its jars can carry them for " + String.join(", ", Platform.KNOWN) + ")");
  }

  // ---- Extraction ----------------------------------------------------------------------------

  synchronized Path extractFile(Class<?> owner, String resourceDir, String fileName) {
    if (fileName.isEmpty() || fileName.contains("/") || fileName.contains("\\")) {
      throw new IllegalArgumentException("not a file name: " + fileName);
    }
    String resource = stripSlashes(resourceDir) + "/" + platformName() + "/" + fileName;
    Extracted done = extracted.get(fileName);
    if (done != null && !done.deleted) {
      if (done.resource.equals(resource)) return done.path;
      throw new UnsatisfiedLinkError("cannot extract " + resource + ": " + done.resource
          + " was already extracted to " + done.path);
    }
    String jar = jarOf(owner);
    byte[] bytes = readResource(owner, resource);
    if (bytes == null) {
      throw new UnsatisfiedLinkError(jar + " has no " + resource + ": no native library for "
          + platform.name + " in it");
    }
    byte[] digestFile = readResource(owner, resource + ".sha256");
    if (digestFile == null) {
      throw new UnsatisfiedLinkError(jar + " has no digest " + resource + ".sha256: it is damaged");
    }
    String expected = new String(digestFile, StandardCharsets.US_ASCII).trim().split("\\s+")[0];
    if (!expected.matches("[0-9a-fA-F]{64}")) {
      throw new UnsatisfiedLinkError("the digest " + resource + ".sha256 in " + jar
          + " is not a SHA-256 value: the jar is damaged");
    }
    Path file = privateFolder().resolve(fileName);
    Extracted entry = new Extracted(resource, file);
    extracted.put(fileName, entry);
    String step = "cannot write " + resource + " to " + file;
    try {
      // Owner-only from the start, in a folder nobody else can enter.
      List<FileAttribute<?>> attributes = new ArrayList<>();
      if (!platform.windows) {
        attributes.add(PosixFilePermissions.asFileAttribute(mode("rw-------")));
      }
      try (SeekableByteChannel out = Files.newByteChannel(file,
          EnumSet.of(StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE),
          attributes.toArray(new FileAttribute<?>[0]))) {
        file.toFile().deleteOnExit();  // should the process end before the file is loaded
        ByteBuffer buffer = ByteBuffer.wrap(bytes);
        while (buffer.hasRemaining()) out.write(buffer);
      }
      if (!platform.windows) Files.setPosixFilePermissions(file, mode("r-x------"));
      step = "cannot read back " + file;
      String actual = sha256(Files.readAllBytes(file));
      if (!actual.equalsIgnoreCase(expected)) {
        throw new UnsatisfiedLinkError("the copy of " + resource + " extracted to " + file
            + " has SHA-256 " + actual + ", but the digest beside it in " + jar + " says "
            + expected + ": the jar is damaged; replace it");
      }
    } catch (IOException | UnsupportedOperationException e) {
      discard(fileName);
      throw withSuppressed(new UnsatisfiedLinkError(step + ": " + e), e);
    } catch (UnsatisfiedLinkError e) {
      discard(fileName);
      throw e;
    }
    return file;
  }

  synchronized void markLoaded(Path library) {
    for (Map.Entry<String, Extracted> e : extracted.entrySet()) {
      if (!e.getValue().path.equals(library.toAbsolutePath())) continue;
      e.getValue().loaded = true;
      if (!platform.windows) discard(e.getKey());
    }
  }

  // Whether `file` is a copy extracted here and loaded since.
  private synchronized boolean loadedCopy(Path file) {
    return extracted.values().stream().anyMatch(e -> e.loaded && e.path.equals(file));
  }

  // Deletes an extracted copy, and the private folder once it is empty: the next extraction
  // makes a new one.
  private synchronized void discard(String fileName) {
    Extracted entry = extracted.get(fileName);
    if (entry == null || entry.deleted) return;
    try {
      Files.deleteIfExists(entry.path);
      entry.deleted = true;
    } catch (IOException e) {
      return;  // still loaded (Windows) or gone with its folder; deleteOnExit stays
    }
    Path in = folder;
    boolean empty = extracted.values().stream().allMatch(e -> e.deleted || !e.path.startsWith(in));
    if (in != null && empty) {
      try {
        Files.deleteIfExists(folder);
        folder = null;
      } catch (IOException e) {
        // Something else went in; deleteOnExit stays.
      }
    }
  }

  private synchronized Path privateFolder() {
    if (folder != null) return folder;
    String workdir = setting(host.property(WORKDIR_PROPERTY));
    Path parent;
    String where;
    if (workdir != null) {
      parent = Path.of(workdir).toAbsolutePath();
      where = "the system property " + WORKDIR_PROPERTY + " (" + parent + ")";
      if (!Files.isDirectory(parent)) {
        throw new UnsatisfiedLinkError("the folder in " + where + " does not exist: set "
            + WORKDIR_PROPERTY + " to an existing folder that this user can write");
      }
    } else {
      parent = Path.of(String.valueOf(host.property("java.io.tmpdir"))).toAbsolutePath();
      where = "java.io.tmpdir (" + parent + ")";
    }
    if (platform.windows && !swept) {
      swept = true;
      sweep(parent);
    }
    try {
      String prefix = FOLDER_PREFIX + host.pid() + "-";
      folder = host.makePrivateFolder(parent, prefix, platform.windows).toAbsolutePath();
    } catch (IOException | RuntimeException e) {
      throw withSuppressed(new UnsatisfiedLinkError("cannot create a private folder in " + where
          + ": " + e + "; set the system property " + WORKDIR_PROPERTY
          + " to a folder that this user can write"), e);
    }
    folder.toFile().deleteOnExit();  // after the files in it, which register later
    return folder;
  }

  // Removes the folders that earlier JVMs left in `parent` and whose process is gone. A library
  // that a live process loaded cannot be deleted on Windows anyway; what cannot go, stays.
  private void sweep(Path parent) {
    try (DirectoryStream<Path> entries = Files.newDirectoryStream(parent, FOLDER_PREFIX + "*")) {
      for (Path entry : entries) {
        Matcher m = FOLDER.matcher(entry.getFileName().toString());
        if (!m.matches() || !Files.isDirectory(entry)) continue;
        long pid;
        try {
          pid = Long.parseLong(m.group(1));
        } catch (NumberFormatException e) {
          continue;
        }
        if (pid != host.pid() && host.ownerGone(pid, entry)) deleteTree(entry);
      }
    } catch (IOException | RuntimeException e) {
      // Nothing to sweep, or not allowed to: leave it.
    }
  }

  private static void deleteTree(Path root) {
    try (Stream<Path> all = Files.walk(root)) {
      for (Path p : (Iterable<Path>) all.sorted(Comparator.reverseOrder())::iterator) {
        Files.deleteIfExists(p);
      }
    } catch (IOException | RuntimeException e) {
      // In use, or someone else's: it stays.
    }
  }

  private byte[] readResource(Class<?> owner, String resource) {
    try (InputStream in = host.resource(owner, resource)) {
      return in == null ? null : in.readAllBytes();
    } catch (IOException e) {
      throw withSuppressed(new UnsatisfiedLinkError("cannot read " + resource + " from "
          + jarOf(owner) + ": " + e), e);
    }
  }

  // "the jar /app/tarvexjni.jar", or "the jar of <class>" where the class's origin is unknown.
  private static String jarOf(Class<?> owner) {
    try {
      URL location = owner.getProtectionDomain().getCodeSource().getLocation();
      return "the jar " + Path.of(location.toURI());
    } catch (RuntimeException | URISyntaxException e) {
      return "the jar of " + owner.getName();
    }
  }

  // ---- Helpers -------------------------------------------------------------------------------

  private static String setting(String value) {
    return value == null || value.isEmpty() ? null : value;
  }

  private static UnsatisfiedLinkError withSuppressed(UnsatisfiedLinkError error, Throwable step) {
    error.addSuppressed(step);
    return error;
  }

  private static UnsatisfiedLinkError withCause(UnsatisfiedLinkError error, Throwable cause) {
    error.initCause(cause);
    return error;
  }

  private static Set<PosixFilePermission> mode(String text) {
    return PosixFilePermissions.fromString(text);
  }

  private static String sha256(byte[] bytes) {
    try {
      return HexFormat.of().formatHex(MessageDigest.getInstance("SHA-256").digest(bytes));
    } catch (NoSuchAlgorithmException e) {
      throw new UnsatisfiedLinkError("no SHA-256 in this JVM: " + e);
    }
  }

  private static String stripSlashes(String dir) {
    int from = 0;
    int to = dir.length();
    while (from < to && dir.charAt(from) == '/') ++from;
    while (to > from && dir.charAt(to - 1) == '/') --to;
    return dir.substring(from, to);
  }
}
