import Norv1.LocalIface;
import java.io.IOException;
import java.io.InputStream;
import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;
import java.nio.file.DirectoryStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.time.Instant;
import java.util.ArrayList;
import java.util.Comparator;
import java.util.List;
import java.util.concurrent.TimeUnit;
import java.util.jar.JarFile;
import java.util.stream.Stream;
import tarvexjni.standin.StandIn;

/**
 * The first run of tarvexjni on a machine: each check in a JVM of its own, under
 * {@code -Xcheck:jni}, with every JDK named, and one report file to send back. Run it with the
 * release's jars beside it (first-run.cmd does):
 *
 * <pre>
 * java -cp tarvexjni.jar;tarvexjni-standin.jar FirstRun.java &lt;folder of the jars&gt; [JDK folder...]
 * </pre>
 *
 * <p>Without JDK folders it uses the JDK that runs it. The checks: the library's basic calls; a
 * fault inside a call, then a collection and more work on the same thread; two native stack
 * overflows, then a Java StackOverflowError, on one thread under {@code -Xss512k}; two threads
 * faulting while a third allocates under {@code -Xmx64m}; extraction where the user's temporary
 * folder has a name outside the ANSI code page; a decoy {@code tarvex.dll} in the working folder;
 * two JVMs in a row, the second removing what the first left; and, when
 * junit-platform-console-standalone.jar and the kit's test jars lie beside the jars, the kit's
 * JUnit tests. A check that only means something on Windows says so elsewhere and is skipped.
 */
public final class FirstRun {

  private static final boolean WINDOWS = System.getProperty("os.name").startsWith("Windows");
  private static final int FAULT = 0xC0000005;
  private static final int OVERFLOW = 0xC00000FD;

  private static Path jars;
  private static final StringBuilder report = new StringBuilder();
  private static int failed;

  public static void main(String[] args) throws Exception {
    if (args.length >= 2 && args[0].equals("child")) {
      child(args[1]);
      return;
    }
    jars = Path.of(args.length > 0 ? args[0] : ".")
      .toAbsolutePath()
      .normalize();
    List<Path> jdks = new ArrayList<>();
    for (int i = 1; i < args.length; i++) jdks.add(Path.of(args[i]));
    if (jdks.isEmpty()) jdks.add(Path.of(System.getProperty("java.home")));
    Path work = Files.createTempDirectory("tarvexjni-first-run-");
    line("tarvexjni first run, " + Instant.now());
    line(
      "os: " +
        System.getProperty("os.name") +
        " " +
        System.getProperty("os.version") +
        " " +
        System.getProperty("os.arch") +
        (WINDOWS ? ", " + output(List.of("cmd", "/c", "ver"), work).strip() : "")
    );
    for (Path jdk : jdks) run(jdk, work.resolve(jdk.getFileName().toString()));
    Path file = jars.resolve(
      "tarvexjni-first-run-" + Instant.now().toString().replace(':', '-') + ".txt"
    );
    line(
      failed == 0 ? "all checks passed" : failed + (failed == 1 ? " check" : " checks") + " failed"
    );
    Files.writeString(file, report, StandardCharsets.UTF_8);
    System.out.println("The report to send back: " + file);
    System.exit(failed == 0 ? 0 : 1);
  }

  // ---- The checks, each in a JVM of its own --------------------------------------------------

