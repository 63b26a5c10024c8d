package tarvexjni.internal;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.security.CodeSigner;
import java.security.MessageDigest;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.HexFormat;
import java.util.List;
import java.util.Map;

/**
 * The loader's decisions for a platform this JVM is not, here Windows x64: the names it looks
 * for, the order in which it loads, what it deletes and what it leaves, the folders of earlier
 * runs it removes, and its messages (the owner-only access list itself needs Windows); and on
 * Linux what no real loading can bring about on demand: a library mapped that is not the file
 * that was checked. Loading itself is recorded, not done. Run by loader_test.sh with a folder of
 * its own as the argument; throws at the first difference.
 */
public final class ForcedPlatforms {

  private static final Platform WINDOWS = Platform.of("Windows 11", "amd64");
  private static Path work;

  public static void main(String[] args) throws Exception {
    work = Path.of(args[0]).toAbsolutePath();
    names();
    jarCopyWithTheVendorNamed();
    vendorBesideAnInstalledBridge();
    kitCopyStaysAndServesAsTheVendor();
    missingVendorSpeaksOfPath();
    vendorFromAbsoluteFoldersOfPath();
    pathsOutsideTheAnsiCodePage();
    installOnWindows();
    foldersOfEarlierRuns();
    swappedLibrariesAreRefusedAndTheBridgeStaysInert();
    codesetIsForLinux();
    exactCodePageIsForWindows();
    System.out.println("forced platforms: all passed");
  }

  // Texts cross in the active ANSI code page on Windows: a name of another encoding is refused
  // before anything is loaded, rather than ignored.
  static void codesetIsForLinux() throws Exception {
    Recorder host = new Recorder("codeset");
    host.properties.put("tarvexjni.codeset", "windows-1252");
    expect(
      failure(new NativeLoader(WINDOWS, host)).getMessage(),
      "The system property tarvexjni.codeset" +
        " (windows-1252) is for Linux: on Windows texts cross in the active ANSI code page, which the" +
        " system's settings choose; remove it"
    );
    expect(host.loads, List.of());
    expect(host.activations, 0);
  }

  // tarvexjni.exactCodePage: true or false, read by the bridge on Windows; refused elsewhere, and
  // with any other value, before anything is loaded.
  static void exactCodePageIsForWindows() throws Exception {
    Recorder host = linuxRecorder("exact-linux");
    host.properties.put("tarvexjni.exactCodePage", "true");
    expect(
      failure(new NativeLoader(Platform.of("Linux", "amd64"), host)).getMessage(),
      "The system property tarvexjni.exactCodePage (true) is for Windows: on Linux no character" +
        " becomes another on its way to the library (one the codeset lacks becomes '?'); remove it"
    );
    expect(host.loads, List.of());
    host.properties.put("tarvexjni.exactCodePage", "FALSE");
    new NativeLoader(Platform.of("Linux", "amd64"), host).load();

    host = new Recorder("exact-windows");
    host.properties.put(
      "tarvex.library",
      Files.writeString(host.dir.resolve("tarvex.dll"), "v").toString()
    );
    host.properties.put("tarvexjni.exactCodePage", "yes");
    expect(
      failure(new NativeLoader(WINDOWS, host)).getMessage(),
      "The system property tarvexjni.exactCodePage (yes) is neither true nor false: set it to true" +
        " or false"
    );
    expect(host.loads, List.of());
    host.properties.put("tarvexjni.exactCodePage", "True");
    new NativeLoader(WINDOWS, host).load();
    expect(host.loads.size(), 2);
  }

  static void names() {
    expect(
      WINDOWS.name + " " + WINDOWS.bridgeFile + " " + WINDOWS.vendorFile + " " + WINDOWS.searchPath,
      "windows-x86_64 tarvexjni.dll tarvex.dll PATH"
    );
    expect(Platform.of("Windows 11", "aarch64").name, null); // no jar carries it: java.library.path
  }

  // The jar's DLL is extracted into a folder named after the process, loaded after the vendor
  // library the property names, and left there: Windows cannot delete a loaded library.
  static void jarCopyWithTheVendorNamed() throws Exception {
    Recorder host = new Recorder("jar");
    Path vendor = Files.writeString(host.dir.resolve("tarvex.dll"), "vendor");
    host.properties.put("tarvex.library", vendor.toString());
    new NativeLoader(WINDOWS, host).load();
    expect(host.loads.size(), 2);
    expect(host.loads.get(0), vendor.toString());
    Path bridge = Path.of(host.loads.get(1));
    expect(bridge.getFileName().toString(), "tarvexjni.dll");
    expect(bridge.getParent().getParent(), host.workdir);
    check(
      bridge
        .getParent()
        .getFileName()
        .toString()
        .startsWith("tarvexjni-" + host.pid() + "-"),
      bridge
    );
    check(Files.isRegularFile(bridge), "the loaded DLL was deleted: " + bridge);
  }

