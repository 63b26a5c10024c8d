package tarvexjni.internal;

import java.io.IOException;
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.security.MessageDigest;
import java.security.NoSuchAlgorithmException;
import java.util.HexFormat;

/** Finds the native libraries that the project's jars carry and extracts them for loading. */
public final class NativeLoader {
  private NativeLoader() {}

  private static Path directory;

  /**
   * The platform name under which a jar carries its native libraries.
   *
   * @return "linux-x86_64" or "linux-aarch64" for this JVM
   * @throws UnsatisfiedLinkError on any other platform
   */
  public static String platform() {
    String os = System.getProperty("os.name", "");
    String arch = System.getProperty("os.arch", "");
    if (os.equals("Linux") && (arch.equals("amd64") || arch.equals("x86_64"))) return "linux-x86_64";
    if (os.equals("Linux") && arch.equals("aarch64")) return "linux-aarch64";
    throw new UnsatisfiedLinkError("tarvexjni: no native library for " + os + "/" + arch);
  }

  /**
   * Extracts {@code resourceDir/<platform>/fileName} from the jar of {@code owner} into this
   * process's private directory, checked against the SHA-256 in the resource of the same name
   * with {@code .sha256} appended.
   *
   * @param owner a class of the jar that carries the library
   * @param resourceDir the folder of the resource, without the platform
   * @param fileName the library's file name
   * @return the extracted file's absolute path
   * @throws UnsatisfiedLinkError saying what failed
   */
  public static synchronized Path extract(Class<?> owner, String resourceDir, String fileName) {
    String name = resourceDir + "/" + platform() + "/" + fileName;
    try (InputStream library = owner.getClassLoader().getResourceAsStream(name);
         InputStream digest = owner.getClassLoader().getResourceAsStream(name + ".sha256")) {
      if (library == null || digest == null) throw new UnsatisfiedLinkError("tarvexjni: no resource " + name);
      byte[] bytes = library.readAllBytes();
      String expected = new String(digest.readAllBytes(), StandardCharsets.US_ASCII).trim();
      String actual = HexFormat.of().formatHex(MessageDigest.getInstance("SHA-256").digest(bytes));
      if (!actual.equalsIgnoreCase(expected)) throw new UnsatisfiedLinkError("tarvexjni: " + name + " is damaged");
      if (directory == null) {
        directory = Files.createTempDirectory("tarvexjni",
            PosixFilePermissions.asFileAttribute(PosixFilePermissions.fromString("rwx------")));
        directory.toFile().deleteOnExit();
      }
      Path file = directory.resolve(fileName);
      Files.write(file, bytes);
      file.toFile().deleteOnExit();
      return file.toAbsolutePath();
    } catch (IOException | NoSuchAlgorithmException e) {
      UnsatisfiedLinkError error = new UnsatisfiedLinkError("tarvexjni: cannot extract " + name + ": " + e);
      error.initCause(e);
      throw error;
    }
  }
}
