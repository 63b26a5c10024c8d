package tarvexjni.internal;

import java.io.IOException;
import java.io.InputStream;
import java.nio.ByteBuffer;
import java.nio.channels.SeekableByteChannel;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.PosixFilePermissions;
import java.security.MessageDigest;
import java.security.NoSuchAlgorithmException;
import java.util.ArrayList;
import java.util.EnumSet;
import java.util.HashMap;
import java.util.HexFormat;
import java.util.List;
import java.util.Locale;
import java.util.Map;

/**
 * Finds and loads the native libraries of tarvexjni: the bridge {@code libtarvexjni.so} and,
 * when its path is given, the vendor's {@code libtarvex.so}. Not part of the public API.
 *
 * <p>The bridge comes from the first of: the path in the system property
 * {@value #BRIDGE_PROPERTY} (when set, the only place tried); {@code java.library.path}; the
 * copy inside this jar, under {@value #RESOURCE_DIR}{@code /<platform>/}, extracted into a
 * directory private to this process. The vendor library, when the system property
 * {@value #VENDOR_PROPERTY} or else the environment variable {@value #VENDOR_VARIABLE} names
 * it, is loaded first: the bridge's dependency on {@code libtarvex.so} then resolves to it by
 * its SONAME. Otherwise the dynamic linker looks for it beside the bridge, on
 * {@code LD_LIBRARY_PATH} and in the system's folders.
 *
 * <p>The bridge binds to the class loader that loads it first, for the life of the process. A
 * second class loader that loads {@code Norv1.LocalIface} gets an {@link UnsatisfiedLinkError}
 * saying so, rather than a second copy of the bridge in the process.
 */
public final class NativeLoader {
  /** System property: the bridge's path. */
  public static final String BRIDGE_PROPERTY = "tarvexjni.library";
  /** System property: the vendor library's path; wins over {@link #VENDOR_VARIABLE}. */
  public static final String VENDOR_PROPERTY = "tarvex.library";
  /** Environment variable: the vendor library's path. */
  public static final String VENDOR_VARIABLE = "TARVEX_LIBRARY";
  /** Where the jar keeps its native libraries, one folder per platform. */
  public static final String RESOURCE_DIR = "tarvexjni/native";

  private static final String BRIDGE = "libtarvexjni.so";
  private static final String VENDOR = "libtarvex.so";

  // This process's private directory, made on the first extraction, and what went into it.
  private static Path privateDirectory;
  private static final Map<String, Extracted> extracted = new HashMap<>();
  private static boolean bridgeLoaded;

  private record Extracted(String resource, Path path) {}

  private NativeLoader() {}

  /**
   * This JVM's platform as the jar names its native folders.
   *
   * @return {@code "linux-x86_64"} or {@code "linux-aarch64"}
   * @throws UnsatisfiedLinkError on any other operating system or architecture
   */
  public static String platform() {
    String os = System.getProperty("os.name", "").toLowerCase(Locale.ROOT);
    String arch = System.getProperty("os.arch", "").toLowerCase(Locale.ROOT);
    if (os.equals("linux")) {
      if (arch.equals("amd64") || arch.equals("x86_64")) return "linux-x86_64";
      if (arch.equals("aarch64") || arch.equals("arm64")) return "linux-aarch64";
    }
    throw new UnsatisfiedLinkError("tarvexjni has no native libraries for " + os + " on " + arch
        + " (it has them for linux-x86_64 and linux-aarch64)");
  }