  // tarvexjni.library names an installed bridge: the tarvex.dll beside it is loaded first.
  static void vendorBesideAnInstalledBridge() throws Exception {
    Recorder host = new Recorder("installed");
    Path vendor = Files.writeString(host.dir.resolve("tarvex.dll"), "vendor");
    Path bridge = Files.writeString(host.dir.resolve("tarvexjni.dll"), "bridge");
    host.properties.put("tarvexjni.library", bridge.toString());
    new NativeLoader(WINDOWS, host).load();
    expect(host.loads, List.of(vendor.toString(), bridge.toString()));
  }

  // The kit extracts its tarvex.dll into the same folder and loads it itself; the bridge beside
  // it then finds it loaded. Both copies stay.
  static void kitCopyStaysAndServesAsTheVendor() throws Exception {
    Recorder host = new Recorder("kit");
    host.resource("tarvexjni/standin/native/windows-x86_64/tarvex.dll", "stand-in");
    NativeLoader loader = new NativeLoader(WINDOWS, host);
    Path kit = loader.extractFile(ForcedPlatforms.class, "tarvexjni/standin/native", "tarvex.dll");
    loader.markLoaded(kit);
    host.properties.put("tarvex.library", kit.toString());
    loader.load();
    expect(host.loads, List.of(kit.resolveSibling("tarvexjni.dll").toString()));
    check(Files.isRegularFile(kit), "the kit's loaded DLL was deleted");
  }

  // Without a vendor library found by the loader itself the bridge is not even tried (Windows
  // would search the working folder for its import); the failure says where the loader looked,
  // and the DLL extracted is deleted with its folder. The outcome is kept: the second attempt
  // fails the same, loading nothing.
  static void missingVendorSpeaksOfPath() throws Exception {
    Recorder host = new Recorder("missing");
    Path none = Files.createDirectories(host.dir.resolve("none"));
    host.variables.put("PATH", none + ";bin");
    NativeLoader loader = new NativeLoader(WINDOWS, host);
    UnsatisfiedLinkError thrown = failure(loader);
    UnsatisfiedLinkError first = loader.firstFailure();
    String message = first.getMessage();
    check(
      message.startsWith(
        "Cannot find tarvex.dll, the tarvex library that tarvexjni.dll needs: neither the system" +
          " property tarvex.library nor the environment variable TARVEX_LIBRARY names it, and it is" +
          " not at " +
          host.workdir +
          "/tarvexjni-"
      ) &&
        message.contains(
          "/tarvex.dll, " +
            none.resolve("tarvex.dll") +
            " (passed over on PATH: bin (relative)); set tarvex.library to its path, or put it in an" +
            " absolute folder on PATH"
        ),
      message
    );
    check(!message.contains("LD_LIBRARY_PATH") && !message.contains("SONAME"), message);
    expect(host.loads, List.of());
    check(thrown.getCause() == first && thrown.getMessage().equals(message), thrown);
    try (var left = Files.list(host.workdir)) {
      expect(left.count(), 0L);
    }
    UnsatisfiedLinkError again = failure(loader);
    check(again != thrown && again.getCause() == first, again);
    expect(host.loads, List.of());

    // A bridge that does not load after tarvex.dll: the system's text, in whatever language,
    // and the same advice.
    List<String> texts = List.of(
      "The specified procedure could not be found",
      "Die angegebene Prozedur wurde nicht gefunden"
    );
    for (String text : texts) {
      host = new Recorder("procedure-" + texts.indexOf(text));
      host.refuse = text;
      Path vendor = Files.writeString(host.dir.resolve("tarvex.dll"), "old");
      host.properties.put("tarvex.library", vendor.toString());
      message = failure(new NativeLoader(WINDOWS, host)).getMessage();
      check(
        message.startsWith("Cannot load tarvexjni.dll from the jar's copy for windows-x86_64") &&
          message.contains(
            ": " +
              text +
              " (tarvex.dll from the system property tarvex.library (" +
              vendor +
              ") was loaded first; where the system's text speaks of a procedure that could not" +
              " be found, that tarvex library lacks a function that tarvexjni.dll "
          ),
        message
      );
    }
  }

