package tarvexjni.internal;

import java.util.List;
import java.util.Locale;

/**
 * What the loader needs to know of an operating system and architecture: the folder the jars
 * keep its libraries in, the libraries' file names, and the variable its dynamic linker searches.
 */
final class Platform {

  /** The platforms a jar can carry libraries for, in the order messages list them. */
  static final List<String> KNOWN = List.of("linux-x86_64", "linux-aarch64", "windows-x86_64");

  /** The jars' folder for this platform; null when no jar can carry libraries for it. */
  final String name;
  /** The platform as the JVM names it, for messages: "Linux on amd64". */
  final String description;
  final boolean windows;
  /** The bridge's file name: libtarvexjni.so, tarvexjni.dll. */
  final String bridgeFile;
  /** The vendor library's file name: libtarvex.so, tarvex.dll. */
  final String vendorFile;
  /** Where the system's loader looks for libraries: LD_LIBRARY_PATH, PATH. */
  final String searchPath;

  private Platform(String name, String description, String family) {
    this.name = name;
    this.description = description;
    this.windows = family.equals("windows");
    switch (family) {
      case "windows" -> {
        bridgeFile = "tarvexjni.dll";
        vendorFile = "tarvex.dll";
        searchPath = "PATH";
      }
      case "mac" -> {
        bridgeFile = "libtarvexjni.dylib";
        vendorFile = "libtarvex.dylib";
        searchPath = "DYLD_LIBRARY_PATH";
      }
      default -> {
        bridgeFile = "libtarvexjni.so";
        vendorFile = "libtarvex.so";
        searchPath = "LD_LIBRARY_PATH";
      }
    }
  }

  /** The platform of this JVM. */
  static Platform current() {
    return of(System.getProperty("os.name", ""), System.getProperty("os.arch", ""));
  }

  /**
   * The platform for the JVM's {@code os.name} and {@code os.arch}.
   *
   * @param osName e.g. "Linux", "Windows 11"
   * @param osArch e.g. "amd64", "aarch64"
   */
  static Platform of(String osName, String osArch) {
    String os = osName.toLowerCase(Locale.ROOT);
    String family = os.startsWith("windows")
      ? "windows"
      : os.startsWith("mac") || os.startsWith("darwin")
        ? "mac"
        : os.equals("linux")
          ? "linux"
          : "other";
    String arch = switch (osArch.toLowerCase(Locale.ROOT)) {
      case "amd64", "x86_64", "x64" -> "x86_64";
      case "aarch64", "arm64" -> "aarch64";
      default -> osArch;
    };
    String name = family + "-" + arch;
    return new Platform(KNOWN.contains(name) ? name : null, osName + " on " + osArch, family);
  }
}
