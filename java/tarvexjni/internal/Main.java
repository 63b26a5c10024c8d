package tarvexjni.internal;

import java.io.PrintStream;
import java.nio.file.InvalidPathException;
import java.nio.file.Path;

/**
 * {@code java -jar tarvexjni.jar install <folder>}: installs the jar's bridge for this platform
 * where the JVMs that use it load it by its path ({@link NativeLoader#install}), which spares each
 * of them the extraction and the digest of the jar's copy. Without arguments, says what the jar
 * holds and how to use this.
 */
public final class Main {

  private Main() {}

  public static void main(String[] args) {
    if (args.length == 2 && args[0].equals("install")) {
      Path folder;
      try {
        folder = Path.of(args[1]);
      } catch (InvalidPathException e) {
        System.err.println("Cannot install the bridge in " + args[1] + ": " + e.getMessage());
        System.exit(1);
        return;
      }
      try {
        Path file = NativeLoader.install(folder);
        System.out.println(
          "Installed " +
            file +
            " (tarvexjni " +
            NativeLoader.version() +
            ", " +
            NativeLoader.platform() +
            "); start the JVMs that use it with -D" +
            NativeLoader.BRIDGE_PROPERTY +
            "=" +
            file
        );
      } catch (UnsatisfiedLinkError e) {
        System.err.println(e.getMessage());
        System.exit(1);
      }
      return;
    }
    boolean asked = args.length == 0 || args[0].equals("--help") || args[0].equals("-h");
    PrintStream out = asked ? System.out : System.err;
    String platform;
    try {
      platform = "for " + NativeLoader.platform();
    } catch (UnsatisfiedLinkError e) {
      platform = "(" + e.getMessage() + ")";
    }
    out.println("tarvexjni " + NativeLoader.version() + " " + platform);
    out.println("usage: java -jar tarvexjni.jar install <folder>");
    out.println("  copies the jar's bridge for this platform into <folder>, checked against its");
    out.println("  digest; JVMs started with -D" + NativeLoader.BRIDGE_PROPERTY + "=<the copy>");
    out.println("  then load it there, instead of extracting the jar's copy at every start");
    if (!asked) System.exit(2);
  }
}