  // tarvex.dll from the first absolute folder of PATH that has it, loaded by its path before the
  // bridge; never from the working folder or a relative entry, even where PATH names them first.
  static void vendorFromAbsoluteFoldersOfPath() throws Exception {
    Recorder host = new Recorder("path");
    Path here = Files.createDirectories(host.dir.resolve("here"));
    host.properties.put("user.dir", here.toString());
    Files.writeString(here.resolve("tarvex.dll"), "decoy");
    Files.createDirectories(here.resolve("rel"));
    Files.writeString(here.resolve("rel/tarvex.dll"), "decoy");
    Path empty = Files.createDirectories(host.dir.resolve("empty"));
    Path vendor = Files.createDirectories(host.dir.resolve("vendor dir"));
    Files.writeString(vendor.resolve("tarvex.dll"), "vendor");
    host.variables.put("PATH", ";.;rel;" + here + ";" + empty + ";\"" + vendor + "\";");
    new NativeLoader(WINDOWS, host).load();
    expect(host.loads.size(), 2);
    expect(host.loads.get(0), vendor.resolve("tarvex.dll").toString());
    check(host.loads.get(1).endsWith("tarvexjni.dll"), host.loads);
  }

  // The JVM loads through a narrow path in the ANSI code page (sun.jnu.encoding): a folder whose
  // path that code page cannot carry is never extracted into. java.io.tmpdir in a Cyrillic user's
  // profile under code page 1252 gives way to %SystemRoot%\Temp; a named folder is refused, and
  // so is a library named by such a path.
  static void pathsOutsideTheAnsiCodePage() throws Exception {
    Recorder host = new Recorder("ansi");
    host.properties.remove("tarvexjni.workdir");
    host.properties.put("sun.jnu.encoding", "Cp1252");
    Path profile = Files.createDirectories(host.dir.resolve("Users/\u0418\u0432\u0430\u043d/Temp"));
    host.properties.put("java.io.tmpdir", profile.toString());
    Path system = Files.createDirectories(host.dir.resolve("Windows/Temp")).getParent();
    host.variables.put("SystemRoot", system.toString());
    Path vendor = Files.writeString(host.dir.resolve("tarvex.dll"), "vendor");
    host.properties.put("tarvex.library", vendor.toString());
    new NativeLoader(WINDOWS, host).load();
    expect(Path.of(host.loads.get(1)).getParent().getParent(), system.resolve("Temp"));
    try (var left = Files.list(profile)) {
      expect(left.count(), 0L);
    }

    host.variables.remove("SystemRoot");
    String message = failure(new NativeLoader(WINDOWS, host)).getMessage();
    expect(
      message,
      "Cannot extract the jar's copy of tarvexjni.dll for windows-x86_64: the ANSI code page" +
        " windows-1252 cannot carry the path " +
        profile +
        " (java.io.tmpdir), and the JVM gives Windows a library's path in that code page; nor is" +
        " SystemRoot set: set the system property tarvexjni.workdir to an existing folder whose path" +
        " that code page can carry"
    );

    host.properties.put("tarvexjni.workdir", profile.toString());
    host.variables.put("SystemRoot", system.toString());
    message = failure(new NativeLoader(WINDOWS, host)).getMessage();
    check(
      message.contains(
        "the ANSI code page windows-1252 cannot carry the path " +
          profile +
          " (the system property tarvexjni.workdir), and the JVM gives Windows a library's path in" +
          " that code page: set the system property tarvexjni.workdir"
      ),
      message
    );

    host.properties.put("tarvexjni.workdir", host.workdir.toString());
    Path named = Files.writeString(profile.resolve("tarvex.dll"), "vendor");
    host.properties.put("tarvex.library", named.toString());
    message = failure(new NativeLoader(WINDOWS, host)).getMessage();
    expect(
      message,
      "Cannot load tarvex.dll from the system property tarvex.library (" +
        named +
        "): its path has characters that the ANSI code page windows-1252 cannot carry, and the JVM" +
        " gives Windows a library's path in that code page"
    );
  }

