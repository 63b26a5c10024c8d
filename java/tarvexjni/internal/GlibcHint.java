package tarvexjni.internal;

import java.io.IOException;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

/**
 * Explains a native library that the system's dynamic loader refused for want of a glibc
 * version: which glibc the library needs and which this system has, in one sentence put before
 * the loader's own text. Not part of the public API.
 *
 * <p>What the library needs is read from its ELF file (the highest {@code GLIBC_} version among
 * those it requires); what the system has, from the C library mapped into this process: its
 * file name where it carries the release ({@code libc-2.31.so}), else the release banner inside
 * it ({@code "release version 2.36."}). Anything that cannot be read leaves the text unchanged.
 */
public final class GlibcHint {

  // glibc's own words: "<object>: version `GLIBC_2.34' not found (required by <library>)".
  private static final Pattern REFUSAL = Pattern.compile(
    "version [`'\"]?GLIBC_([0-9]+(?:\\.[0-9]+)+)[`'\"]? not found(?: \\(required by ([^)]+)\\))?"
  );
  private static final Pattern LIBC_FILE = Pattern.compile(
    "libc(?:-([0-9]+\\.[0-9]+(?:\\.[0-9]+)?))?\\.so(?:\\.6)?"
  );
  private static final byte[] BANNER = "release version ".getBytes(StandardCharsets.US_ASCII);

  private static final int SHT_GNU_VERNEED = 0x6ffffffe;

  private GlibcHint() {}

  /**
   * The loader's message, preceded by the sentence when the loader refused a library for a
   * glibc version; otherwise the message unchanged.
   *
   * @param message an {@link UnsatisfiedLinkError}'s message (may be null)
   * @return e.g. {@code "libtarvexjni.so needs glibc 2.34 or later, and this system has glibc
   *     2.31. /tmp/...: version `GLIBC_2.34' not found (required by ...)"}
   */
  public static String explain(String message) {
    String sentence = sentence(message);
    return sentence == null ? message : sentence + " " + message;
  }

  /**
   * The same error with the sentence before its message, or the error itself when there is
   * nothing to explain.
   *
   * @param error the error a {@code System.load} threw
   * @return the error to throw
   */
  public static UnsatisfiedLinkError explain(UnsatisfiedLinkError error) {
    String sentence = sentence(error.getMessage());
    if (sentence == null) return error;
    UnsatisfiedLinkError explained = new UnsatisfiedLinkError(sentence + " " + error.getMessage());
    explained.initCause(error);
    explained.setStackTrace(error.getStackTrace());
    return explained;
  }

  /**
   * The sentence alone: {@code "<library> needs glibc <version> or later, and this system has
   * glibc <version>."}, or null when the message is no glibc version refusal or this system's
   * glibc cannot be told.
   *
   * @param message an {@link UnsatisfiedLinkError}'s message (may be null)
   * @return the sentence, or null
   */
  public static String sentence(String message) {
    if (message == null) return null;
    Matcher refusal = REFUSAL.matcher(message);
    if (!refusal.find()) return null;
    String system = systemGlibc();
    if (system == null) return null;
    String needed = refusal.group(1);
    String library = "the library";
    if (refusal.group(2) != null) {
      Path path = Path.of(refusal.group(2).trim());
      library = path.getFileName() == null ? path.toString() : path.getFileName().toString();
      String highest = requiredGlibc(path);
      if (highest != null && compare(highest, needed) > 0) needed = highest;
    }
    return (
      library + " needs glibc " + needed + " or later, and this system has glibc " + system + "."
    );
  }

  /**
   * The highest glibc version that an ELF library requires ({@code GLIBC_2.14} gives
   * {@code "2.14"}).
   *
   * @param library the library's file
   * @return the version, or null when it requires none or cannot be read as ELF
   */
  public static String requiredGlibc(Path library) {
    try {
      return highestGlibcNeeded(Files.readAllBytes(library));
    } catch (IOException | RuntimeException e) {
      return null;
    }
  }

