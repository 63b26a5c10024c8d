package tarvexjni.internal;

import java.util.List;

/**
 * What the loader does by hand rather than through the JDK's general means, which cost a JVM that
 * has just started more: the lines of /proc/self/maps that name a file (its identity after
 * loading, and a bridge another class loader loaded), the names of earlier runs' folders, and the
 * digest files of the jar. Run by loader_test.sh; throws at
 * the first difference.
 */
public final class LoaderTexts {

  private static final String DIR = "/tmp/tarvexjni-41-7/";
  private static final String MAPS =
    "55d0c0000000-55d0c0001000 r--p 00000000 fe:01 100    /usr/lib/jvm/bin/java\n" +
    "7f0000000000-7f0000001000 r--p 00000000 fe:01 2001   " +
    DIR +
    "libtarvexjni.so\n" +
    "7f0000001000-7f0000080000 r-xp 00001000 fe:01 2001   " +
    DIR +
    "libtarvexjni.so (deleted)\n" +
    "7f0000090000-7f0000091000 r-xp 00000000 00:2a 9      /other" +
    DIR +
    "libtarvexjni.so\n" +
    "7f00000a0000-7f00000a1000 r-xp 00000000 fe:01 2002   " +
    DIR +
    "libtarvexjni.so.1\n" +
    "7f00000b0000-7f00000b1000 r-xp 00000000 fe:01 3003   /opt/with space/libtarvex.so\n" +
    "7ffd00000000-7ffd00021000 rw-p 00000000 00:00 0      [stack]";

  public static void main(String[] args) {
    mappings();
    bridgeOfAnotherLoader();
    folders();
    digestFiles();
    System.out.println("loader texts: all passed");
  }

  // Only lines whose whole path is the file, deleted or not; a path that merely ends or starts
  // with it is another file.
  static void mappings() {
    expect(
      Host.mappings(MAPS, DIR + "libtarvexjni.so").toString(),
      List.of(
        new Host.Mapping(new Host.FileId("fe:01", 2001), false),
        new Host.Mapping(new Host.FileId("fe:01", 2001), true)
      ).toString()
    );
    expect(
      Host.mappings(MAPS, "/opt/with space/libtarvex.so").toString(),
      List.of(new Host.Mapping(new Host.FileId("fe:01", 3003), true)).toString()
    );
    expect(Host.mappings(MAPS, "/opt/with").toString(), "[]");
    expect(Host.mappings("", DIR + "libtarvexjni.so").toString(), "[]");
  }

  // Code mapped from a file of that name, wherever it lies; not data, not a longer name.
  static void bridgeOfAnotherLoader() {
    expect(Host.codeOf(MAPS, "libtarvexjni.so"), DIR + "libtarvexjni.so");
    expect(Host.codeOf(MAPS, "libtarvex.so"), "/opt/with space/libtarvex.so");
    expect(Host.codeOf(MAPS, "java"), null);
    String dataOnly = "7f0000000000-7f0000001000 r--p 00000000 fe:01 2001   /x/libtarvexjni.so";
    expect(Host.codeOf(dataOnly, "libtarvexjni.so"), null);
  }

  static void folders() {
    expect(NativeLoader.folderPid("tarvexjni-4127-8812345"), 4127L);
    expect(NativeLoader.folderPid("tarvexjni-1-x"), 1L);
    for (String other : List.of(
      "tarvexjni-4127-",
      "tarvexjni--8812345",
      "tarvexjni-41x7-1",
      "tarvexjni-4127",
      "tarvexjni-1234567890123456789-1",
      "tarvexjnix-1-2",
      "other-1-2"
    )) {
      expect(NativeLoader.folderPid(other), -1L);
    }
  }

  // sha256sum's line, the digest alone, with blanks around; anything else is no digest.
  static void digestFiles() {
    String hex = "0123456789abcdefABCDEF0123456789abcdef0123456789abcdef0123456789";
    expect(hex.length(), 64);
    for (String file : List.of(hex + "  libtarvexjni.so\n", hex, " \t" + hex + "\r\n")) {
      expect(NativeLoader.sha256Field(file.getBytes()), hex);
    }
    for (String file : List.of(
      "",
      hex.substring(1),
      hex + "0",
      hex.replace('9', 'g'),
      "x " + hex
    )) {
      expect(NativeLoader.sha256Field(file.getBytes()), null);
    }
  }

  private static void expect(Object actual, Object expected) {
    if (expected == null ? actual != null : !expected.equals(actual)) {
      throw new AssertionError("expected <" + expected + ">, got <" + actual + ">");
    }
  }
}