  // Installing on Windows: the jar's DLL checked and put in place, again over an earlier copy,
  // nothing else left in the folder; a folder whose path the ANSI code page cannot carry is
  // refused before anything is written, since the JVM could not load the copy from there.
  static void installOnWindows() throws Exception {
    Recorder host = new Recorder("install");
    host.properties.put("sun.jnu.encoding", "Cp1252");
    Path folder = Files.createDirectories(host.dir.resolve("Program Files/app"));
    NativeLoader loader = new NativeLoader(WINDOWS, host);
    Path installed = loader.installBridge(folder);
    expect(installed, folder.toRealPath().resolve("tarvexjni.dll"));
    expect(Files.readString(installed), "bridge");
    host.resource("tarvexjni/native/windows-x86_64/tarvexjni.dll", "bridge, built again");
    loader.installBridge(folder);
    expect(Files.readString(installed), "bridge, built again");
    try (var left = Files.list(folder)) {
      expect(left.count(), 1L);
    }
    expect(host.loads.size(), 0);

    Path profile = Files.createDirectories(host.dir.resolve("Users/\u0418\u0432\u0430\u043d"));
    try {
      loader.installBridge(profile);
      throw new AssertionError("installed in " + profile);
    } catch (UnsatisfiedLinkError e) {
      expect(
        e.getMessage(),
        "Cannot install tarvexjni.dll in " +
          profile +
          ": its path has characters that the ANSI code page windows-1252 cannot carry, and the" +
          " JVM gives Windows a library's path in that code page"
      );
    }
    try (var left = Files.list(profile)) {
      expect(left.count(), 0L);
    }
  }

  // Folders whose process is gone are removed at the first extraction; a live process's folder,
  // this process's own and anything not named like them stay.
  static void foldersOfEarlierRuns() throws Exception {
    Recorder host = new Recorder("sweep");
    Process ended = new ProcessBuilder("true").start();
    ended.waitFor();
    Path dead = Files.createDirectories(host.workdir.resolve("tarvexjni-" + ended.pid() + "-1"));
    Files.writeString(dead.resolve("tarvexjni.dll"), "left by a crash");
    Path live = Files.createDirectories(host.workdir.resolve("tarvexjni-1-2")); // pid 1 started first
    Path own = Files.createDirectories(host.workdir.resolve("tarvexjni-" + host.pid() + "-3"));
    Path other = Files.createDirectories(host.workdir.resolve("tarvexjni-notes"));
    host.properties.put(
      "tarvex.library",
      Files.writeString(host.dir.resolve("tarvex.dll"), "v").toString()
    );
    new NativeLoader(WINDOWS, host).load();
    check(!Files.exists(dead), "a dead process's folder stayed");
    for (Path p : List.of(live, own, other)) check(Files.isDirectory(p), "removed " + p);

    // Linux: only this user's folders, never through a link; the bridge's own copy is deleted
    // once loaded.
    Recorder linux = new Recorder("linux");
    Path left = Files.createDirectories(linux.workdir.resolve("tarvexjni-" + ended.pid() + "-1"));
    Files.writeString(left.resolve("libtarvexjni.so"), "left by a kill -9");
    Path others = Files.createDirectories(linux.workdir.resolve("tarvexjni-" + ended.pid() + "-2"));
    Files.setAttribute(others, "unix:uid", 4242);
    Path target = Files.createDirectories(linux.dir.resolve("target"));
    Files.writeString(target.resolve("kept"), "not the loader's");
    Path link = Files.createSymbolicLink(
      linux.workdir.resolve("tarvexjni-" + ended.pid() + "-3"),
      target
    );
    linux.properties.put(
      "tarvex.library",
      Files.writeString(linux.dir.resolve("libtarvex.so"), "v").toString()
    );
    linux.resource("tarvexjni/native/linux-x86_64/libtarvexjni.so", "bridge");
    new NativeLoader(Platform.of("Linux", "amd64"), linux).load();
    try (var rest = Files.list(linux.workdir)) {
      expect(rest.sorted().toList(), List.of(others, link));
    }
    check(Files.exists(target.resolve("kept")), "swept through a link");
    expect(linux.activations, 1);
  }

  // What the system mapped under a checked library's name is another file: the load fails,
  // saying so, and the bridge is not activated. The same for a bridge of another version.
  static void swappedLibrariesAreRefusedAndTheBridgeStaysInert() throws Exception {
    Platform linux = Platform.of("Linux", "amd64");
    Recorder host = linuxRecorder("swapped-bridge");
    host.swapped = "libtarvexjni.so";
    String message = failure(new NativeLoader(linux, host)).getMessage();
    check(
      message.startsWith(
        "libtarvexjni.so from the jar's copy for linux-x86_64, extracted to " +
          host.workdir +
          "/tarvexjni-"
      ),
      message
    );
    check(
      message.contains(
        " was loaded, but the file the system mapped is not the one that was" +
          " checked (device 00:00, inode 1, where device "
      ),
      message
    );
    check(
      message.contains(
        "): it was replaced in between, so it is not used; find out what else can change " +
          host.workdir +
          "/tarvexjni-"
      ),
      message
    );
    expect(host.activations, 0);

    host = linuxRecorder("swapped-vendor");
    host.swapped = "libtarvex.so";
    message = failure(new NativeLoader(linux, host)).getMessage();
    check(
      message.startsWith(
        "libtarvex.so from the system property tarvex.library (" +
          host.dir.resolve("libtarvex.so") +
          ") was loaded, but the file the system mapped is not"
      ),
      message
    );
    expect(host.loads.size(), 1); // the bridge never
    expect(host.activations, 0);

    host = linuxRecorder("other-version");
    host.version = "0.0.9";
    message = failure(new NativeLoader(linux, host)).getMessage();
    check(message.contains(" is version 0.0.9, but tarvexjni.jar is version "), message);
    expect(host.activations, 0);
  }

