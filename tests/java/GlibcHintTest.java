import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import tarvexjni.internal.GlibcHint;

// The glibc sentence of the loader's errors, on this machine: its own glibc as the system's C
// library says it, the highest version that given libraries need, the sentences for glibc's
// refusals and none for other errors. Run as a source file over the jar:
//   java -cp tarvexjni.jar GlibcHintTest.java <this system's glibc> [<library> <its highest GLIBC_>]...
public class GlibcHintTest {

  static final List<String> failures = new ArrayList<>();

  static void check(String what, Object expected, Object actual) {
    if (expected == null ? actual != null : !expected.equals(actual)) {
      failures.add(what + ": expected <" + expected + ">, got <" + actual + ">");
    }
  }

  public static void main(String[] args) {
    String system = args[0];
    check("this system's glibc", system, GlibcHint.systemGlibc());
    for (int i = 1; i + 1 < args.length; i += 2) {
      check(
        "the highest GLIBC_ that " + args[i] + " needs",
        args[i + 1],
        GlibcHint.requiredGlibc(Path.of(args[i]))
      );
    }
    String has = ", and this system has glibc " + system + ".";
    String lost =
      "/app/libx.so: /lib/x86_64-linux-gnu/libc.so.6: version `GLIBC_2.99' not found (required by /nowhere/libx.so)";
    check(
      "a library that cannot be read: the version glibc names",
      "libx.so needs glibc 2.99 or later" + has,
      GlibcHint.sentence(lost)
    );
    check(
      "the sentence before the loader's own text",
      "libx.so needs glibc 2.99 or later" + has + " " + lost,
      GlibcHint.explain(lost)
    );
    check(
      "straight quotes",
      "libx.so needs glibc 2.40 or later" + has,
      GlibcHint.sentence("libc.so.6: version 'GLIBC_2.40' not found (required by libx.so)")
    );
    if (args.length > 2) {
      // glibc names the first version it misses; the library's highest is the one to ask for,
      // compared as numbers (2.9 is older than 2.14).
      String name = Path.of(args[1]).getFileName().toString();
      check(
        "the library's highest version",
        name + " needs glibc " + args[2] + " or later" + has,
        GlibcHint.sentence("x: version `GLIBC_2.9' not found (required by " + args[1] + ")")
      );
    }
    for (String other : new String[] {
      "/app/libx.so: /lib/libstdc++.so.6: version `GLIBCXX_3.4.29' not found (required by /app/libx.so)",
      "/app/libx.so: cannot open shared object file: No such file or directory",
      "/app/libx.so: undefined symbol: QUMEN_HashMem",
      null,
    }) {
      check("no sentence for: " + other, null, GlibcHint.sentence(other));
      check("the text unchanged: " + other, other, GlibcHint.explain(other));
    }
    UnsatisfiedLinkError refused = new UnsatisfiedLinkError(lost);
    UnsatisfiedLinkError explained = GlibcHint.explain(refused);
    check("the error explained", GlibcHint.explain(lost), explained.getMessage());
    check("its cause", refused, explained.getCause());
    UnsatisfiedLinkError missing = new UnsatisfiedLinkError("no such file");
    check("another error as it was", missing, GlibcHint.explain(missing));

    if (!failures.isEmpty()) {
      failures.forEach(System.err::println);
      System.exit(1);
    }
    System.out.println(
      "GlibcHint: " +
        args.length / 2 +
        " libraries and this system's glibc " +
        system +
        " read, sentences as expected"
    );
  }
}
