package tvbench;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;

/**
 * Resident memory that bridge calls leave behind once their threads have ended.
 *
 * <pre>
 *   churn BYTES          2,000 short-lived threads, 8 at a time, each one HashMem of BYTES
 *   threads N BYTES      N threads at once, each one HashMem of BYTES
 * </pre>
 *
 * Every call hashes the first BYTES of one array made before the first measurement, so that the
 * Java heap is the same whatever BYTES is; the heap is committed and touched at start
 * (-XX:+AlwaysPreTouch), so that its growth does not count. Prints the resident set size
 * before and after, in KiB.
 */
public final class Memory {

  public static void main(String[] args) throws Exception {
    String mode = args[0];
    int threads = mode.equals("churn") ? 2000 : Integer.parseInt(args[1]);
    int wave = mode.equals("churn") ? 8 : threads;
    long bytes = parse(args[args.length - 1]);
    LocalIface lib = new LocalIface();
    Bench.check(LocalIface.QUMENJNI_InitMinimal(lib));
    byte[] shared = new byte[(int) Math.max(bytes, 8 << 20)];
    for (int i = 0; i < shared.length; i += 4096) shared[i] = (byte) i;
    Bench.check(LocalIface.QUMENJNI_HashMem(lib, block(shared, 32), new mem_blk_t()));
    runThreads(lib, shared, 32, 8, 8); // threads and their stacks exist once before measuring
    long before = settle();
    runThreads(lib, shared, bytes, threads, wave);
    long after = settle();
    System.out.printf(
      "%s: %d threads (%d at a time), %d bytes each: RSS %d KiB -> %d KiB, %+d KiB%n",
      mode,
      threads,
      wave,
      bytes,
      before,
      after,
      after - before
    );
    Bench.check(LocalIface.QUMENJNI_Uninitialize(lib));
  }

  static mem_blk_t block(byte[] buf, long len) {
    mem_blk_t b = new mem_blk_t(buf);
    b.len = (int) len;
    return b;
  }

  static void runThreads(LocalIface lib, byte[] shared, long bytes, int count, int wave)
    throws InterruptedException {
    for (int started = 0; started < count; started += wave) {
      List<Thread> running = new ArrayList<>();
      for (int i = 0; i < wave && started + i < count; i++) {
        Thread t = new Thread(() ->
          Bench.check(LocalIface.QUMENJNI_HashMem(lib, block(shared, bytes), new mem_blk_t()))
        );
        t.start();
        running.add(t);
      }
      for (Thread t : running) t.join();
    }
  }

  /** The resident set size in KiB, after a collection and a pause for threads to be reaped. */
  static long settle() throws IOException, InterruptedException {
    System.gc();
    Thread.sleep(500);
    for (String line : Files.readAllLines(Paths.get("/proc/self/status")))
      if (line.startsWith("VmRSS:")) return Long.parseLong(line.replaceAll("[^0-9]", ""));
    throw new IllegalStateException("no VmRSS");
  }

  static long parse(String text) {
    String t = text.toLowerCase();
    long unit = t.endsWith("k")
      ? 1 << 10
      : t.endsWith("m")
        ? 1 << 20
        : t.endsWith("g")
          ? 1 << 30
          : 1;
    return Long.parseLong(unit == 1 ? t : t.substring(0, t.length() - 1)) * unit;
  }
}