  private static Recorder linuxRecorder(String name) throws Exception {
    Recorder host = new Recorder(name);
    host.resource("tarvexjni/native/linux-x86_64/libtarvexjni.so", "bridge");
    host.properties.put(
      "tarvex.library",
      Files.writeString(host.dir.resolve("libtarvex.so"), "v").toString()
    );
    return host;
  }

  /**
   * A host that serves resources from memory, records loads and activations, makes POSIX
   * folders, and reports every library it "loaded" as mapped from the file that was checked, or
   * for the file named {@code swapped}, from another.
   */
  static final class Recorder extends Host {

    final Path dir;
    final Path workdir;
    final Map<String, String> properties = new HashMap<>();
    final Map<String, String> variables = new HashMap<>();
    final Map<String, byte[]> resources = new HashMap<>();
    final List<String> loads = new ArrayList<>();
    final Map<Path, FileId> checked = new HashMap<>();
    String refuse; // what loading the bridge fails with, if anything
    String swapped; // the file name of a library mapped from another file than the one checked
    String version = NativeLoader.version();
    int activations;

    Recorder(String name) throws Exception {
      dir = Files.createDirectories(work.resolve(name));
      workdir = Files.createDirectories(dir.resolve("work"));
      properties.put("tarvexjni.workdir", workdir.toString());
      resource("tarvexjni/native/windows-x86_64/tarvexjni.dll", "bridge");
    }

    void resource(String name, String content) throws Exception {
      byte[] bytes = content.getBytes(StandardCharsets.US_ASCII);
      resources.put(name, bytes);
      String digest = HexFormat.of().formatHex(MessageDigest.getInstance("SHA-256").digest(bytes));
      resources.put(name + ".sha256", (digest + "  x\n").getBytes(StandardCharsets.US_ASCII));
    }

    @Override
    String property(String name) {
      return properties.get(name);
    }

    @Override
    String variable(String name) {
      return variables.get(name);
    }

    @Override
    void load(String path) {
      loads.add(path);
      if (refuse != null && path.endsWith("tarvexjni.dll")) throw new UnsatisfiedLinkError(
        path + ": " + refuse
      );
    }

    @Override
    String bridgeVersion() {
      return version;
    }

    @Override
    void activateBridge(String codeset, char[] units) {
      ++activations;
    }

    @Override
    boolean hasResource(Class<?> owner, String name) {
      return resources.containsKey(name);
    }

    @Override
    Resource readResource(Class<?> owner, String name) {
      byte[] bytes = resources.get(name);
      return bytes == null ? null : new Resource(bytes, null);
    }

    @Override
    CodeSigner[] signers(Class<?> owner) {
      return null;
    }

    @Override
    FileId identify(Path file, MessageDigest digest) throws IOException {
      FileId id = super.identify(file, digest);
      checked.put(file, id);
      return id;
    }

    @Override
    List<Mapping> mappings(Path file) {
      FileId id = file.getFileName().toString().equals(swapped)
        ? new FileId("00:00", 1)
        : checked.get(file);
      return id == null ? List.of() : List.of(new Mapping(id, true));
    }

    @Override
    Path makePrivateFolder(Path parent, String prefix, boolean windows) throws IOException {
      return Files.createTempDirectory(
        parent,
        prefix,
        PosixFilePermissions.asFileAttribute(PosixFilePermissions.fromString("rwx------"))
      );
    }

    @Override
    String mappedLibrary(String fileName) {
      return null;
    }
  }

  private static UnsatisfiedLinkError failure(NativeLoader loader) {
    try {
      loader.load();
    } catch (UnsatisfiedLinkError e) {
      return e;
    }
    throw new AssertionError("loaded");
  }

  private static void expect(Object actual, Object expected) {
    if (!java.util.Objects.equals(actual, expected)) {
      throw new AssertionError("expected " + expected + ", got " + actual);
    }
  }

  private static void check(boolean condition, Object what) {
    if (!condition) throw new AssertionError(what);
  }
}
