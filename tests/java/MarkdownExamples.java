// The Java code of the project's Markdown pages, held to the code it describes. Run as a
// single-file program (java MarkdownExamples.java ...), in one of two modes:
//
//   examples <source root> <tarvexjni.jar> <tarvexjni-standin.jar> <libtarvex.so> <libjsig.so>
//            [<junit-platform-console-standalone.jar>]
//     Every block fenced as ```java in every *.md file of the source tree (build*, dist, hidden
//     folders and the formatters' node_modules left out: a new page is covered as soon as it
//     exists) is compiled on its own with javac --release 17 -Xlint:all -Werror against both
//     jars (and JUnit, when given):
//       - A block that declares a top-level class, record, interface or enum (at the start of a
//         line) is a compilation unit, compiled exactly as written: it carries its own imports,
//         as a reader who copies it needs them.
//       - Any other block is a fragment, compiled as the body of a static method that may throw
//         anything, in a class that imports java.io.*, java.nio.charset.StandardCharsets,
//         java.nio.file.*, java.util.*, tarvexjni.* and Norv1.LocalIface, and whose static
//         fields a fragment may use without declaring them: Tarvex tarvex, LocalIface lib,
//         byte[] data and signed, Path file, String fileName and url, int status. Fragments are
//         compiled only.
//     A unit with a main method runs in a folder of its own over the stand-in (-Dtarvex.library),
//     with -Xcheck:jni and libjsig preloaded. It must exit with 0, print nothing on stderr and no
//     JVM warning, and print what its output block shows: the first block after it on its page
//     marked ```text output, before the next Java block. The output is compared line by line;
//     "..." in a line stands for any text, a line of "..." alone for any number of lines. A unit
//     with JUnit tests runs under JUnit's console launcher, which must report nothing (all
//     passed). A block opts out only by not being marked java (```text, ```sh).
//
//   settings <source root>
//     Every system property and environment variable that the shipped code reads (java/, src/,
//     standin/: getProperty, getenv, the loader's *_PROPERTY and *_VARIABLE names, and a property
//     the bridge asks System.getProperty for through JNI) is named, in backquotes, in
//     docs/deploying.md.
//
// Prints one line per block or setting that fails, with the page and line; exits 1 if any did.

import java.io.IOException;
import java.io.StringWriter;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Comparator;
import java.util.List;
import java.util.Locale;
import java.util.TreeSet;
import java.util.concurrent.TimeUnit;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import java.util.stream.Stream;
import javax.tools.DiagnosticCollector;
import javax.tools.JavaCompiler;
import javax.tools.JavaFileObject;
import javax.tools.StandardJavaFileManager;
import javax.tools.ToolProvider;

public final class MarkdownExamples {

  record Block(Path page, int line, String language, String info, String text) {
    String where(Path root) {
      return root.relativize(page) + ":" + line;
    }
  }

  static final Pattern FENCE = Pattern.compile("^( *)(`{3,})\\s*(.*)$");
  static final Pattern TYPE = Pattern.compile(
    "^(?:(?:public|final|abstract|sealed|non-sealed|static)\\s+)*(?:class|record|interface|enum)\\s+(\\w+)",
    Pattern.MULTILINE
  );
  static final Pattern PUBLIC_TYPE = Pattern.compile(
    "^(?:(?:final|abstract|sealed|non-sealed|static)\\s+)*public\\s+(?:(?:final|abstract|sealed|non-sealed|static)\\s+)*" +
      "(?:class|record|interface|enum)\\s+(\\w+)",
    Pattern.MULTILINE
  );
  static final Pattern MAIN = Pattern.compile("public\\s+static\\s+void\\s+main\\s*\\(");
  static final Pattern JUNIT = Pattern.compile("^import\\s+org\\.junit\\.", Pattern.MULTILINE);

  static final String FRAGMENT_HEAD = """
  import java.io.*;
  import java.nio.charset.StandardCharsets;
  import java.nio.file.*;
  import java.util.*;
  import Norv1.LocalIface;
  import tarvexjni.*;

  final class Fragment {
    static Tarvex tarvex;
    static LocalIface lib;
    static byte[] data, signed;
    static Path file;
    static String fileName, url;
    static int status;

    static void run() throws Exception {
  """;
  static final String FRAGMENT_TAIL = "\n  }\n}\n";