  private static void run(Path jdk, Path work) throws Exception {
    Path java = jdk.resolve("bin").resolve(WINDOWS ? "java.exe" : "java");
    Files.createDirectories(work);
    line("");
    line("==== " + jdk);
    line(output(List.of(java.toString(), "-XshowSettings:properties", "-version"), work));
    String kit = classPath("tarvexjni.jar", "tarvexjni-standin.jar");
    check(java, work, "demo", List.of(), kit, "demo ok");
    check(java, work, "fault", List.of(), kit, "fault ok");
    check(java, work, "threads", List.of("-Xmx64m"), kit, "threads ok");
    if (!WINDOWS) {
      line("overflow, decoy, code page, sweep: skipped (Windows only)");
    } else {
      check(java, work, "overflow", List.of("-Xss512k"), kit, "overflow ok");
      decoy(java, work);
      codePage(java, work);
      sweep(java, work);
    }
    Path junit = jars.resolve("junit-platform-console-standalone.jar");
    if (
      Files.isRegularFile(junit) && Files.isRegularFile(jars.resolve("tarvexjni-standin-tests.jar"))
    ) {
      List<String> command = new ArrayList<>(List.of(java.toString(), "-Xcheck:jni"));
      command.addAll(List.of("--enable-native-access=ALL-UNNAMED", "-cp"));
      command.add(
        classPath(
          "junit-platform-console-standalone.jar",
          "tarvexjni.jar",
          "tarvexjni-standin.jar",
          "tarvexjni-standin-tests.jar",
          "tarvexjni-documents.jar",
          "tarvexjni-documents-tests.jar"
        )
      );
      command.addAll(List.of("org.junit.platform.console.ConsoleLauncher", "--disable-banner"));
      command.addAll(List.of("--details=summary", "--fail-if-no-tests"));
      for (String test : List.of(
        "ProgrammingTest",
        "ResultsTest",
        "RecordingTest",
        "ExtensionTest"
      )) {
        command.addAll(List.of("--select-class", "tvkit." + test));
      }
      if (Files.isRegularFile(jars.resolve("tarvexjni-documents-tests.jar"))) {
        command.addAll(List.of("--select-class", "documents.DocumentServiceTest"));
      }
      judge("kit tests", execute(command, work), " 0 tests failed");
    } else {
      line(
        "kit tests: skipped (junit-platform-console-standalone.jar and tarvexjni-standin-tests.jar" +
          " are not beside the jars)"
      );
    }
  }

  // tarvex.dll found by the loader on PATH, with a decoy in the working folder that would fail
  // to load if Windows' own search took it.
  private static void decoy(Path java, Path work) throws Exception {
    Path dir = Files.createDirectories(work.resolve("decoy"));
    Files.writeString(dir.resolve("tarvex.dll"), "not a library");
    Path real = Files.createDirectories(work.resolve("vendor"));
    try (JarFile kit = new JarFile(jars.resolve("tarvexjni-standin.jar").toFile())) {
      try (
        InputStream in = kit.getInputStream(
          kit.getEntry("tarvexjni/standin/native/windows-x86_64/tarvex.dll")
        )
      ) {
        Files.copy(in, real.resolve("tarvex.dll"), StandardCopyOption.REPLACE_EXISTING);
      }
    }
    // The kit's jar only for compiling this file: the stand-in is not loaded in "plain".
    String cp = classPath("tarvexjni.jar", "tarvexjni-standin.jar");
    List<String> command = javaCommand(java, List.of(), cp, "plain");
    ProcessBuilder pb = new ProcessBuilder(command).directory(dir.toFile());
    pb.environment().put("PATH", real + ";" + System.getenv("PATH"));
    judge("decoy", finish(pb, command), "plain ok");
  }

  // The user's temporary folder under a name the ANSI code page cannot carry: the loader extracts
  // elsewhere; named as tarvexjni.workdir, the folder is refused with a sentence that says why.
  private static void codePage(Path java, Path work) throws Exception {
    Charset page = Charset.forName(System.getProperty("sun.jnu.encoding"));
    String name = null;
    for (String candidate : List.of(
      "\u0418\u0432\u0430\u043d",
      "\u0393\u03b9\u03ce\u03c1\u03b3\u03bf\u03c2",
      "\u65e5\u672c"
    )) {
      if (!page.newEncoder().canEncode(candidate)) name = candidate;
    }
    if (name == null) {
      line("code page: skipped (" + page + " carries every name tried)");
      return;
    }
    Path dir = Files.createDirectories(work.resolve("user-" + name));
    String kit = classPath("tarvexjni.jar", "tarvexjni-standin.jar");
    List<String> tmp = List.of("-Djava.io.tmpdir=" + dir);
    judge(
      "code page, java.io.tmpdir " + dir,
      execute(javaCommand(java, tmp, kit, "demo"), work),
      "demo ok"
    );
    List<String> named = List.of("-Dtarvexjni.workdir=" + dir);
    judge(
      "code page, tarvexjni.workdir " + dir,
      execute(javaCommand(java, named, kit, "demo"), work),
      "tarvexjni.workdir"
    );
  }

