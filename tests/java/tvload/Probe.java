package tvload;

import Norv1.LocalIface;
import java.net.URL;
import java.net.URLClassLoader;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.HashSet;
import java.util.List;
import java.util.Set;
import tarvexjni.Native;

/**
 * A program as an application would write it, run by loader_test.sh in a fresh JVM for each
 * case. Prints what it did, one line per step; a bridge that cannot be loaded prints the
 * error's message instead and exits with 3, so that stderr stays the JVM's own.
 *
 * <p>Arguments, any of: {@code kit} initialises the test kit first, as tests over it do;
 * {@code availability} asks {@link Native} before anything else, then uses LocalIface twice;
 * {@code again} loads LocalIface in a second class loader afterwards; {@code wait} says
 * "waiting" and sleeps, to be killed; {@code handlers} says at the end, loaded or not, which
 * libraries hold the SIGSEGV and SIGBUS handlers ({@link Direct#handlers()}); {@code overflow}
 * has the stand-in overflow the stack inside a call, after saying "overflowing".
 */
public final class Probe {

  public static void main(String[] args) throws Exception {
    List<String> options = List.of(args);
    if (options.contains("kit")) Class.forName("tarvexjni.standin.StandIn")
      .getMethod("reset")
      .invoke(null);
    if (options.contains("availability")) {
      availability();
      return;
    }
    if (options.contains("overflow")) {
      overflow();
      return;
    }
    try {
      LocalIface lib = new LocalIface();
      int status = LocalIface.QUMENJNI_InitMinimal(lib);
      LocalIface.mem_blk_t hash = new LocalIface.mem_blk_t();
      status |= LocalIface.QUMENJNI_HashMem(
        lib,
        new LocalIface.mem_blk_t(new byte[] { 1, 2, 3 }),
        hash
      );
      status |= LocalIface.QUMENJNI_Uninitialize(lib);
      System.out.println(
        "hashed: status " +
          status +
          ", " +
          hash.len +
          " bytes, module " +
          LocalIface.class.getModule().getName()
      );
    } catch (UnsatisfiedLinkError e) {
      System.out.println("UnsatisfiedLinkError: " + e.getMessage());
      if (options.contains("handlers")) Direct.handlers();
      System.exit(3);
    }
    Module module = LocalIface.class.getModule();
    System.out.println(
      "versions: jar " +
        Native.version() +
        ", bridge " +
        Native.bridgeVersion() +
        ", module " +
        (module.isNamed()
          ? module.getDescriptor().version().map(Object::toString).orElse("none")
          : "unnamed") +
        ", available " +
        Native.isAvailable() +
        ", cause " +
        Native.unavailabilityCause().orElse(null)
    );
    if (options.contains("again")) {
      // LocalIface in a second class loader
      URL jar = LocalIface.class.getProtectionDomain().getCodeSource().getLocation();
      try (
        URLClassLoader other = new URLClassLoader(
          new URL[] { jar },
          ClassLoader.getPlatformClassLoader()
        )
      ) {
        Class.forName("Norv1.LocalIface", true, other);
        System.out.println("again: loaded");
      } catch (UnsatisfiedLinkError e) {
        System.out.println("again: " + e.getMessage());
      }
    }
    // Where the libraries came from: the file with its permissions and its folder's, or that
    // it was deleted once loaded.
    Set<String> seen = new HashSet<>();
    for (String line : Files.readAllLines(Path.of("/proc/self/maps"))) {
      int slash = line.indexOf('/');
      if (slash < 0) continue;
      String file = line.substring(slash);
      String name = file.contains("/libtarvexjni.so")
        ? "bridge"
        : file.contains("/libtarvex.so")
          ? "vendor"
          : null;
      if (name == null || !seen.add(name)) continue;
      if (file.endsWith(" (deleted)")) {
        System.out.println(name + ": " + file);
      } else {
        Path p = Path.of(file);
        System.out.println(name + ": " + file + " " + mode(p) + ", folder " + mode(p.getParent()));
      }
    }
    if (options.contains("handlers")) Direct.handlers();
    if (options.contains("wait")) {
      System.out.println("waiting");
      System.out.flush();
      Thread.sleep(60_000);
    }
  }

  // What an application sees when the bridge cannot load: Native first, then LocalIface twice.
  private static void availability() {
    UnsatisfiedLinkError cause = Native.unavailabilityCause().orElse(null);
    System.out.println("available: " + Native.isAvailable());
    if (cause == null) return;
    System.out.println("cause: " + cause.getMessage());
    for (Throwable t : cause.getSuppressed()) System.out.println("attempt: " + t);
    try {
      Native.ensureAvailable();
    } catch (UnsatisfiedLinkError e) {
      System.out.println(
        "ensureAvailable: same message " +
          e.getMessage().equals(cause.getMessage()) +
          ", cause is the first " +
          (e.getCause() == cause)
      );
    }
    for (String use : new String[] { "first use", "second use" }) {
      try {
        new LocalIface();
      } catch (LinkageError e) {
        System.out.println(use + ": " + e);
        for (Throwable c = e.getCause(); c != null; c = c.getCause()) {
          System.out.println("  caused by " + (c == cause ? "the first cause" : c.toString()));
        }
      }
    }
  }

  // A stack overflow inside the library (the kit's STACK fault), then what the call returned, if it
  // returns at all.
  private static void overflow() throws Exception {
    Class.forName("tarvexjni.standin.StandIn")
      .getMethod("faultNext", String.class, String.class)
      .invoke(null, "HashMem", "STACK");
    LocalIface lib = new LocalIface();
    LocalIface.QUMENJNI_InitMinimal(lib);
    System.out.println("overflowing");
    System.out.flush();
    int status = LocalIface.QUMENJNI_HashMem(
      lib,
      new LocalIface.mem_blk_t(new byte[] { 1 }),
      new LocalIface.mem_blk_t()
    );
    System.out.println("returned: status " + Integer.toHexString(status));
  }

  private static String mode(Path p) throws Exception {
    return PosixFilePermissions.toString(Files.getPosixFilePermissions(p));
  }
}
