package tarvexjni;

import java.io.CharConversionException;
import java.nio.ByteBuffer;
import java.nio.CharBuffer;
import java.nio.charset.CharacterCodingException;
import java.nio.charset.Charset;
import java.nio.charset.CharsetEncoder;
import java.nio.charset.CodingErrorAction;
import java.nio.file.FileSystems;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Objects;
import tarvexjni.internal.NativeLoader;

// The texts an operation hands the library, by the names the API gives them, so that its
// failures can say which: a text that cannot cross one byte per character in the encoding in
// force (its name, the start of its value, the encoding and the setting that chooses it), and
// the paths a file operation was given, as the JDK's file exceptions name them.
final class Texts {

  private static final int SHOWN = 40; // characters of a value a message shows
  private static final String REMEDY =
    ": name the single-byte encoding of the library's texts with the system" +
    " property " +
    NativeLoader.CODESET_PROPERTY +
    " (for example -D" +
    NativeLoader.CODESET_PROPERTY +
    "=windows-1252)";

  private enum Kind {
    TEXT,
    SECRET,
    FILE,
  }

  // A text of the call; for a file, the path as the caller gave it, and `value` its absolute form.
  private record Param(String name, String value, Kind kind, Path given) {}

  private final List<Param> params = new ArrayList<>(2);

  static Texts none() {
    return new Texts();
  }

  static Texts of(String name, String value) {
    return new Texts().text(name, value);
  }

  Texts text(String name, String value) {
    params.add(new Param(name, value, Kind.TEXT, null));
    return this;
  }

  // A text whose value no message shows (a PIN).
  Texts secret(String name, String value) {
    params.add(new Param(name, value, Kind.SECRET, null));
    return this;
  }

  // A file, passed to the library by its absolute path on the default file system: that path.
  String file(String name, Path file) {
    Objects.requireNonNull(file, name);
    if (file.getFileSystem() != FileSystems.getDefault()) {
      throw new IllegalArgumentException(name + " " + file + " is not on the default file system");
    }
    String absolute = file.toAbsolutePath().toString();
    params.add(new Param(name, absolute, Kind.FILE, file));
    return absolute;
  }

  // The exception with what these texts tell about it: for a text that did not cross, which one
  // and why; for any other failure of a file operation, its paths.
  TarvexException explain(TarvexException e) {
    String detail =
      e.getCause() instanceof CharConversionException c ? conversion(c, params) : paths();
    return detail == null ? e : e.withDetail(detail);
  }

  // What a CharConversionException of the bridge means, where the texts of the call are not
  // known; null for any other exception.
  static String conversion(Throwable cause) {
    return cause instanceof CharConversionException c ? conversion(c, List.of()) : null;
  }

  // "/data/in.pdf" for one file (with its absolute path after a relative one); "content
  // /data/in.pdf, signed /data/out.p7m" for several; null for none.
  private String paths() {
    List<Param> files = params
      .stream()
      .filter(p -> p.kind == Kind.FILE)
      .toList();
    if (files.size() == 1) return path(files.get(0));
    return files.isEmpty()
      ? null
      : String.join(
          ", ",
          files
            .stream()
            .map(p -> p.name + " " + path(p))
            .toList()
        );
  }

  private static String path(Param file) {
    return file.given.isAbsolute() ? file.value : file.given + " (" + file.value + ")";
  }

  private static String conversion(CharConversionException cause, List<Param> params) {
    InForce encoding = new InForce();
    if ("string_t2jstring".equals(cause.getMessage())) {
      return (
        "a text the library returned does not read one character per byte in " +
        encoding +
        encoding.remedy()
      );
    }
    Param failed = null;
    for (Param p : params) {
      if (p.value != null && !encoding.fits(p.value)) {
        failed = p;
        break;
      }
    }
    if (failed == null) {
      return (
        "a text of the call (a parameter or a record field) does not cross one byte per character in " +
        encoding +
        encoding.remedy()
      );
    }
    boolean secret = failed.kind == Kind.SECRET;
    String what = "the " + failed.name + (secret ? " (not shown)" : " " + shown(failed.value));
    int wide = supplementary(failed.value);
    if (wide >= 0) {
      return (
        what +
        " has " +
        (secret ? "a character beyond U+FFFF" : String.format("U+%04X", wide)) +
        ", which takes two UTF-16 units: it cannot cross one byte per unit in " +
        encoding +
        ", nor in any single-byte encoding"
      );
    }
    return what + " takes more bytes than characters in " + encoding + encoding.remedy();
  }

  // "\"CN=Müller\"", or its first characters and "..." when it is long.
  private static String shown(String value) {
    if (value.length() <= SHOWN) return '"' + value + '"';
    int end = Character.isHighSurrogate(value.charAt(SHOWN - 1)) ? SHOWN - 1 : SHOWN;
    return '"' + value.substring(0, end) + "...\"";
  }

  // The first character of `value` beyond U+FFFF (a surrogate pair), or -1.
  private static int supplementary(String value) {
    for (int i = 0; i < value.length(); i++) {
      int c = value.codePointAt(i);
      if (c > 0xFFFF) return c;
    }
    return -1;
  }

  // The encoding texts cross in: the one the setting names, else the process locale's codeset
  // (on Windows the active ANSI code page), as the JDK read it when it started.
  private static final class InForce {

    private final NativeLoader.NarrowCodeset named = NativeLoader.codeset();
    private final String system = System.getProperty("sun.jnu.encoding", "");
    private final boolean windows = System.getProperty("os.name", "").startsWith("Windows");

    @Override
    public String toString() {
      if (named != null) return named.charset().name() + ", named by " + named.source();
      return windows
        ? "the active ANSI code page " + system
        : system + ", the codeset of the process locale";
    }

    // Where the setting is not in force and would help: what to do.
    String remedy() {
      return named != null || windows ? "" : REMEDY;
    }

    // Whether a text crosses one byte per UTF-16 unit, a character the encoding lacks as '?'.
    boolean fits(String value) {
      if (supplementary(value) >= 0) return false; // two units, one character
      if (named != null) return true;
      CharsetEncoder encoder = encoder();
      if (encoder == null) return value.chars().allMatch(c -> c < 0x80);
      try {
        ByteBuffer bytes = encoder.encode(CharBuffer.wrap(value));
        return bytes.remaining() == value.length();
      } catch (CharacterCodingException e) {
        return false;
      }
    }

    private CharsetEncoder encoder() {
      try {
        return Charset.forName(system)
          .newEncoder()
          .onMalformedInput(CodingErrorAction.REPLACE)
          .onUnmappableCharacter(CodingErrorAction.REPLACE)
          .replaceWith(new byte[] { '?' });
      } catch (IllegalArgumentException | UnsupportedOperationException e) {
        return null; // a codeset the JDK does not know, or cannot write '?' in
      }
    }
  }
}