  // Two JVMs in a row in one temporary folder: the second removes the folder the first left.
  private static void sweep(Path java, Path work) throws Exception {
    Path dir = Files.createDirectories(work.resolve("sweep"));
    List<String> tmp = List.of("-Djava.io.tmpdir=" + dir);
    String kit = classPath("tarvexjni.jar", "tarvexjni-standin.jar");
    execute(javaCommand(java, tmp, kit, "demo"), work);
    List<String> first = folders(dir);
    execute(javaCommand(java, tmp, kit, "demo"), work);
    List<String> second = folders(dir);
    boolean swept = first.size() == 1 && second.size() == 1 && !first.equals(second);
    line("sweep: after the first JVM " + first + ", after the second " + second);
    judge("sweep", swept ? "sweep ok" : "not swept", "sweep ok");
  }

  private static List<String> folders(Path dir) throws IOException {
    try (Stream<Path> all = Files.list(dir)) {
      return all
        .map(p -> p.getFileName().toString())
        .filter(n -> n.startsWith("tarvexjni-"))
        .sorted()
        .toList();
    }
  }

  private static void check(
    Path java,
    Path work,
    String name,
    List<String> options,
    String cp,
    String expected
  ) throws Exception {
    judge(name, execute(javaCommand(java, options, cp, name), work), expected);
  }

  private static List<String> javaCommand(
    Path java,
    List<String> options,
    String cp,
    String check
  ) {
    List<String> command = new ArrayList<>(
      List.of(java.toString(), "-Xcheck:jni", "--enable-native-access=ALL-UNNAMED")
    );
    command.addAll(options);
    command.addAll(List.of("-cp", cp, source().toString(), "child", check));
    return command;
  }

  private static Path source() {
    return jars.resolve("FirstRun.java");
  }

  private static String classPath(String... names) {
    List<String> paths = new ArrayList<>();
    for (String n : names) paths.add(jars.resolve(n).toString());
    return String.join(java.io.File.pathSeparator, paths);
  }

  // ---- Running and judging -------------------------------------------------------------------

  private static String execute(List<String> command, Path dir) throws Exception {
    return finish(new ProcessBuilder(command).directory(dir.toFile()), command);
  }

  private static String finish(ProcessBuilder pb, List<String> command) throws Exception {
    line("$ " + String.join(" ", command));
    Process p = pb.redirectErrorStream(true).start();
    p.getOutputStream().close();
    byte[] out = p.getInputStream().readAllBytes();
    boolean ended = p.waitFor(10, TimeUnit.MINUTES);
    if (!ended) p.destroyForcibly();
    String text = new String(out, Charset.defaultCharset());
    line(
      text.strip().replace("\n", "\n  | ").isEmpty()
        ? "  (no output)"
        : "  | " + text.strip().replace("\n", "\n  | ")
    );
    line("  exit " + (ended ? p.exitValue() : "none: killed after 10 minutes"));
    attachCrashReports(pb.directory().toPath());
    return text;
  }

  private static String output(List<String> command, Path dir) throws Exception {
    Process p = new ProcessBuilder(command)
      .directory(dir.toFile())
      .redirectErrorStream(true)
      .start();
    String text = new String(p.getInputStream().readAllBytes(), Charset.defaultCharset());
    p.waitFor();
    return text;
  }

  // A check passes when its output has the expected line and no line of the JVM's own
  // (a warning, a -Xcheck:jni complaint, a crash).
  private static void judge(String name, String output, String expected) {
    boolean jvm = output.contains("WARNING") || output.contains("A fatal error has been detected");
    boolean pass = output.contains(expected) && !jvm;
    if (!pass) failed++;
    line(name + ": " + (pass ? "PASS" : "FAIL"));
  }