  final List<String> failures = new ArrayList<>();

  public static void main(String[] args) throws Exception {
    MarkdownExamples check = new MarkdownExamples();
    if (args.length == 2 && args[0].equals("settings")) {
      check.settings(Path.of(args[1]).toAbsolutePath());
    } else if ((args.length == 6 || args.length == 7) && args[0].equals("examples")) {
      check.examples(Path.of(args[1]).toAbsolutePath(), args);
    } else {
      System.err.println(
        "usage: MarkdownExamples examples <root> <tarvexjni.jar> <tarvexjni-standin.jar>" +
          " <libtarvex.so> <libjsig.so> [<junit console jar>] | settings <root>"
      );
      System.exit(2);
    }
    check.failures.forEach(System.out::println);
    System.exit(check.failures.isEmpty() ? 0 : 1);
  }

  // ---- Examples ------------------------------------------------------------------------------

  void examples(Path root, String[] args) throws Exception {
    String jar = Path.of(args[2]).toAbsolutePath().toString();
    String kit = Path.of(args[3]).toAbsolutePath().toString();
    String vendor = Path.of(args[4]).toAbsolutePath().toString();
    String jsig = args[5];
    String junit =
      args.length > 6 && !args[6].isEmpty() ? Path.of(args[6]).toAbsolutePath().toString() : null;
    String classPath = jar + ":" + kit + (junit != null ? ":" + junit : "");

    List<Block> all = new ArrayList<>();
    for (Path page : pages(root)) all.addAll(blocks(page));
    int examples = 0,
      programs = 0,
      tests = 0;
    Path work = Files.createTempDirectory("markdown-examples");
    try {
      for (int i = 0; i < all.size(); i++) {
        Block block = all.get(i);
        if (!block.language().equals("java")) continue;
        examples++;
        Path dir = Files.createDirectory(work.resolve("example" + examples));
        String where = block.where(root);
        String unit = unitName(block.text());
        String source =
          unit != null ? block.text() : FRAGMENT_HEAD + indent(block.text()) + FRAGMENT_TAIL;
        String name = unit != null ? unit : "Fragment";
        if (!compile(dir, name, source, classPath, where)) continue;
        if (unit == null) continue;
        if (MAIN.matcher(block.text()).find()) {
          programs++;
          Block output = outputOf(all, i);
          if (output == null) {
            failures.add(
              where +
                ": " +
                unit +
                " has a main method, but no block marked ```text output" +
                " follows it before the next Java block"
            );
            continue;
          }
          run(
            dir,
            where,
            output,
            List.of("-Dtarvex.library=" + vendor, "-cp", jar + ":" + dir, unit),
            jsig
          );
        } else if (JUNIT.matcher(block.text()).find() && block.text().contains("@Test")) {
          if (junit == null) continue; // JUnit is not installed here: compiled only
          tests++;
          run(
            dir,
            where,
            null,
            List.of(
              "-cp",
              classPath + ":" + dir,
              "org.junit.platform.console.ConsoleLauncher",
              "--disable-banner",
              "--details=none",
              "--fail-if-no-tests",
              "--select-class",
              unit
            ),
            jsig
          );
        }
      }
    } finally {
      try (Stream<Path> walk = Files.walk(work)) {
        walk.sorted(Comparator.reverseOrder()).forEach(p -> p.toFile().delete());
      }
    }
    if (examples == 0) failures.add("no ```java block in any page under " + root);
    System.out.println(
      examples +
        " Java blocks compiled, " +
        programs +
        " programs and " +
        tests +
        " JUnit classes run, from " +
        pages(root).size() +
        " pages"
    );
  }

  // The block that shows what the program at `index` prints: the first marked ```text output
  // after it on its page, before the next Java block.
  static Block outputOf(List<Block> all, int index) {
    for (
      int j = index + 1;
      j < all.size() && all.get(j).page().equals(all.get(index).page());
      j++
    ) {
      if (all.get(j).language().equals("java")) return null;
      if (all.get(j).info().equals("text output")) return all.get(j);
    }
    return null;
  }