  /**
   * This system's glibc release, read from the C library mapped into this process.
   *
   * @return e.g. {@code "2.31"}, or null when no glibc is mapped or its release cannot be read
   */
  public static String systemGlibc() {
    try {
      for (String line : Files.readAllLines(Path.of("/proc/self/maps"))) {
        int slash = line.indexOf('/');
        if (slash < 0) continue;
        Path file = Path.of(line.substring(slash).replace(" (deleted)", ""));
        Matcher name = LIBC_FILE.matcher(file.getFileName().toString());
        if (!name.matches()) continue;
        if (name.group(1) != null) return name.group(1);
        return releaseInBanner(Files.readAllBytes(file));
      }
    } catch (IOException | RuntimeException e) {
      // no /proc, or a file that cannot be read: nothing to say
    }
    return null;
  }

  // "GNU C Library (...) stable release version 2.36." -> "2.36"
  private static String releaseInBanner(byte[] libc) {
    outer: for (int i = 0; i + BANNER.length < libc.length; ++i) {
      for (int j = 0; j < BANNER.length; ++j) {
        if (libc[i + j] != BANNER[j]) continue outer;
      }
      int from = i + BANNER.length;
      int to = from;
      while (to < libc.length && (Character.isDigit(libc[to]) || libc[to] == '.')) ++to;
      while (to > from && libc[to - 1] == '.') --to;
      if (to > from && Character.isDigit(libc[from])) {
        return new String(libc, from, to - from, StandardCharsets.US_ASCII);
      }
    }
    return null;
  }

  // Walks the version needs (SHT_GNU_verneed) of a 32- or 64-bit ELF file of either byte order.
  private static String highestGlibcNeeded(byte[] elf) {
    ByteBuffer b = ByteBuffer.wrap(elf);
    if (elf.length < 52 || b.getInt(0) != 0x7f454c46) return null; // "\x7fELF"
    boolean wide = elf[4] == 2;
    b.order(elf[5] == 2 ? ByteOrder.BIG_ENDIAN : ByteOrder.LITTLE_ENDIAN);
    long sectionTable = wide ? b.getLong(0x28) : Integer.toUnsignedLong(b.getInt(0x20));
    int entrySize = Short.toUnsignedInt(b.getShort(wide ? 0x3a : 0x2e));
    int sections = Short.toUnsignedInt(b.getShort(wide ? 0x3c : 0x30));
    String highest = null;
    for (int s = 0; s < sections; ++s) {
      int header = Math.toIntExact(sectionTable + (long) s * entrySize);
      if (b.getInt(header + 4) != SHT_GNU_VERNEED) continue;
      long offset = wide
        ? b.getLong(header + 0x18)
        : Integer.toUnsignedLong(b.getInt(header + 0x10));
      int link = b.getInt(header + (wide ? 0x28 : 0x18));
      int info = b.getInt(header + (wide ? 0x2c : 0x1c)); // the number of entries
      int strings = Math.toIntExact(sectionTable + (long) link * entrySize);
      long stringsAt = wide
        ? b.getLong(strings + 0x18)
        : Integer.toUnsignedLong(b.getInt(strings + 0x10));
      int need = Math.toIntExact(offset);
      for (int n = 0; n < info; ++n) {
        int count = Short.toUnsignedInt(b.getShort(need + 2));
        int aux = need + b.getInt(need + 8);
        for (int a = 0; a < count; ++a) {
          String name = string(
            elf,
            Math.toIntExact(stringsAt + Integer.toUnsignedLong(b.getInt(aux + 8)))
          );
          if (name.startsWith("GLIBC_") && name.substring(6).matches("[0-9]+(\\.[0-9]+)+")) {
            String version = name.substring(6);
            if (highest == null || compare(version, highest) > 0) highest = version;
          }
          aux += b.getInt(aux + 12);
        }
        int next = b.getInt(need + 12);
        if (next == 0) break;
        need += next;
      }
    }
    return highest;
  }

  private static String string(byte[] elf, int at) {
    int end = at;
    while (elf[end] != 0) ++end;
    return new String(elf, at, end - at, StandardCharsets.US_ASCII);
  }

  // Compares dotted versions numerically: 2.9 < 2.17.
  static int compare(String a, String b) {
    String[] x = a.split("\\.");
    String[] y = b.split("\\.");
    for (int i = 0; i < Math.max(x.length, y.length); ++i) {
      int p = i < x.length ? Integer.parseInt(x[i]) : 0;
      int q = i < y.length ? Integer.parseInt(y[i]) : 0;
      if (p != q) return Integer.compare(p, q);
    }
    return 0;
  }
}