  /**
   * Extracts the resource {@code resourceDir + "/" + platform() + "/" + fileName} of the jar of
   * {@code owner} into this process's private directory, under its own name, and returns the
   * extracted file's absolute path. The directory is made once per process (per loader of this
   * class): a new one with an unpredictable name under {@code java.io.tmpdir}, owner-only
   * permissions, removed with its files when the JVM exits. The file's bytes are checked against
   * the SHA-256 digest in the resource of the same name plus {@code ".sha256"}, recorded when the
   * jar was built. Extracting the same resource again returns the same path.
   *
   * @param owner a class of the jar that carries the resource
   * @param resourceDir the folder that holds one folder per platform, e.g. {@value #RESOURCE_DIR}
   * @param fileName the library's file name, e.g. {@code "libtarvexjni.so"}
   * @return the extracted file's absolute path
   * @throws IllegalArgumentException when {@code fileName} is empty or has a {@code '/'}
   * @throws UnsatisfiedLinkError saying what failed: no resource for this platform, no or a
   *     malformed digest, a digest mismatch, the directory or file could not be made or written
   */
  public static synchronized Path extract(Class<?> owner, String resourceDir, String fileName) {
    if (fileName.isEmpty() || fileName.contains("/")) {
      throw new IllegalArgumentException("not a file name: " + fileName);
    }
    String resource = stripSlashes(resourceDir) + "/" + platform() + "/" + fileName;
    Extracted done = extracted.get(fileName);
    if (done != null) {
      if (done.resource.equals(resource)) return done.path;
      throw new UnsatisfiedLinkError("cannot extract " + resource + ": " + done.resource
          + " was already extracted to " + done.path);
    }
    byte[] bytes = readResource(owner, resource);
    if (bytes == null) {
      throw new UnsatisfiedLinkError("the jar of " + owner.getName() + " has no " + resource
          + ": no native library for this platform in it");
    }
    byte[] digestFile = readResource(owner, resource + ".sha256");
    if (digestFile == null) {
      throw new UnsatisfiedLinkError("the jar of " + owner.getName() + " has no digest "
          + resource + ".sha256");
    }
    String expected = new String(digestFile, StandardCharsets.US_ASCII).trim().split("\\s+")[0];
    if (!expected.matches("[0-9a-fA-F]{64}")) {
      throw new UnsatisfiedLinkError("the digest " + resource + ".sha256 is not a SHA-256 value");
    }
    Path file = privateDirectory().resolve(fileName);
    String failure = "cannot write " + resource + " to " + file;
    try {
      // Made owner-only from the start, in a directory nobody else can enter.
      try (SeekableByteChannel out = Files.newByteChannel(file,
          EnumSet.of(StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE),
          PosixFilePermissions.asFileAttribute(PosixFilePermissions.fromString("rw-------")))) {
        file.toFile().deleteOnExit();
        ByteBuffer buffer = ByteBuffer.wrap(bytes);
        while (buffer.hasRemaining()) out.write(buffer);
      }
      Files.setPosixFilePermissions(file, PosixFilePermissions.fromString("r-x------"));
      failure = "cannot read back " + file;
      String actual = sha256(Files.readAllBytes(file));
      if (!actual.equalsIgnoreCase(expected)) {
        Files.delete(file);
        throw new UnsatisfiedLinkError("the extracted " + resource + " has SHA-256 " + actual
            + ", the jar's digest says " + expected + ": the jar is damaged");
      }
    } catch (IOException | UnsupportedOperationException e) {
      throw new UnsatisfiedLinkError(failure + ": " + e);
    }
    extracted.put(fileName, new Extracted(resource, file));
    return file;
  }

  /**
   * Loads the vendor library when its path is given, then the bridge, as the class description
   * says; does nothing after the first success.
   *
   * @throws UnsatisfiedLinkError naming every attempt, in order, and why each failed
   */
  public static synchronized void loadBridge() {
    if (bridgeLoaded) return;
    String resident = mappedBridge();
    if (resident != null) {
      throw new UnsatisfiedLinkError(BRIDGE + " is already loaded in this process (" + resident
          + "), by another class loader: the bridge serves the class loader that loaded it"
          + " first, for the life of the process. Load tarvexjni.jar once, in a class loader"
          + " that all its users share");
    }
    String vendor = loadVendor();
    List<String> tried = new ArrayList<>();
    String path = System.getProperty(BRIDGE_PROPERTY, "");
    if (!path.isEmpty()) {
      String absolute = Path.of(path).toAbsolutePath().toString();
      if (attempt(tried, "the system property " + BRIDGE_PROPERTY + " (" + absolute + ")",
          () -> System.load(absolute))) return;
    } else {
      if (attempt(tried, "java.library.path",
          () -> System.loadLibrary("tarvexjni"))) return;
      Path copy = null;
      try {
        copy = extract(NativeLoader.class, RESOURCE_DIR, BRIDGE);
      } catch (UnsatisfiedLinkError e) {
        tried.add("the copy inside the jar: " + e.getMessage());
      }
      if (copy != null) {
        String file = copy.toString();
        if (attempt(tried, "the copy inside the jar, extracted to " + file,
            () -> System.load(file))) return;
        int last = tried.size() - 1;
        if (tried.get(last).contains("failed to map segment")) {
          tried.set(last, tried.get(last) + " (the folder is on a file system mounted noexec:"
              + " set java.io.tmpdir to a folder that allows executables, or "
              + BRIDGE_PROPERTY + " to an installed copy)");
        }
      }
    }
    throw new UnsatisfiedLinkError(explain(tried, vendor));
  }

