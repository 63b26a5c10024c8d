package tvbench;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import tarvexjni.Tarvex;

/**
 * The whole of a short-lived program that uses the library once, for {@code bench/run cold},
 * which starts it again and again: {@code plain} prints one line and loads nothing; {@code
 * iface} makes one InitMinimal, one HashMem of 3 bytes and one Uninitialize through {@code
 * LocalIface}; {@code api} the same through the Java API ({@link Tarvex#openMinimal()}, {@link
 * Tarvex#hash(byte[])}, {@link Tarvex#close()}). Each prints what it did, and exits with 1 when
 * the library did not answer as it should.
 */
public final class Cold {

  private Cold() {}

  public static void main(String[] args) {
    String which = args.length > 0 ? args[0] : "";
    switch (which) {
      case "plain" -> System.out.println("nothing loaded");
      case "iface" -> {
        LocalIface lib = new LocalIface();
        int init = LocalIface.QUMENJNI_InitMinimal(lib);
        mem_blk_t hash = new mem_blk_t();
        int status = LocalIface.QUMENJNI_HashMem(lib, new mem_blk_t(new byte[] { 1, 2, 3 }), hash);
        int end = LocalIface.QUMENJNI_Uninitialize(lib);
        // Plain appends: a string concatenation's first use costs the program start-up time of
        // its own, which is not the library's.
        System.out.println(
          new StringBuilder("LocalIface: statuses ")
            .append(init)
            .append(' ')
            .append(status)
            .append(' ')
            .append(end)
            .append(", ")
            .append(hash.len)
            .append(" bytes")
        );
        if (init != 0 || status != 0 || end != 0 || hash.len == 0) System.exit(1);
      }
      case "api" -> {
        byte[] hash;
        try (Tarvex tarvex = Tarvex.openMinimal()) {
          hash = tarvex.hash(new byte[] { 1, 2, 3 });
        }
        System.out.println(new StringBuilder("API: ").append(hash.length).append(" bytes"));
        if (hash.length == 0) System.exit(1);
      }
      default -> {
        System.err.println("usage: tvbench.Cold plain|iface|api");
        System.exit(2);
      }
    }
  }
}