  static List<Path> pages(Path root) throws IOException {
    try (Stream<Path> walk = Files.walk(root)) {
      return walk
        .filter(p -> p.toString().endsWith(".md") && Files.isRegularFile(p))
        .filter(p -> {
          for (Path folder : root.relativize(p.getParent())) {
            String s = folder.toString();
            if (
              s.startsWith(".") ||
              s.startsWith("build") ||
              s.equals("dist") ||
              s.equals("node_modules")
            ) return false;
          }
          return true;
        })
        .sorted()
        .toList();
    }
  }

  // The fenced blocks of a page, indented ones (in list items) included, without their indent.
  static List<Block> blocks(Path page) throws IOException {
    List<Block> blocks = new ArrayList<>();
    List<String> lines = Files.readAllLines(page, StandardCharsets.UTF_8);
    for (int i = 0; i < lines.size(); i++) {
      Matcher open = FENCE.matcher(lines.get(i));
      if (!open.matches()) continue;
      int indent = open.group(1).length();
      String fence = open.group(2);
      String info = open.group(3).trim();
      StringBuilder text = new StringBuilder();
      int j = i + 1;
      for (; j < lines.size(); j++) {
        Matcher close = FENCE.matcher(lines.get(j));
        if (
          close.matches() && close.group(2).length() >= fence.length() && close.group(3).isBlank()
        ) break;
        String line = lines.get(j);
        int strip = 0;
        while (strip < indent && strip < line.length() && line.charAt(strip) == ' ') strip++;
        text.append(line.substring(strip)).append('\n');
      }
      String language = info.isEmpty() ? "" : info.split("\\s+")[0].toLowerCase(Locale.ROOT);
      blocks.add(new Block(page, i + 1, language, info, text.toString()));
      i = j;
    }
    return blocks;
  }

  // The class a compilation unit is named after (its public type, else its first), or null for
  // a fragment.
  static String unitName(String text) {
    Matcher pub = PUBLIC_TYPE.matcher(text);
    if (pub.find()) return pub.group(1);
    Matcher any = TYPE.matcher(text);
    return any.find() ? any.group(1) : null;
  }

  static String indent(String text) {
    return text
      .lines()
      .map(l -> l.isEmpty() ? l : "    " + l)
      .reduce("", (a, b) -> a + b + "\n");
  }

  boolean compile(Path dir, String name, String source, String classPath, String where)
    throws IOException {
    Path file = dir.resolve(name + ".java");
    Files.writeString(file, source);
    JavaCompiler javac = ToolProvider.getSystemJavaCompiler();
    DiagnosticCollector<JavaFileObject> diagnostics = new DiagnosticCollector<>();
    StringWriter out = new StringWriter();
    try (
      StandardJavaFileManager files = javac.getStandardFileManager(
        diagnostics,
        Locale.ROOT,
        StandardCharsets.UTF_8
      )
    ) {
      boolean ok = javac
        .getTask(
          out,
          files,
          diagnostics,
          List.of(
            "--release",
            "17",
            "-Xlint:all",
            "-Werror",
            "-cp",
            classPath,
            "-d",
            dir.toString()
          ),
          null,
          files.getJavaFileObjects(file)
        )
        .call();
      if (ok) return true;
    }
    // Lines are counted from the block's first line, a fragment's without the class around it.
    StringBuilder why = new StringBuilder(where + ": does not compile");
    long offset = name.equals("Fragment") ? FRAGMENT_HEAD.lines().count() : 0;
    for (var d : diagnostics.getDiagnostics()) {
      why
        .append("\n  line ")
        .append(d.getLineNumber() - offset)
        .append(" of the block: ")
        .append(d.getMessage(Locale.ROOT));
    }
    failures.add(why.toString());
    return false;
  }

