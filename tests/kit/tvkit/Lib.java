package tvkit;

import static org.junit.jupiter.api.Assertions.assertEquals;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;

// A context of the library for one test, and the calls the tests make most.
final class Lib implements AutoCloseable {

  static final byte[] DATA = { 1, 2, 3 };

  final LocalIface lib = new LocalIface();

  Lib() {
    assertEquals(0, LocalIface.QUMENJNI_InitMinimal(lib));
  }

  int hash(mem_blk_t out) {
    return LocalIface.QUMENJNI_HashMem(lib, new mem_blk_t(DATA), out);
  }

  int hash() {
    return hash(new mem_blk_t());
  }

  @Override
  public void close() {
    assertEquals(0, LocalIface.QUMENJNI_Uninitialize(lib));
  }
}
