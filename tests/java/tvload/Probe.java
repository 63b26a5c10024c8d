package tvload;

import Norv1.LocalIface;
import java.net.URL;
import java.net.URLClassLoader;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;

/**
 * A program as an application would write it, run by loader_test.sh in a fresh JVM for each
 * case. Prints what it did, one line per step; a bridge that cannot be loaded prints the
 * error's message instead and exits with 3, so that stderr stays the JVM's own.
 */
public final class Probe {
  public static void main(String[] args) throws Exception {
    try {
      LocalIface lib = new LocalIface();
      int status = LocalIface.QUMENJNI_InitMinimal(lib);
      LocalIface.mem_blk_t hash = new LocalIface.mem_blk_t();
      status |= LocalIface.QUMENJNI_HashMem(lib, new LocalIface.mem_blk_t(new byte[] {1, 2, 3}), hash);
      status |= LocalIface.QUMENJNI_Uninitialize(lib);
      System.out.println("hashed: status " + status + ", " + hash.len + " bytes, module "
          + LocalIface.class.getModule().getName());
    } catch (UnsatisfiedLinkError e) {
      System.out.println("UnsatisfiedLinkError: " + e.getMessage());
      System.exit(3);
    }
    if (args.length > 0 && args[0].equals("again")) {  // LocalIface in a second class loader
      URL jar = LocalIface.class.getProtectionDomain().getCodeSource().getLocation();
      try (URLClassLoader other = new URLClassLoader(new URL[] {jar}, ClassLoader.getPlatformClassLoader())) {
        Class.forName("Norv1.LocalIface", true, other);
        System.out.println("again: loaded");
      } catch (UnsatisfiedLinkError e) {
        System.out.println("again: " + e.getMessage());
      }
    }
    // Where the bridge came from, with its permissions and its folder's.
    for (String line : Files.readAllLines(Path.of("/proc/self/maps"))) {
      if (!line.endsWith("/libtarvexjni.so")) continue;
      Path file = Path.of(line.substring(line.indexOf('/')));
      System.out.println("bridge: " + file + " " + mode(file) + ", folder " + mode(file.getParent()));
      break;
    }
  }

  private static String mode(Path p) throws Exception {
    return PosixFilePermissions.toString(Files.getPosixFilePermissions(p));
  }
}
