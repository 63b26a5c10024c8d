import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import java.nio.charset.StandardCharsets;

/** A short tour of the bridge. Over the stand-in library, no result is cryptographic. */
public final class Demo {
  public static void main(String[] args) {
    LocalIface lib = new LocalIface();
    check("InitMinimal", LocalIface.QUMENJNI_InitMinimal(lib));
    System.out.printf("context:  %#x%n", lib.handle);

    byte[] message = "The quick brown fox jumps over the lazy dog".getBytes(StandardCharsets.US_ASCII);
    mem_blk_t hash = new mem_blk_t();
    check("HashMem", LocalIface.QUMENJNI_HashMem(lib, new mem_blk_t(message), hash));
    System.out.printf("HashMem:  %s (%d bytes)%n", hex(hash.bytes()), hash.len);

    check("Uninitialize", LocalIface.QUMENJNI_Uninitialize(lib));
    System.out.println("context ended");
  }

  static void check(String what, int status) {
    if (status != 0) {
      throw new IllegalStateException(String.format("%s failed: status %#010x", what, status));
    }
  }

  static String hex(byte[] bytes) {
    StringBuilder b = new StringBuilder();
    for (byte x : bytes) b.append(String.format("%02x", x & 0xff));
    return b.toString();
  }
}
