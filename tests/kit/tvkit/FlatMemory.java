package tvkit;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import java.nio.file.Files;
import java.nio.file.Path;
import tarvexjni.standin.StandIn;

// The stand-in's memory over a long run outside tests, as a developer's server or a demo runs it:
// rounds of hashes through contexts that are each opened and closed, the process's resident
// memory printed after each round. A program to run by hand, not a test (its figures depend on
// the machine):
//   java -Xcheck:jni -cp tarvexjni.jar:tarvexjni-standin.jar:tarvexjni-standin-tests.jar \
//        tvkit.FlatMemory <rounds> <calls per round>
final class FlatMemory {

  private FlatMemory() {}

  public static void main(String[] args) throws Exception {
    int rounds = Integer.parseInt(args[0]);
    long perRound = Long.parseLong(args[1]);
    System.out.println("the log keeps " + StandIn.logLimit() + " calls"); // the stand-in in place first
    byte[] data = new byte[64];
    long calls = 0;
    for (int round = 1; round <= rounds; round++) {
      long start = System.nanoTime();
      for (long made = 0; made < perRound; ) {
        LocalIface lib = new LocalIface();
        LocalIface.QUMENJNI_InitMinimal(lib);
        for (int i = 0; i < 1000; i++) {
          LocalIface.QUMENJNI_HashMem(lib, new mem_blk_t(data), new mem_blk_t()); // and its FreeMem
        }
        LocalIface.QUMENJNI_Uninitialize(lib);
        made += 2002;
      }
      calls += perRound;
      System.gc();
      System.out.printf(
        "round %d: %,d calls in all, %d s, resident %d MB, log holds %d calls, heap used %d MB%n",
        round,
        calls,
        (System.nanoTime() - start) / 1_000_000_000L,
        residentMegabytes(),
        StandIn.calls().size(),
        (Runtime.getRuntime().totalMemory() - Runtime.getRuntime().freeMemory()) >> 20
      );
    }
  }

  static long residentMegabytes() throws Exception {
    for (String line : Files.readAllLines(Path.of("/proc/self/status"))) {
      if (line.startsWith("VmRSS:")) return Long.parseLong(line.replaceAll("[^0-9]", "")) >> 10;
    }
    return -1;
  }
}