  // Runs one attempt to load the bridge; records why it failed.
  private static boolean attempt(List<String> tried, String where, Runnable load) {
    try {
      load.run();
      bridgeLoaded = true;
      return true;
    } catch (UnsatisfiedLinkError e) {
      tried.add(where + ": " + GlibcHint.explain(e.getMessage()));
      return false;
    }
  }

  private static String explain(List<String> tried, String vendor) {
    StringBuilder text = new StringBuilder();
    boolean vendorMissing = tried.stream().anyMatch(t -> t.contains(VENDOR + ": cannot open"));
    if (vendorMissing && vendor == null) {
      text.append("Cannot find ").append(VENDOR).append(", the tarvex library that ")
          .append(BRIDGE).append(" needs: set the system property ").append(VENDOR_PROPERTY)
          .append(" or the environment variable ").append(VENDOR_VARIABLE)
          .append(" to its path (or put it beside the bridge or on LD_LIBRARY_PATH; tests over")
          .append(" tarvexjni-standin.jar initialise tarvexjni.standin.StandIn first). ");
    } else if (vendorMissing) {
      text.append(vendor).append(" was loaded, but the bridge still did not find ")
          .append(VENDOR).append(" by that name: its SONAME must be ").append(VENDOR)
          .append(". ");
    }
    text.append("Cannot load ").append(BRIDGE).append("; tried, in order:");
    for (int i = 0; i < tried.size(); ++i) text.append("\n  ").append(i + 1).append(". ").append(tried.get(i));
    return text.toString();
  }

  // Loads the vendor library named by the property or the variable; returns a description of
  // where it came from, or null when neither is set.
  private static String loadVendor() {
    String path = System.getProperty(VENDOR_PROPERTY, "");
    String source = "the system property " + VENDOR_PROPERTY;
    if (path.isEmpty()) {
      String variable = System.getenv(VENDOR_VARIABLE);
      path = variable == null ? "" : variable;
      source = "the environment variable " + VENDOR_VARIABLE;
    }
    if (path.isEmpty()) return null;
    Path absolute = Path.of(path).toAbsolutePath();
    String where = VENDOR + " from " + source + " (" + absolute + ")";
    if (!Files.isRegularFile(absolute)) {
      throw new UnsatisfiedLinkError("Cannot load " + where + ": no such file");
    }
    try {
      System.load(absolute.toString());
    } catch (UnsatisfiedLinkError e) {
      throw new UnsatisfiedLinkError("Cannot load " + where + ": " + GlibcHint.explain(e.getMessage()));
    }
    return where;
  }

  // The bridge's file when some copy of it is mapped into this process already, else null.
  private static String mappedBridge() {
    try {
      for (String line : Files.readAllLines(Path.of("/proc/self/maps"))) {
        int slash = line.indexOf('/');
        if (slash < 0) continue;
        String file = line.substring(slash).replace(" (deleted)", "");
        if (file.endsWith("/" + BRIDGE)) return file;
      }
    } catch (IOException | RuntimeException e) {
      // Without /proc the JVM's own check for a library loaded twice still applies.
    }
    return null;
  }

  private static synchronized Path privateDirectory() {
    if (privateDirectory != null) return privateDirectory;
    String tmp = System.getProperty("java.io.tmpdir");
    try {
      Path dir = Files.createTempDirectory(Path.of(tmp), "tarvexjni-",
          PosixFilePermissions.asFileAttribute(PosixFilePermissions.fromString("rwx------")));
      dir.toFile().deleteOnExit();  // after the files in it, which register later
      privateDirectory = dir.toAbsolutePath();
      return privateDirectory;
    } catch (IOException | RuntimeException e) {
      throw new UnsatisfiedLinkError("cannot create a private directory in java.io.tmpdir ("
          + tmp + "): " + e + "; set java.io.tmpdir to a folder this user can write");
    }
  }

  private static byte[] readResource(Class<?> owner, String resource) {
    try (InputStream in = owner.getResourceAsStream("/" + resource)) {
      return in == null ? null : in.readAllBytes();
    } catch (IOException e) {
      throw new UnsatisfiedLinkError("cannot read " + resource + " from the jar of "
          + owner.getName() + ": " + e);
    }
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
