package tarvexjni.internal;

import java.io.File;
import java.io.IOException;
import java.net.URISyntaxException;
import java.net.URL;
import java.nio.ByteBuffer;
import java.nio.CharBuffer;
import java.nio.channels.SeekableByteChannel;
import java.nio.charset.Charset;
import java.nio.charset.CharsetDecoder;
import java.nio.charset.CoderResult;
import java.nio.charset.CodingErrorAction;
import java.nio.charset.IllegalCharsetNameException;
import java.nio.charset.StandardCharsets;
import java.nio.charset.UnsupportedCharsetException;
import java.nio.file.DirectoryStream;
import java.nio.file.Files;
import java.nio.file.InvalidPathException;
import java.nio.file.LinkOption;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.FileAttribute;
import java.nio.file.attribute.PosixFilePermission;
import java.nio.file.attribute.PosixFilePermissions;
import java.security.CodeSigner;
import java.security.MessageDigest;
import java.security.NoSuchAlgorithmException;
import java.security.cert.Certificate;
import java.security.cert.X509Certificate;
import java.util.ArrayList;
import java.util.Comparator;
import java.util.EnumSet;
import java.util.HashMap;
import java.util.HexFormat;
import java.util.LinkedHashSet;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.Set;
import java.util.TreeSet;
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
 * only this user can enter, checked against its SHA-256 digest, loaded, and on Linux deleted with
 * its folder at once. That folder is made under the system property {@value #WORKDIR_PROPERTY},
 * else {@code java.io.tmpdir}, else (when {@code java.io.tmpdir} is not safe) this user's cache
 * folder. When the jar is signed, its native entries must be signed by the same signers. Each
 * folder carries its process's id: folders of this user whose process is gone (a crash, a
 * {@code kill -9}, and on Windows every run, which cannot delete a loaded library) are removed
 * when the next JVM extracts.
 *
 * <p>On Linux every file loaded by its path, and every folder above it, up to the root, must be
 * safe from other local users ({@link SafePath}); the extraction folder's parent too. After
 * loading, the file the system mapped must be the one that was checked: the same device and
 * inode in {@code /proc/self/maps}. The alternative, loading through a descriptor that cannot be
 * swapped, is not open to Java: {@link System#load} resolves the path to its canonical form and
 * the system's loader opens it by name again.
 *
 * <p>The vendor library is loaded first when the system property {@value #VENDOR_PROPERTY} or
 * else the environment variable {@value #VENDOR_VARIABLE} names it; the bridge's dependency then
 * resolves to it by name. With the system property {@value #VENDOR_DIGEST_PROPERTY} its SHA-256
 * digest must be that one. Otherwise Linux's dynamic linker looks beside the bridge, on
 * {@code LD_LIBRARY_PATH} and in the system's folders. On Windows the loader finds {@code
 * tarvex.dll} itself, beside the bridge or in an absolute folder on {@code PATH} (never the
 * working folder, which Windows' own search puts first), and loads it by its path before the
 * bridge, whose import then binds to it; and no folder or library whose path the JVM's ANSI code
 * page cannot carry is used.
 *
 * <p>Texts cross between Java and the library one byte per character, in the single-byte encoding
 * that the system property {@value #CODESET_PROPERTY}, else the environment variable
 * {@value #CODESET_VARIABLE}, names: the loader resolves it with {@code java.nio.charset} before
 * it loads anything, refuses a name that is unknown or not single-byte (and, on Windows, where
 * texts are in the active ANSI code page, any name), and hands the bridge the character of each
 * byte. Without the setting the bridge takes the codeset of the process locale.
 *
 * <p>Right after loading, the bridge must report the version of these classes, or loading fails.
 * Until then the bridge has done nothing to the process: only an accepted bridge is activated
 * (pinned, its fault handlers installed, the encoding of texts handed over, its setting read).
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
  /** System property: the SHA-256 digest, in hexadecimal, the vendor library must have. */
  public static final String VENDOR_DIGEST_PROPERTY = "tarvex.library.sha256";
  /** System property: the folder to extract libraries into, instead of java.io.tmpdir. */
  public static final String WORKDIR_PROPERTY = "tarvexjni.workdir";
  /** System property: the single-byte encoding of the library's texts; wins over {@link #CODESET_VARIABLE}. */
  public static final String CODESET_PROPERTY = "tarvexjni.codeset";
  /** Environment variable: the single-byte encoding of the library's texts. */
  public static final String CODESET_VARIABLE = "TARVEXJNI_CODESET";
  /** System property (Windows): true converts texts to the ANSI code page without best fits. */
  public static final String EXACT_CODE_PAGE_PROPERTY = "tarvexjni.exactCodePage";
  /** Where the jar keeps its native libraries, one folder per platform. */
  public static final String RESOURCE_DIR = "tarvexjni/native";

  private static final String VERSION = BuildVersion.VERSION;
  private static final String FOLDER_PREFIX = "tarvexjni-";

  private static final NativeLoader PROCESS = new NativeLoader(Platform.current(), new Host());

  private final Platform platform;
  private final Host host;
  // The private folder while it holds files, and what was extracted into it, by file name.
  private Path folder;
  private boolean swept;
  private final Map<String, Extracted> extracted = new HashMap<>();
  // This process's user id (POSIX), once read.
  private long uid = -1;
  // The outcome: the bridge's version once loaded, or the first failure.
  private String loadedVersion;
  private UnsatisfiedLinkError failure;
  // The encoding of texts the settings name, once read: null for none, or why it is refused.
  private boolean codesetRead;
  private NarrowCodeset codeset;
  private UnsatisfiedLinkError codesetRefusal;

  private static final class Extracted {

    final String resource;
    final Path path;
    String digest; // checked against the file as written
    Host.FileId id; // of the file read back (POSIX)
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

  /**
   * Lets the bridge, once accepted, act on the process: pin itself, install its fault handlers,
   * take the encoding of texts, read its setting. Bound by the bridge when it loads.
   *
   * @param codeset the name of the single-byte encoding texts cross in, or null for the process
   *     locale's codeset
   * @param units the character of each of its 256 bytes (U+FFFD for a byte that stands for
   *     none), or null
   */
  static native void activate0(String codeset, char[] units);

  /**
   * The single-byte encoding that texts cross in, as {@value #CODESET_PROPERTY} or
   * {@value #CODESET_VARIABLE} named it.
   */
  public static final class NarrowCodeset {

    private final Charset charset;
    private final String source;
    private final char[] units;

    NarrowCodeset(Charset charset, String source, char[] units) {
      this.charset = charset;
      this.source = source;
      this.units = units;
    }

    /**
     * The encoding.
     *
     * @return the charset
     */
    public Charset charset() {
      return charset;
    }

    /**
     * The setting that named it, for messages.
     *
     * @return {@code "the system property tarvexjni.codeset"} or {@code "the environment variable
     *     TARVEXJNI_CODESET"}
     */
    public String source() {
      return source;
    }

    /**
     * Whether a character is one of the encoding's: one that crosses as itself, not as '?'.
     *
     * @param c the character
     * @return true when a byte of the encoding stands for it
     */
    public boolean has(char c) {
      if (c == '\uFFFD') return false;
      for (char u : units) if (u == c) return true;
      return false;
    }
  }

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
   * The single-byte encoding that texts cross in, as the settings name it; read once per process.
   *
   * @return the encoding, or null when no setting names one (texts then cross in the codeset of
   *     the process locale) or the name is refused (loading the bridge then fails, saying why)
   */
  public static NarrowCodeset codeset() {
    try {
      return PROCESS.namedCodeset();
    } catch (UnsatisfiedLinkError e) {
      return null;
    }
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
   * system property {@value #WORKDIR_PROPERTY}, else {@code java.io.tmpdir}, else (where other
   * users could change {@code java.io.tmpdir}) this user's cache folder. The file's bytes are
   * checked against the SHA-256 digest in the resource of the same name plus {@code ".sha256"},
   * recorded when the jar was built: this catches a damaged jar, not a tampered one, whose digest
   * can be changed with it; a signed jar's signers must have signed both. Extracting the same
   * resource again returns the same path.
   *
   * @param owner a class of the jar that carries the resource
   * @param resourceDir the folder that holds one folder per platform, e.g. {@value #RESOURCE_DIR}
   * @param fileName the library's file name, e.g. {@code "libtarvexjni.so"}
   * @return the extracted file's absolute path
   * @throws IllegalArgumentException when {@code fileName} is empty or names a folder
   * @throws UnsatisfiedLinkError saying what failed: no resource for this platform, no or a
   *     malformed digest, a digest mismatch, an entry its jar's signers did not sign, a folder
   *     other users could change, the folder or file could not be made or written
   */
  public static Path extract(Class<?> owner, String resourceDir, String fileName) {
    return PROCESS.extractFile(owner, resourceDir, fileName);
  }

  /**
   * Tells the loader that the library that {@link #extract} returned is now loaded. On Linux the
   * library the system mapped must be the file that was extracted and checked (the same device
   * and inode), and the copy is deleted at once, and its folder when it is empty; the path stays
   * valid as {@value #VENDOR_PROPERTY}, which the loader then knows to be loaded.
   *
   * @param library the path {@link #extract} returned
   * @throws UnsatisfiedLinkError when the library mapped is not the file that was checked: it
   *     must not be used
   */
  public static void loaded(Path library) {
    PROCESS.markLoaded(library);
  }

  /**
   * Installs this jar's bridge for this platform into {@code folder}, for the system property
   * {@value #BRIDGE_PROPERTY} to name: JVMs started with it load the bridge where it is, without
   * extracting the jar's copy and digesting it at every start. The copy is checked as an extracted
   * one is (the jar's signers, the SHA-256 digest of the file as written and read back), made
   * readable and executable by everyone and writable by nobody, and put in place in one step: a
   * JVM never sees half a file, and one running with an earlier copy keeps it. On POSIX systems
   * the folder must be one that only this user and root can change, as the loader requires of
   * every library it loads by its path; a JVM run by another user accepts the copy only when this
   * user is root.
   *
   * @param folder an existing folder
   * @return the installed file's absolute path, for {@value #BRIDGE_PROPERTY}
   * @throws UnsatisfiedLinkError saying what failed: no bridge for this platform in the jar, a
   *     folder that does not exist or that other users could change, a damaged or re-signed jar,
   *     a file that could not be written or put in place
   */
  public static Path install(Path folder) {
    return PROCESS.installBridge(folder);
  }

  // ---- Loading -------------------------------------------------------------------------------

  synchronized void load() {
    if (failure != null) throw again();
    if (loadedVersion != null) return;
    try {
      loadOnce();
    } catch (UnsatisfiedLinkError e) {
      failure = e;
    } catch (RuntimeException e) {
      // a security manager's refusal, say
      failure = withCause(
        new UnsatisfiedLinkError("Cannot load " + platform.bridgeFile + ": " + e),
        e
      );
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
      throw new UnsatisfiedLinkError(
        platform.bridgeFile +
          " is already loaded in this process (" +
          resident +
          "), by another class loader: the bridge serves the class loader that" +
          " loaded it first, for the life of the process. Load tarvexjni.jar once, in a class" +
          " loader that all its users share"
      );
    }
    NarrowCodeset texts = namedCodeset();
    checkExactCodePage();
    Path bridge;
    String where;
    Source source;
    Checked checked;
    String explicit = setting(host.property(BRIDGE_PROPERTY));
    if (explicit != null) {
      source = Source.PROPERTY;
      bridge = Path.of(explicit).toAbsolutePath();
      where = "the system property " + BRIDGE_PROPERTY + " (" + bridge + ")";
      if (!Files.isRegularFile(bridge)) {
        throw new UnsatisfiedLinkError(
          "Cannot load " + platform.bridgeFile + " from " + where + ": no such file"
        );
      }
      checked = check(bridge, "Cannot load " + platform.bridgeFile + " from " + where, null);
    } else if (platform.name != null && holds(platform.name)) {
      source = Source.JAR;
      try {
        bridge = extractFile(NativeLoader.class, RESOURCE_DIR, platform.bridgeFile);
      } catch (UnsatisfiedLinkError e) {
        throw withSuppressed(
          new UnsatisfiedLinkError(
            "Cannot extract the jar's copy of " +
              platform.bridgeFile +
              " for " +
              platform.name +
              ": " +
              e.getMessage()
          ),
          e
        );
      }
      where = "the jar's copy for " + platform.name + ", extracted to " + bridge;
      checked = new Checked(bridge, extracted.get(platform.bridgeFile).id);
    } else {
      source = Source.LIBRARY_PATH;
      String none = "tarvexjni.jar has no bridge for " + platform.description + " (" + held() + ")";
      bridge = onLibraryPath();
      if (bridge == null) {
        throw new UnsatisfiedLinkError(
          none +
            ", and java.library.path (" +
            host.property("java.library.path") +
            ") has no " +
            platform.bridgeFile +
            ": build the bridge for this platform and name it with the system property " +
            BRIDGE_PROPERTY
        );
      }
      where = "java.library.path (" + bridge + "), since " + none;
      checked = check(bridge, "Cannot load " + platform.bridgeFile + " from " + where, null);
    }
    boolean loaded = false;
    try {
      String vendor = loadVendor(bridge.getParent(), source);
      try {
        host.load(checked.path.toString());
      } catch (UnsatisfiedLinkError e) {
        String why = bridgeFailure(describe(e, checked.path), where, vendor, source);
        throw withSuppressed(new UnsatisfiedLinkError(why), e);
      }
      loaded = true;
      checkMapped(checked, platform.bridgeFile + " from " + where);
      String version = handshake(bridge, where, source);
      try {
        host.activateBridge(
          texts == null ? null : texts.charset.name(),
          texts == null ? null : texts.units.clone()
        );
      } catch (UnsatisfiedLinkError e) {
        throw withSuppressed(
          new UnsatisfiedLinkError(
            "The bridge " +
              bridge +
              " (from " +
              where +
              ") reports version " +
              version +
              " but has no activation, which every bridge of" +
              " that version has: it is not what it claims to be; " +
              remedy(source)
          ),
          e
        );
      }
      loadedVersion = version;
    } finally {
      // Windows cannot delete a loaded library: the next JVM's sweep removes it.
      if (source == Source.JAR && !(loaded && platform.windows)) discard(platform.bridgeFile);
    }
  }

  private enum Source {
    PROPERTY,
    JAR,
    LIBRARY_PATH,
  }

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
    UnsatisfiedLinkError error = new UnsatisfiedLinkError(
      "The bridge " +
        bridge +
        " (from " +
        where +
        ") " +
        (reported == null ? "reports no version" : "is version " + reported) +
        ", but tarvexjni.jar is version " +
        VERSION +
        ": the bridge and the jar must come from" +
        " the same build; " +
        remedy(source)
    );
    throw none == null ? error : withSuppressed(error, none);
  }

  // What to do about a bridge that is not this jar's.
  private static String remedy(Source source) {
    return switch (source) {
      case PROPERTY -> "point the system property " +
        BRIDGE_PROPERTY +
        " at the bridge of version " +
        VERSION +
        ", or leave it unset to use the jar's own";
      case JAR -> "the jar is inconsistent; replace it";
      case LIBRARY_PATH -> "take it off java.library.path, or use a tarvexjni.jar that carries" +
        " the bridge for this platform";
    };
  }

  // Loads the vendor library where it is named (on Windows also where the loader finds it);
  // says which.
  private String loadVendor(Path bridgeFolder, Source bridgeSource) {
    String path = setting(host.property(VENDOR_PROPERTY));
    String source = "from the system property " + VENDOR_PROPERTY;
    if (path == null) {
      path = setting(host.variable(VENDOR_VARIABLE));
      source = "from the environment variable " + VENDOR_VARIABLE;
    }
    String pinned = setting(host.property(VENDOR_DIGEST_PROPERTY));
    if (pinned != null && !pinned.matches("[0-9a-fA-F]{64}")) {
      throw new UnsatisfiedLinkError(
        "The system property " +
          VENDOR_DIGEST_PROPERTY +
          " (" +
          pinned +
          ") is not a SHA-256 digest: set it to the 64 hexadecimal digits that" +
          " sha256sum prints for the tarvex library"
      );
    }
    if (path == null && platform.windows) {
      Path found = windowsVendor(bridgeFolder, bridgeSource);
      path = found.toString();
      source = found.getParent().equals(bridgeFolder) ? "beside the bridge" : "from PATH";
    }
    if (path == null) {
      if (pinned == null) return null;
      throw new UnsatisfiedLinkError(
        "The system property " +
          VENDOR_DIGEST_PROPERTY +
          " pins the" +
          " tarvex library, but neither " +
          VENDOR_PROPERTY +
          " nor " +
          VENDOR_VARIABLE +
          " names it, so it cannot be checked before it is loaded: set " +
          VENDOR_PROPERTY +
          " to its path"
      );
    }
    Path file = Path.of(path).toAbsolutePath();
    String where = platform.vendorFile + " " + source + " (" + file + ")";
    Extracted copy = loadedCopy(file);
    if (copy != null) {
      // loaded by the test kit; the copy may be gone
      if (pinned != null) pin("Cannot use " + where, copy.digest, pinned);
      return where;
    }
    if (!Files.isRegularFile(file)) {
      throw new UnsatisfiedLinkError("Cannot load " + where + ": no such file");
    }
    Checked checked = check(file, "Cannot load " + where, pinned);
    try {
      host.load(checked.path.toString());
    } catch (UnsatisfiedLinkError e) {
      throw withSuppressed(
        new UnsatisfiedLinkError("Cannot load " + where + ": " + describe(e, checked.path)),
        e
      );
    }
    checkMapped(checked, where);
    return where;
  }

  // ---- The encoding of texts -----------------------------------------------------------------

  private static final String CODESET_EXAMPLES = "windows-1252, ISO-8859-1, ISO-8859-5 or KOI8-R";

  // The encoding the settings name, resolved once: null for none; an error that says why a name
  // is refused.
  synchronized NarrowCodeset namedCodeset() {
    if (!codesetRead) {
      codesetRead = true;
      try {
        codeset = resolveCodeset();
      } catch (UnsatisfiedLinkError e) {
        codesetRefusal = e;
      }
    }
    if (codesetRefusal != null) throw new UnsatisfiedLinkError(codesetRefusal.getMessage());
    return codeset;
  }

  private NarrowCodeset resolveCodeset() {
    String name = setting(host.property(CODESET_PROPERTY));
    String source = "system property " + CODESET_PROPERTY;
    if (name == null) {
      name = setting(host.variable(CODESET_VARIABLE));
      source = "environment variable " + CODESET_VARIABLE;
    }
    if (name == null) return null;
    String named = "The " + source + " (" + name + ")";
    if (platform.windows) {
      throw new UnsatisfiedLinkError(
        named +
          " is for Linux: on Windows texts cross in the active" +
          " ANSI code page, which the system's settings choose; remove it"
      );
    }
    Charset charset;
    try {
      charset = Charset.forName(name);
    } catch (IllegalCharsetNameException | UnsupportedCharsetException e) {
      throw new UnsatisfiedLinkError(
        named +
          " names no encoding this JVM knows: name the" +
          " single-byte encoding of the library's texts as java.nio.charset knows it, for example " +
          CODESET_EXAMPLES
      );
    }
    char[] units = new char[256];
    String why = notSingleByte(charset, units);
    if (why != null) {
      throw new UnsatisfiedLinkError(
        named +
          " names " +
          charset.name() +
          ", which " +
          why +
          ", but texts cross one byte per character: name a single-byte encoding, for example " +
          CODESET_EXAMPLES
      );
    }
    return new NarrowCodeset(charset, "the " + source, units);
  }

  // Why `charset` is not a single-byte encoding, or null; fills `units` with the character of
  // each byte, U+FFFD for a byte that stands for none.
  private static String notSingleByte(Charset charset, char[] units) {
    if (!charset.canEncode()) return "this JVM can only decode";
    float most = charset.newEncoder().maxBytesPerChar();
    if (most > 1) return "writes a character with up to " + (int) Math.ceil(most) + " bytes";
    CharsetDecoder decoder = charset
      .newDecoder()
      .onMalformedInput(CodingErrorAction.REPORT)
      .onUnmappableCharacter(CodingErrorAction.REPORT);
    CharBuffer out = CharBuffer.allocate(8);
    for (int b = 0; b < 256; b++) {
      decoder.reset();
      out.clear();
      CoderResult result = decoder.decode(ByteBuffer.wrap(new byte[] { (byte) b }), out, true);
      if (!result.isError()) result = decoder.flush(out);
      out.flip();
      if (result.isError() || out.remaining() == 0) {
        units[b] = '\uFFFD';
      } else if (out.remaining() == 1) {
        units[b] = out.get(0);
      } else {
        return String.format("reads the byte 0x%02X as %d characters", b, out.remaining());
      }
    }
    return null;
  }

  // tarvexjni.exactCodePage, which the bridge reads itself on Windows: true or false, and true only
  // where there is an ANSI code page with best fits to turn off.
  private void checkExactCodePage() {
    String value = setting(host.property(EXACT_CODE_PAGE_PROPERTY));
    if (value == null || value.equalsIgnoreCase("false")) return;
    String named = "The system property " + EXACT_CODE_PAGE_PROPERTY + " (" + value + ")";
    if (!value.equalsIgnoreCase("true")) {
      throw new UnsatisfiedLinkError(named + " is neither true nor false: set it to true or false");
    }
    if (!platform.windows) {
      throw new UnsatisfiedLinkError(
        named +
          " is for Windows: on Linux no character becomes another on its way to the library (one" +
          " the codeset lacks becomes '?'); remove it"
      );
    }
  }

  // ---- What is loaded is what was checked -----------------------------------------------------

  // A library to load: its real path, and where the platform has /proc, the identity of the file
  // that was checked there.
  private record Checked(Path path, Host.FileId id) {}

  // Checks a library named by its path before it is loaded: on POSIX systems that nobody but this
  // user and root can change it or a folder above it, and takes its identity; where a digest is
  // pinned, that the file has it. `refusal` opens the messages: "Cannot load libtarvex.so from".
  private Checked check(Path file, String refusal, String pinned) {
    try {
      if (platform.windows) {
        String page = unrepresentable(file);
        if (page != null) throw new UnsatisfiedLinkError(refusal + ": " + notInCodePage(page));
        // neither POSIX owners nor /proc: the pinned digest alone
        if (pinned != null) pin(refusal, sha256(Files.readAllBytes(file)), pinned);
        return new Checked(file, null);
      }
      Path real = file.toRealPath();
      SafePath.Problem problem = SafePath.check(host, uid(), real, true);
      if (problem != null) {
        throw new UnsatisfiedLinkError(
          refusal +
            ": " +
            problem.sentence("another user could replace the library before it is loaded") +
            ", or install it" +
            " where only this user and root can change it"
        );
      }
      MessageDigest digest = pinned == null ? null : sha256();
      Host.FileId id = host.identify(real, digest);
      if (digest != null) pin(refusal, HexFormat.of().formatHex(digest.digest()), pinned);
      return new Checked(real, id);
    } catch (IOException e) {
      throw withSuppressed(new UnsatisfiedLinkError(refusal + ": cannot check it: " + e), e);
    }
  }

  private static void pin(String refusal, String actual, String pinned) {
    if (actual.equalsIgnoreCase(pinned)) return;
    throw new UnsatisfiedLinkError(
      refusal +
        ": it has SHA-256 " +
        actual +
        ", but the system" +
        " property " +
        VENDOR_DIGEST_PROPERTY +
        " pins " +
        pinned.toLowerCase(Locale.ROOT) +
        ": it is not the library that was pinned; install that one, or pin this one if you" +
        " trust it"
    );
  }

  // After loading: the system mapped the file that was checked, and nothing else by its name.
  private void checkMapped(Checked checked, String what) {
    if (checked.id == null) return;
    Host.FileId other = null;
    boolean code = false;
    try {
      for (Host.Mapping m : host.mappings(checked.path)) {
        if (!m.file().equals(checked.id)) {
          other = m.file();
        } else if (m.executable()) {
          code = true;
        }
      }
    } catch (IOException | RuntimeException e) {
      throw withSuppressed(
        new UnsatisfiedLinkError(
          what +
            " was loaded, but cannot be matched" +
            " with the file that was checked: " +
            e +
            " (the check needs /proc)"
        ),
        e
      );
    }
    if (other == null && code) return;
    throw new UnsatisfiedLinkError(
      what +
        " was loaded, but the file the system mapped is not the" +
        " one that was checked (" +
        (other != null ? other : "no code of it is mapped") +
        ", where " +
        checked.id +
        " was checked): it was replaced in between, so it is not" +
        " used; find out what else can change " +
        checked.path.getParent()
    );
  }

  private long uid() throws IOException {
    if (uid < 0) uid = host.uid();
    return uid;
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
    if (platform.windows) return windowsBridgeFailure(tried, vendor);
    boolean vendorMissing = why.contains(platform.vendorFile + ": cannot open shared object file");
    if (vendorMissing && vendor == null) {
      return (
        "Cannot find " +
        platform.vendorFile +
        ", the tarvex library that " +
        platform.bridgeFile +
        " needs: set the system property " +
        VENDOR_PROPERTY +
        " or the environment variable " +
        VENDOR_VARIABLE +
        " to its path, or put it " +
        (source == Source.JAR ? "" : "beside the bridge or ") +
        "in a folder on " +
        platform.searchPath +
        " (tests over the stand-in: put tarvexjni-standin.jar on JUnit's" +
        " class path, or initialise tarvexjni.standin.StandIn first). " +
        tried
      );
    }
    if (vendorMissing) {
      return (
        vendor +
        " was loaded, but the bridge still did not find " +
        platform.vendorFile +
        " by that name: its SONAME must be " +
        platform.vendorFile +
        ". " +
        tried
      );
    }
    // The missing function as the system's loader names it; Windows names none (and its text is
    // in the system's language), so no decision rests on the wording.
    Matcher undefined = Pattern.compile("undefined symbol: (QUMEN_\\w+)").matcher(why);
    if (undefined.find()) {
      String library =
        vendor != null ? vendor : "the " + platform.vendorFile + " that the system's loader found";
      return (
        "The tarvex library " +
        library +
        " lacks the function " +
        undefined.group(1) +
        ", which " +
        platform.bridgeFile +
        " " +
        VERSION +
        " calls: use a tarvex library that has it. " +
        tried
      );
    }
    if (source == Source.JAR && why.contains("failed to map segment")) {
      return (
        tried +
        " (its folder is on a file system mounted noexec: set the system property " +
        WORKDIR_PROPERTY +
        " to a folder that allows executables)"
      );
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
    return host.hasResource(NativeLoader.class, RESOURCE_DIR + "/" + name + "/" + file);
  }

  // "it has linux-x86_64, linux-aarch64" or "it has none".
  private String held() {
    List<String> names = new ArrayList<>();
    for (String name : Platform.KNOWN) if (holds(name)) names.add(name);
    return "it has " + (names.isEmpty() ? "none" : String.join(", ", names));
  }

  private String platformName() {
    if (platform.name != null) return platform.name;
    throw new UnsatisfiedLinkError(
      "tarvexjni has no native libraries for " +
        platform.description +
        " (its jars can carry them for " +
        String.join(", ", Platform.KNOWN) +
        ")"
    );
  }

  // ---- Windows: paths in the ANSI code page, and where tarvex.dll is found ----------------------

  // The JVM hands Windows a library's path as narrow text in the ANSI code page
  // (sun.jnu.encoding): a character that code page lacks does not reach the system, and the path
  // it does reach names no file, or another one. The code page's name when `path` has such a
  // character; null when it has none, or the code page is not known here.
  private String unrepresentable(Path path) {
    String name = setting(host.property("sun.jnu.encoding"));
    if (name == null) return null;
    try {
      Charset page = Charset.forName(name);
      return page.newEncoder().canEncode(path.toString()) ? null : page.name();
    } catch (IllegalArgumentException | UnsupportedOperationException e) {
      return null;
    }
  }

  private static String notInCodePage(String page) {
    return (
      "its path has characters that the ANSI code page " +
      page +
      " cannot carry, and the JVM gives Windows a library's path in that code page"
    );
  }

  // The folder to extract into, on Windows. `named`: the one tarvexjni.workdir names, used as it
  // is or refused. Otherwise java.io.tmpdir, which sits in the user's profile, so that a user
  // name outside the ANSI code page puts it out of reach: then %SystemRoot%\Temp, whose path is
  // the system's own. It is safe to extract into: Windows lets users make entries there but not
  // list, rename or delete other users' entries, and the folder made in it takes an owner-only
  // access list as everywhere. Since users cannot list it either, the folders of earlier runs
  // there are not swept: the system's clean-up of its temporary folder removes them.
  private Parent windowsParent(Path folder, String where, boolean named) {
    String page = unrepresentable(folder);
    if (page == null) return new Parent(folder, where);
    String system = setting(host.variable("SystemRoot"));
    Path temp = system == null ? null : Path.of(system, "Temp").toAbsolutePath();
    if (!named && temp != null && Files.isDirectory(temp) && unrepresentable(temp) == null) {
      return new Parent(
        temp,
        "the system's temporary folder (" +
          temp +
          "), since the ANSI code page " +
          page +
          " cannot carry the path of " +
          where
      );
    }
    throw new UnsatisfiedLinkError(
      "the ANSI code page " +
        page +
        " cannot carry the path " +
        folder +
        " (" +
        (named ? "the system property " + WORKDIR_PROPERTY : "java.io.tmpdir") +
        "), and the JVM gives Windows a library's path in that code page" +
        (named ? "" : temp == null ? "; nor is SystemRoot set" : "; nor is " + temp + " usable") +
        ": set the system property " +
        WORKDIR_PROPERTY +
        " to an existing folder whose path that code page can carry"
    );
  }

  // tarvex.dll where neither tarvex.library nor TARVEX_LIBRARY names it: beside the bridge, else
  // in the first absolute folder on PATH that has it. Never from the working folder or a relative
  // entry of PATH, where Windows' own search for the bridge's import would look: the file found is
  // loaded by its path before the bridge, so that the import binds to it.
  private Path windowsVendor(Path bridgeFolder, Source bridgeSource) {
    List<String> looked = new ArrayList<>();
    List<String> passed = new ArrayList<>();
    Path here = Path.of(String.valueOf(host.property("user.dir")))
      .toAbsolutePath()
      .normalize();
    List<Path> folders = new ArrayList<>();
    folders.add(bridgeFolder);
    String path = host.variable("PATH");
    for (String entry : path == null ? new String[0] : path.split(";")) {
      String folder = entry.strip();
      if (folder.length() > 1 && folder.startsWith("\"") && folder.endsWith("\"")) {
        folder = folder.substring(1, folder.length() - 1);
      }
      if (folder.isEmpty()) continue;
      Path p;
      try {
        p = Path.of(folder);
      } catch (InvalidPathException e) {
        passed.add(folder + " (not a path)");
        continue;
      }
      if (!p.isAbsolute()) {
        passed.add(folder + " (relative)");
      } else if (p.normalize().equals(here)) {
        passed.add(folder + " (the working folder)");
      } else {
        folders.add(p);
      }
    }
    for (Path folder : folders) {
      Path file = folder.resolve(platform.vendorFile);
      if (Files.isRegularFile(file) && unrepresentable(file) == null) return file;
      looked.add(file.toString());
    }
    throw new UnsatisfiedLinkError(
      "Cannot find " +
        platform.vendorFile +
        ", the tarvex library that " +
        platform.bridgeFile +
        " needs: neither the system property " +
        VENDOR_PROPERTY +
        " nor the environment variable " +
        VENDOR_VARIABLE +
        " names it, and it is not at " +
        String.join(", ", looked) +
        (passed.isEmpty() ? "" : " (passed over on PATH: " + String.join(", ", passed) + ")") +
        "; set " +
        VENDOR_PROPERTY +
        " to its path, or put it " +
        (bridgeSource == Source.JAR ? "" : "beside the bridge or ") +
        "in an absolute folder on PATH" +
        " (tests over the stand-in: put tarvexjni-standin.jar on JUnit's class path, or initialise" +
        " tarvexjni.standin.StandIn first)"
    );
  }

  // A bridge that did not load, on Windows, where tarvex.dll is always loaded first: the system's
  // text (in the system's language) says why, and nothing here is decided on its wording.
  private String windowsBridgeFailure(String tried, String vendor) {
    return (
      tried +
      " (" +
      vendor +
      " was loaded first; where the system's text speaks of a procedure that could not be found," +
      " that tarvex library lacks a function that " +
      platform.bridgeFile +
      " " +
      VERSION +
      " calls: use one that has it)"
    );
  }

  // ---- Extraction ----------------------------------------------------------------------------
  // ---- Extraction ----------------------------------------------------------------------------

  synchronized Path extractFile(Class<?> owner, String resourceDir, String fileName) {
    if (fileName.isEmpty() || fileName.contains("/") || fileName.contains("\\")) {
      throw new IllegalArgumentException("not a file name: " + fileName);
    }
    String resource = stripSlashes(resourceDir) + "/" + platformName() + "/" + fileName;
    Extracted done = extracted.get(fileName);
    if (done != null && !done.deleted) {
      if (done.resource.equals(resource)) return done.path;
      throw new UnsatisfiedLinkError(
        "cannot extract " +
          resource +
          ": " +
          done.resource +
          " was already extracted to " +
          done.path
      );
    }
    String jar = jarOf(owner);
    Entry library = readEntry(owner, jar, resource);
    Path file = privateFolder().resolve(fileName);
    Extracted entry = new Extracted(resource, file);
    extracted.put(fileName, entry);
    try {
      entry.id = write(library, file, "r-x------", true, "extracted to", jar);
      entry.digest = library.digest();
    } catch (UnsatisfiedLinkError e) {
      discard(fileName);
      throw e;
    }
    return file;
  }

  synchronized Path installBridge(Path folder) {
    String refusal = "Cannot install " + platform.bridgeFile + " in " + folder;
    if (platform.name == null || !holds(platform.name)) {
      throw new UnsatisfiedLinkError(
        refusal + ": tarvexjni.jar has no bridge for " + platform.description + " (" + held() + ")"
      );
    }
    Path real;
    try {
      real = folder.toAbsolutePath().toRealPath();
      if (!Files.isDirectory(real)) throw new UnsatisfiedLinkError(refusal + ": not a folder");
      if (platform.windows) {
        String page = unrepresentable(real);
        if (page != null) throw new UnsatisfiedLinkError(refusal + ": " + notInCodePage(page));
      } else {
        SafePath.Problem problem = SafePath.check(host, uid(), real, false);
        if (problem != null) {
          throw new UnsatisfiedLinkError(
            refusal +
              ": " +
              problem.sentence("another user could replace the bridge before a JVM loads it") +
              ", or install it where only this user and root can change it"
          );
        }
      }
    } catch (NoSuchFileException e) {
      throw withSuppressed(new UnsatisfiedLinkError(refusal + ": no such folder"), e);
    } catch (IOException e) {
      throw withSuppressed(new UnsatisfiedLinkError(refusal + ": cannot check it: " + e), e);
    }
    String jar = jarOf(NativeLoader.class);
    String resource = RESOURCE_DIR + "/" + platform.name + "/" + platform.bridgeFile;
    Path target = real.resolve(platform.bridgeFile);
    // Written beside its place under a name of its own, then renamed over it.
    Path written = real.resolve("." + platform.bridgeFile + "." + System.nanoTime() + ".new");
    try {
      write(
        readEntry(NativeLoader.class, jar, resource),
        written,
        "r-xr-xr-x",
        false,
        "written to",
        jar
      );
    } catch (UnsatisfiedLinkError e) {
      throw withSuppressed(new UnsatisfiedLinkError(refusal + ": " + e.getMessage()), e);
    }
    try {
      Files.move(
        written,
        target,
        StandardCopyOption.REPLACE_EXISTING,
        StandardCopyOption.ATOMIC_MOVE
      );
    } catch (IOException e) {
      try {
        Files.deleteIfExists(written);
      } catch (IOException gone) {
        e.addSuppressed(gone);
      }
      throw withSuppressed(
        new UnsatisfiedLinkError(refusal + ": cannot put " + written + " in its place: " + e),
        e
      );
    }
    return target;
  }

  // A native entry of a jar, read and checked against the jar's signers, and the SHA-256 digest
  // that the jar records beside it.
  private record Entry(String resource, byte[] bytes, String digest) {}

  private Entry readEntry(Class<?> owner, String jar, String resource) {
    Host.Resource library = readResource(owner, resource);
    if (library == null) {
      throw new UnsatisfiedLinkError(
        jar + " has no " + resource + ": no native library for " + platform.name + " in it"
      );
    }
    Host.Resource digestFile = readResource(owner, resource + ".sha256");
    if (digestFile == null) {
      throw new UnsatisfiedLinkError(jar + " has no digest " + resource + ".sha256: it is damaged");
    }
    checkSigned(owner, jar, resource, library);
    checkSigned(owner, jar, resource + ".sha256", digestFile);
    String expected = sha256Field(digestFile.bytes());
    if (expected == null) {
      throw new UnsatisfiedLinkError(
        "the digest " +
          resource +
          ".sha256 in " +
          jar +
          " is not a SHA-256 value: the jar is damaged"
      );
    }
    return new Entry(resource, library.bytes(), expected);
  }

  // Writes a jar's entry into the new file `file`, owner-only while it is written and then with
  // `mode` (POSIX), and checks the file as written, read back, against the jar's digest; on POSIX
  // systems returns the identity of the file read, which the library the system maps must then
  // have. `done` says in the messages what became of the copy ("extracted to"). A file that
  // fails is deleted.
  private Host.FileId write(
    Entry library,
    Path file,
    String mode,
    boolean deleteOnExit,
    String done,
    String jar
  ) {
    String step = "cannot write " + library.resource + " to " + file;
    boolean written = false;
    try {
      // Owner-only from the start.
      List<FileAttribute<?>> attributes = new ArrayList<>();
      if (!platform.windows) {
        attributes.add(PosixFilePermissions.asFileAttribute(mode("rw-------")));
      }
      try (
        SeekableByteChannel out = Files.newByteChannel(
          file,
          EnumSet.of(StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE),
          attributes.toArray(new FileAttribute<?>[0])
        )
      ) {
        written = true;
        if (deleteOnExit) file.toFile().deleteOnExit(); // should the process end before the load
        ByteBuffer buffer = ByteBuffer.wrap(library.bytes());
        while (buffer.hasRemaining()) out.write(buffer);
      }
      if (!platform.windows) Files.setPosixFilePermissions(file, mode(mode));
      // The digest is taken of the file as written, read back; on POSIX systems with the identity
      // of the file read.
      step = "cannot read back " + file;
      String digest;
      Host.FileId id = null;
      if (platform.windows) {
        digest = sha256(Files.readAllBytes(file));
      } else {
        MessageDigest sha256 = sha256();
        id = host.identify(file, sha256);
        digest = HexFormat.of().formatHex(sha256.digest());
      }
      if (!digest.equalsIgnoreCase(library.digest)) {
        throw new UnsatisfiedLinkError(
          "the copy of " +
            library.resource +
            " " +
            done +
            " " +
            file +
            " has SHA-256 " +
            digest +
            ", but the digest beside it in " +
            jar +
            " says " +
            library.digest +
            ": the jar is damaged; replace it"
        );
      }
      return id;
    } catch (IOException | UnsupportedOperationException | UnsatisfiedLinkError e) {
      if (written) {
        try {
          Files.deleteIfExists(file);
        } catch (IOException gone) {
          e.addSuppressed(gone);
        }
      }
      if (e instanceof UnsatisfiedLinkError link) throw link;
      throw withSuppressed(new UnsatisfiedLinkError(step + ": " + e), e);
    }
  }

  // A signed jar vouches for its native entries only where each of its classes' signers signed
  // them too: an entry added to a signed jar, or signed again by another key, is not the
  // signers' (the JDK checks each signed entry's bytes against its signature as it is read).
  private void checkSigned(Class<?> owner, String jar, String resource, Host.Resource entry) {
    Set<Certificate> required;
    try {
      required = certificates(host.signers(owner));
    } catch (SecurityException e) {
      throw withSuppressed(
        new UnsatisfiedLinkError(
          "the class " +
            owner.getName() +
            " of " +
            jar +
            " does not match the jar's signature (" +
            e.getMessage() +
            "): it was changed after" +
            " the jar was signed; use the jar as it was released"
        ),
        e
      );
    }
    if (required.isEmpty()) return;
    Set<Certificate> signed = certificates(entry.signers());
    if (signed.containsAll(required)) return;
    throw new UnsatisfiedLinkError(
      jar +
        " is signed by " +
        names(required) +
        ", but its entry " +
        resource +
        " is " +
        (signed.isEmpty() ? "not signed" : "signed only by " + names(signed)) +
        ": it was added or replaced after the jar was signed; use the jar as it was released"
    );
  }

  private static Set<Certificate> certificates(CodeSigner[] signers) {
    Set<Certificate> found = new LinkedHashSet<>();
    if (signers == null) return found;
    for (CodeSigner signer : signers) {
      List<? extends Certificate> path = signer.getSignerCertPath().getCertificates();
      if (!path.isEmpty()) found.add(path.get(0));
    }
    return found;
  }

  private static String names(Set<Certificate> certificates) {
    Set<String> names = new TreeSet<>();
    for (Certificate c : certificates) {
      names.add(
        c instanceof X509Certificate x ? x.getSubjectX500Principal().getName() : c.getType()
      );
    }
    return String.join(" and ", names);
  }

  synchronized void markLoaded(Path library) {
    for (Map.Entry<String, Extracted> e : extracted.entrySet()) {
      Extracted entry = e.getValue();
      if (!entry.path.equals(library.toAbsolutePath())) continue;
      if (!entry.loaded) {
        try {
          checkMapped(new Checked(entry.path, entry.id), entry.path.toString());
        } catch (UnsatisfiedLinkError refused) {
          discard(e.getKey());
          throw refused;
        }
      }
      entry.loaded = true;
      if (!platform.windows) discard(e.getKey());
    }
  }

  // The copy extracted here and loaded since that is `file`, or null.
  private synchronized Extracted loadedCopy(Path file) {
    for (Extracted e : extracted.values()) if (e.loaded && e.path.equals(file)) return e;
    return null;
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
      return; // still loaded (Windows) or gone with its folder; deleteOnExit stays
    }
    boolean empty = true;
    for (Extracted e : extracted.values()) empty &= e.deleted || !e.path.startsWith(folder);
    if (folder != null && empty) {
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
    Parent parent = extractionParent();
    if (!swept) {
      swept = true;
      sweep(parent.path);
    }
    try {
      String prefix = FOLDER_PREFIX + host.pid() + "-";
      folder = host.makePrivateFolder(parent.path, prefix, platform.windows).toAbsolutePath();
    } catch (IOException | RuntimeException e) {
      throw withSuppressed(
        new UnsatisfiedLinkError(
          "cannot create a private folder in " +
            parent.where +
            ": " +
            e +
            "; set the system property " +
            WORKDIR_PROPERTY +
            " to a folder that this user can write"
        ),
        e
      );
    }
    folder.toFile().deleteOnExit(); // after the files in it, which register later
    return folder;
  }

  // The folder the private folder is made in (on POSIX systems its real path), and how messages
  // name it.
  private record Parent(Path path, String where) {}

  private static final String SWAP =
    "another user could swap the library between its check and" + " its load";
  private static final String SAFE_FOLDER = "a folder that only this user and root can change";

  private Parent extractionParent() {
    String workdir = setting(host.property(WORKDIR_PROPERTY));
    if (workdir != null) {
      Path parent = Path.of(workdir).toAbsolutePath();
      String where = "the system property " + WORKDIR_PROPERTY + " (" + parent + ")";
      if (!Files.isDirectory(parent)) {
        throw new UnsatisfiedLinkError(
          "the folder in " +
            where +
            " does not exist: set " +
            WORKDIR_PROPERTY +
            " to an existing folder that this user can write"
        );
      }
      if (platform.windows) return windowsParent(parent, where, true);
      // Refused, not redirected: it was chosen on purpose, and its owner should know.
      Problem problem = unsafeFolder(parent);
      if (problem.real == null) {
        throw new UnsatisfiedLinkError(
          "the folder in " +
            where +
            " is not safe to extract into: " +
            problem.text +
            ", or set " +
            WORKDIR_PROPERTY +
            " to " +
            SAFE_FOLDER
        );
      }
      return new Parent(problem.real, where);
    }
    Path tmp = Path.of(String.valueOf(host.property("java.io.tmpdir"))).toAbsolutePath();
    String where = "java.io.tmpdir (" + tmp + ")";
    if (platform.windows) return windowsParent(tmp, where, false);
    Problem problem = unsafeFolder(tmp);
    if (problem.real != null) return new Parent(problem.real, where);
    // A temporary folder that other users can change (a shared /tmp without the sticky bit, say):
    // this user's cache folder instead.
    Path cache = null;
    Problem cached;
    try {
      cache = cacheFolder();
      cached = unsafeFolder(cache);
    } catch (IOException | RuntimeException e) {
      cached = new Problem(null, "it cannot be made: " + e);
    }
    if (cached.real != null) {
      return new Parent(
        cached.real,
        "this user's cache folder (" + cache + "), since " + where + " is not safe to extract into"
      );
    }
    throw new UnsatisfiedLinkError(
      where +
        " is not safe to extract into: " +
        problem.text +
        "; nor is this user's cache folder" +
        (cache != null ? " " + cache : "") +
        ": " +
        cached.text +
        "; set the system property " +
        WORKDIR_PROPERTY +
        " to " +
        SAFE_FOLDER
    );
  }

  // The outcome of checking a folder: its real path when it is safe, else why not.
  private record Problem(Path real, String text) {}

  private Problem unsafeFolder(Path folder) {
    try {
      Path real = folder.toRealPath();
      if (!Files.isDirectory(real)) return new Problem(null, real + " is not a folder");
      SafePath.Problem problem = SafePath.check(host, uid(), real, false);
      return problem == null ? new Problem(real, null) : new Problem(null, problem.sentence(SWAP));
    } catch (IOException e) {
      return new Problem(null, "it cannot be checked: " + e);
    }
  }

  // $XDG_CACHE_HOME/tarvexjni where that is an absolute path, else ~/.cache/tarvexjni; the
  // folders it makes are this user's alone.
  private Path cacheFolder() throws IOException {
    String xdg = setting(host.variable("XDG_CACHE_HOME"));
    Path base =
      xdg != null && Path.of(xdg).isAbsolute()
        ? Path.of(xdg)
        : Path.of(String.valueOf(host.property("user.home")), ".cache");
    if (!base.isAbsolute()) throw new IOException(
      "no home folder (user.home is " + base.getParent() + ")"
    );
    return Files.createDirectories(
      base.resolve("tarvexjni"),
      PosixFilePermissions.asFileAttribute(mode("rwx------"))
    );
  }

  // Removes the folders that earlier JVMs of this user left in `parent` and whose process is
  // gone: those of a crash or a kill -9, and on Windows every one, where a loaded library cannot
  // be deleted. What cannot go, stays. The parent is safe by now: nobody else can rename entries
  // in it while this runs.
  private void sweep(Path parent) {
    try (DirectoryStream<Path> entries = Files.newDirectoryStream(parent)) {
      for (Path entry : entries) {
        String name = entry.getFileName().toString();
        if (!name.startsWith(FOLDER_PREFIX)) continue;
        long pid = folderPid(name);
        if (pid < 0 || !Files.isDirectory(entry, LinkOption.NOFOLLOW_LINKS)) continue;
        if (pid == host.pid() || (!platform.windows && host.owner(entry).uid() != uid())) continue;
        if (host.ownerGone(pid, entry, platform.windows)) deleteTree(entry);
      }
    } catch (IOException | RuntimeException e) {
      // Nothing to sweep, or not allowed to: leave it.
    }
  }

  // Deletes a folder and what it holds, without following links.
  private static void deleteTree(Path root) {
    try (Stream<Path> all = Files.walk(root)) {
      for (Path p : (Iterable<Path>) all.sorted(Comparator.reverseOrder())::iterator) {
        Files.deleteIfExists(p);
      }
    } catch (IOException | RuntimeException e) {
      // In use, or someone else's: it stays.
    }
  }

  private Host.Resource readResource(Class<?> owner, String resource) {
    try {
      return host.readResource(owner, resource);
    } catch (IOException e) {
      throw withSuppressed(
        new UnsatisfiedLinkError("cannot read " + resource + " from " + jarOf(owner) + ": " + e),
        e
      );
    } catch (SecurityException e) {
      // a signed entry whose bytes are not those signed
      throw withSuppressed(
        new UnsatisfiedLinkError(
          "the entry " +
            resource +
            " of " +
            jarOf(owner) +
            " does not match the jar's signature (" +
            e.getMessage() +
            "): it was" +
            " changed after the jar was signed; use the jar as it was released"
        ),
        e
      );
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

  private String sha256(byte[] bytes) {
    return HexFormat.of().formatHex(sha256().digest(bytes));
  }

  private MessageDigest sha256() {
    try {
      return host.sha256();
    } catch (NoSuchAlgorithmException e) {
      throw new UnsatisfiedLinkError("no SHA-256 in this JVM: " + e);
    }
  }

  // The process id in the name of a folder of FOLDER_PREFIX, "tarvexjni-<pid>-<random>", or -1.
  // Read by hand, as is the digest below: a regular expression's first use costs a JVM that has
  // just started more than the rest of the loader's checks of texts.
  static long folderPid(String name) {
    int at = FOLDER_PREFIX.length();
    int dash = name.indexOf('-', at);
    if (
      !name.startsWith(FOLDER_PREFIX) || dash <= at || dash > at + 18 || dash == name.length() - 1
    ) {
      return -1;
    }
    long pid = 0;
    for (int i = at; i < dash; i++) {
      char c = name.charAt(i);
      if (c < '0' || c > '9') return -1;
      pid = pid * 10 + (c - '0');
    }
    return pid;
  }

  // The first field of a digest file (sha256sum's "<digest>  <name>", or the digest alone) when
  // it is 64 hexadecimal digits, else null.
  static String sha256Field(byte[] file) {
    int from = 0;
    while (from < file.length && whitespace(file[from])) from++;
    int to = from;
    while (to < file.length && !whitespace(file[to])) to++;
    if (to - from != 64) return null;
    for (int i = from; i < to; i++) if (Character.digit(file[i], 16) < 0) return null;
    return new String(file, from, 64, StandardCharsets.US_ASCII);
  }

  private static boolean whitespace(byte b) {
    return b == ' ' || b == '\t' || b == '\n' || b == '\r' || b == '\f' || b == 0x0B;
  }

  private static String stripSlashes(String dir) {
    int from = 0;
    int to = dir.length();
    while (from < to && dir.charAt(from) == '/') ++from;
    while (to > from && dir.charAt(to - 1) == '/') --to;
    return dir.substring(from, to);
  }
}
