package tvkit;

import static org.junit.jupiter.api.Assertions.assertEquals;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import org.junit.jupiter.api.Test;

// A test of a team's that uses the bridge and not the kit. scripts/test runs it in one JVM with
// OrderKit, before it and after it: either way both pass, since the kit puts the stand-in in
// place when JUnit starts.
class OrderPlain {

  @Test
  void usesTheBridge() {
    LocalIface lib = new LocalIface();
    assertEquals(0, LocalIface.QUMENJNI_InitMinimal(lib));
    mem_blk_t digest = new mem_blk_t();
    assertEquals(0, LocalIface.QUMENJNI_HashMem(lib, new mem_blk_t(Lib.DATA), digest));
    assertEquals(32, digest.len);
    assertEquals(0, LocalIface.QUMENJNI_Uninitialize(lib));
  }
}