  // Runs a JVM in `dir` with -Xcheck:jni and libjsig; output, when given, is what it must print.
  void run(Path dir, String where, Block output, List<String> arguments, String jsig)
    throws Exception {
    Path javaHome = Path.of(System.getProperty("java.home"));
    List<String> command = new ArrayList<>(
      List.of(javaHome.resolve("bin/java").toString(), "-Xcheck:jni", "-Djava.io.tmpdir=" + dir)
    );
    if (Runtime.version().feature() >= 22) command.add("--enable-native-access=ALL-UNNAMED");
    command.addAll(arguments);
    ProcessBuilder builder = new ProcessBuilder(command)
      .directory(dir.toFile())
      .redirectOutput(dir.resolve("stdout").toFile())
      .redirectError(dir.resolve("stderr").toFile());
    builder.environment().put("LD_PRELOAD", jsig);
    Process process = builder.start();
    if (!process.waitFor(120, TimeUnit.SECONDS)) {
      process.destroyForcibly();
      failures.add(where + ": still running after 120 s");
      return;
    }
    String out = Files.readString(dir.resolve("stdout"));
    String err = Files.readString(dir.resolve("stderr"));
    if (process.exitValue() != 0 || !err.isEmpty() || out.contains("WARNING")) {
      failures.add(
        where +
          ": exited with " +
          process.exitValue() +
          "\n  stdout: " +
          out.strip().replace("\n", "\n          ") +
          "\n  stderr: " +
          err.strip().replace("\n", "\n          ")
      );
      return;
    }
    if (output == null) {
      if (!out.isEmpty()) failures.add(where + ": JUnit said\n" + out);
      return;
    }
    if (
      !expected(output.text())
        .matcher(out.endsWith("\n") ? out : out + "\n")
        .matches()
    ) {
      failures.add(
        where +
          ": prints\n" +
          out.indent(4) +
          "  where its output block says\n" +
          output.text().indent(4)
      );
    }
  }

  // What a program must print: each line as written, "..." in a line any text, "..." alone any
  // number of lines.
  static Pattern expected(String text) {
    StringBuilder regex = new StringBuilder();
    for (String line : text.split("\n", -1)) {
      if (line.isEmpty() && regex.length() > 0 && text.endsWith("\n")) continue;
      if (line.strip().equals("...")) {
        regex.append("(?:[^\\n]*\\n)*");
        continue;
      }
      String[] pieces = line.split("\\.\\.\\.", -1);
      for (int i = 0; i < pieces.length; i++) {
        if (i > 0) regex.append("[^\\n]*");
        if (!pieces[i].isEmpty()) regex.append(Pattern.quote(pieces[i]));
      }
      regex.append("\\n");
    }
    return Pattern.compile(regex.toString());
  }

  // ---- Settings ------------------------------------------------------------------------------

  static final List<Pattern> READS = List.of(
    Pattern.compile("getProperty\\(\\s*\"([^\"]+)\""),
    Pattern.compile("getenv\\(\\s*\"([^\"]+)\""),
    Pattern.compile("\\b(?:property|variable)\\(\\s*\"([^\"]+)\"\\s*\\)"),
    Pattern.compile("_(?:PROPERTY|VARIABLE)\\s*=\\s*\"([^\"]+)\""),
    Pattern.compile("NewStringUTF\\(\\s*\"([a-z][a-z0-9]*(?:\\.[a-z0-9]+)+)\"\\s*\\)")
  );

  void settings(Path root) throws IOException {
    TreeSet<String> names = new TreeSet<>();
    for (String folder : List.of("java", "src", "standin")) {
      try (Stream<Path> walk = Files.walk(root.resolve(folder))) {
        for (Path file : walk
          .filter(p -> p.toString().matches(".*\\.(java|java\\.in|cpp|h)$"))
          .toList()) {
          String code = Files.readString(file);
          for (Pattern read : READS) {
            Matcher m = read.matcher(code);
            while (m.find()) names.add(m.group(1));
          }
        }
      }
    }
    String page = Files.readString(root.resolve("docs/deploying.md"));
    for (String name : names) {
      if (!page.contains("`" + name + "`")) failures.add(
        "docs/deploying.md does not name `" + name + "`, which the code reads"
      );
    }
    if (!names.contains("tarvex.library")) failures.add(
      "found none of the settings the loader reads: the patterns are out of date"
    );
    System.out.println(names.size() + " settings read by the code: " + String.join(", ", names));
  }
}
