package tarvexjni.internal;

import java.io.ByteArrayInputStream;
import java.io.IOException;
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.security.MessageDigest;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.HexFormat;
import java.util.List;
import java.util.Map;

/**
 * The loader's decisions for a platform this JVM is not, here Windows x64: the names it looks
 * for, the order in which it loads, what it deletes and what it leaves, the folders of earlier
 * runs it removes, and its messages. (The owner-only access list itself needs Windows.) Loading itself is recorded, not done. Run by
 * loader_test.sh with a folder of its own as the argument; throws at the first difference.
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
    foldersOfEarlierRuns();
    System.out.println("forced platforms: all passed");
  }

  static void names() {
    expect(WINDOWS.name + " " + WINDOWS.bridgeFile + " " + WINDOWS.vendorFile + " " + WINDOWS.searchPath,
        "windows-x86_64 tarvexjni.dll tarvex.dll PATH");
    expect(Platform.of("Windows 11", "aarch64").name, null);  // no jar carries it: java.library.path
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
    check(bridge.getParent().getFileName().toString().startsWith("tarvexjni-" + host.pid() + "-"), bridge);
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

  // Without a vendor library the failure names PATH, and the DLL that did not load is deleted
  // with its folder. The outcome is kept: the second attempt fails the same, loading nothing.
  static void missingVendorSpeaksOfPath() throws Exception {
    Recorder host = new Recorder("missing");
    host.refuse = "Can't find dependent libraries";
    NativeLoader loader = new NativeLoader(WINDOWS, host);
    UnsatisfiedLinkError thrown = failure(loader);
    UnsatisfiedLinkError first = loader.firstFailure();
    String message = first.getMessage();
    check(message.startsWith("Cannot find tarvex.dll, the tarvex library that tarvexjni.dll needs: set"
        + " the system property tarvex.library or the environment variable TARVEX_LIBRARY to its path,"
        + " or put it in a folder on PATH"), message);
    check(!message.contains("LD_LIBRARY_PATH") && !message.contains("SONAME"), message);
    expect(first.getSuppressed().length, 1);
    check(thrown.getCause() == first && thrown.getMessage().equals(message), thrown);
    try (var left = Files.list(host.workdir)) {
      expect(left.count(), 0L);
    }
    UnsatisfiedLinkError again = failure(loader);
    check(again != thrown && again.getCause() == first, again);
    expect(host.loads.size(), 1);

    host = new Recorder("procedure");
    host.refuse = "The specified procedure could not be found";
    host.properties.put("tarvex.library", Files.writeString(host.dir.resolve("tarvex.dll"), "old").toString());
    message = failure(new NativeLoader(WINDOWS, host)).getMessage();
    check(message.startsWith("The tarvex library tarvex.dll from the system property tarvex.library ("
        + host.dir.resolve("tarvex.dll") + ") lacks a function (Windows does not say which)"), message);
  }

  // Folders whose process is gone are removed at the first extraction; a live process's folder,
  // this process's own and anything not named like them stay.
  static void foldersOfEarlierRuns() throws Exception {
    Recorder host = new Recorder("sweep");
    Process ended = new ProcessBuilder("true").start();
    ended.waitFor();
    Path dead = Files.createDirectories(host.workdir.resolve("tarvexjni-" + ended.pid() + "-1"));
    Files.writeString(dead.resolve("tarvexjni.dll"), "left by a crash");
    Path live = Files.createDirectories(host.workdir.resolve("tarvexjni-1-2"));  // pid 1 started first
    Path own = Files.createDirectories(host.workdir.resolve("tarvexjni-" + host.pid() + "-3"));
    Path other = Files.createDirectories(host.workdir.resolve("tarvexjni-notes"));
    host.properties.put("tarvex.library", Files.writeString(host.dir.resolve("tarvex.dll"), "v").toString());
    new NativeLoader(WINDOWS, host).load();
    check(!Files.exists(dead), "a dead process's folder stayed");
    for (Path p : List.of(live, own, other)) check(Files.isDirectory(p), "removed " + p);

    Recorder linux = new Recorder("linux");  // Linux deletes at once and sweeps nothing
    Path kept = Files.createDirectories(linux.workdir.resolve("tarvexjni-" + ended.pid() + "-1"));
    linux.properties.put("tarvex.library", Files.writeString(linux.dir.resolve("libtarvex.so"), "v").toString());
    linux.resource("tarvexjni/native/linux-x86_64/libtarvexjni.so", "bridge");
    new NativeLoader(Platform.of("Linux", "amd64"), linux).load();
    try (var left = Files.list(linux.workdir)) {
      expect(left.toList(), List.of(kept));
    }
  }

  /** A host that serves resources from memory, records loads and makes POSIX folders. */
  static final class Recorder extends Host {
    final Path dir;
    final Path workdir;
    final Map<String, String> properties = new HashMap<>();
    final Map<String, byte[]> resources = new HashMap<>();
    final List<String> loads = new ArrayList<>();
    String refuse;  // what loading the bridge fails with, if anything

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

    @Override String property(String name) {
      return properties.get(name);
    }

    @Override String variable(String name) {
      return null;
    }

    @Override void load(String path) {
      loads.add(path);
      if (refuse != null && path.endsWith("tarvexjni.dll")) throw new UnsatisfiedLinkError(path + ": " + refuse);
    }

    @Override String bridgeVersion() {
      return NativeLoader.version();
    }

    @Override InputStream resource(Class<?> owner, String name) {
      byte[] bytes = resources.get(name);
      return bytes == null ? null : new ByteArrayInputStream(bytes);
    }

    @Override Path makePrivateFolder(Path parent, String prefix, boolean windows) throws IOException {
      return Files.createTempDirectory(parent, prefix,
          PosixFilePermissions.asFileAttribute(PosixFilePermissions.fromString("rwx------")));
    }

    @Override String mappedLibrary(String fileName) {
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