  private static void attachCrashReports(Path dir) throws IOException {
    try (DirectoryStream<Path> logs = Files.newDirectoryStream(dir, "hs_err_pid*.log")) {
      for (Path log : logs) {
        line("---- " + log);
        line(Files.readString(log, Charset.defaultCharset()));
        Files.move(log, log.resolveSibling(log.getFileName() + ".reported"));
      }
    }
  }

  private static void line(String text) {
    report.append(text).append(System.lineSeparator());
    System.out.println(text);
  }

  // ---- Inside the child JVMs -----------------------------------------------------------------

  private static void child(String check) throws Exception {
    System.out.println(
      "native.encoding " +
        System.getProperty("native.encoding") +
        ", sun.jnu.encoding " +
        System.getProperty("sun.jnu.encoding")
    );
    if (!check.equals("plain")) StandIn.reset();
    LocalIface lib = new LocalIface();
    expect("InitMinimal", LocalIface.QUMENJNI_InitMinimal(lib), 0);
    switch (check) {
      case "demo", "plain" -> {
        System.out.println("bridge " + tarvexjni.Native.bridgeVersion());
        hashes(lib, 3);
      }
      case "fault" -> {
        StandIn.faultNext("HashMem", "SEGV");
        expect("faulted HashMem", hash(lib), FAULT);
        System.gc();
        hashes(lib, 1000);
      }
      case "overflow" -> {
        for (int i = 0; i < 2; i++) {
          StandIn.faultNext("HashMem", "STACK");
          expect("overflowed HashMem", hash(lib), OVERFLOW);
        }
        hashes(lib, 10);
        for (int i = 0; i < 2; i++) {
          try {
            deep(0);
          } catch (StackOverflowError e) {
            System.out.println("Java StackOverflowError caught");
          }
        }
        StandIn.faultNext("HashMem", "STACK");
        expect("overflowed HashMem after Java's", hash(lib), OVERFLOW);
        hashes(lib, 10);
      }
      case "threads" -> {
        List<Thread> threads = new ArrayList<>();
        int[] wrong = new int[1];
        for (int t = 0; t < 2; t++) {
          threads.add(
            new Thread(() -> {
              LocalIface own = new LocalIface();
              LocalIface.QUMENJNI_InitMinimal(own);
              for (int i = 0; i < 500; i++) {
                StandIn.faultNext("HashMem", "SEGV");
                if (hash(own) != FAULT) synchronized (wrong) {
                  wrong[0]++;
                }
                if (hash(own) != 0) synchronized (wrong) {
                  wrong[0]++;
                }
              }
            })
          );
        }
        threads.add(
          new Thread(() -> {
            List<byte[]> kept = new ArrayList<>();
            for (int i = 0; i < 20000; i++) {
              kept.add(new byte[16 * 1024]);
              if (kept.size() > 1000) kept.clear();
            }
          })
        );
        for (Thread t : threads) t.start();
        for (Thread t : threads) t.join();
        expect("calls that did not return as expected", wrong[0], 0);
      }
      default -> throw new IllegalArgumentException(check);
    }
    expect("Uninitialize", LocalIface.QUMENJNI_Uninitialize(lib), 0);
    System.out.println(check + " ok");
  }

  private static int deep(int n) {
    return deep(n + 1) + 1;
  }

  private static int hash(LocalIface lib) {
    return LocalIface.QUMENJNI_HashMem(
      lib,
      new LocalIface.mem_blk_t(new byte[] { 1, 2, 3 }),
      new LocalIface.mem_blk_t()
    );
  }

  private static void hashes(LocalIface lib, int n) {
    for (int i = 0; i < n; i++) expect("HashMem", hash(lib), 0);
  }

  private static void expect(String what, int actual, int expected) {
    if (actual == expected) return;
    throw new AssertionError(
      what + ": " + Integer.toHexString(actual) + ", expected " + Integer.toHexString(expected)
    );
  }
}
