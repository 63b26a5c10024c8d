package tvbench;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.sign_param_t;
import Norv1.LocalIface.verify_param_t;
import Norv1.LocalIface.verify_result_t;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.function.IntSupplier;

/**
 * Nanoseconds per call of the bridge beside the same work written by hand and a bare static
 * native call, measured side by side in one run (the machines are shared: compare ratios, not
 * absolute times). Each case is warmed up, then timed in rounds; the median round counts.
 */
public final class Bench {
  private static final int ROUNDS = 7;

  public static void main(String[] args) {
    LocalIface lib = new LocalIface();
    check(LocalIface.QUMENJNI_InitMinimal(lib));
    LocalIface.class.getName();

    double noop = time("static native no-op", () -> {
      Floor.noop();
      return 0;
    });
    System.out.printf("%-34s %10s %10s %8s%n", "case", "bridge ns", "floor ns", "ratio");
    System.out.printf("%-34s %10.1f%n", "static native no-op", noop);
    for (int size : new int[] {32, 4096, 65536, 1 << 20, 64 << 20}) {
      mem_blk_t data = new mem_blk_t(new byte[size]);
      mem_blk_t bridgeOut = new mem_blk_t();
      mem_blk_t floorOut = new mem_blk_t();
      double bridge = time("HashMem " + size, () -> LocalIface.QUMENJNI_HashMem(lib, data, bridgeOut));
      double floor = time("floor " + size, () -> Floor.hashMem(lib, data, floorOut));
      if (!Arrays.equals(bridgeOut.bytes(), floorOut.bytes())) throw new AssertionError("digests differ");
      System.out.printf("%-34s %10.1f %10.1f %8.2f%n", "HashMem, " + describe(size), bridge, floor, bridge / floor);
    }
    // A call whose result is a whole certificate: every field, nested object and array crosses.
    mem_blk_t signed = new mem_blk_t();
    check(LocalIface.QUMENJNI_SignMem(lib, new sign_param_t(), new mem_blk_t(new byte[64]), null, signed));
    verify_param_t param = new verify_param_t();
    mem_blk_t content = new mem_blk_t();
    verify_result_t result = new verify_result_t();
    double verify = time("VerifyMem", () -> LocalIface.QUMENJNI_VerifyMem(lib, param, signed, null, content, result));
    System.out.printf("%-34s %10.1f %10s %8s%n", "VerifyMem, signer certificate", verify, "-", "-");
    check(LocalIface.QUMENJNI_Uninitialize(lib));
  }

  static String describe(int size) {
    if (size >= 1 << 20) return (size >> 20) + " MiB";
    if (size >= 1 << 10) return (size >> 10) + " KiB";
    return size + " B";
  }

  // Warms the call up for 0.4 s, which also tells its cost; then times ROUNDS rounds of about
  // 0.15 s each, with no clock read inside a round, and keeps the median.
  static double time(String name, IntSupplier call) {
    long calls = 0;
    long start = System.nanoTime();
    long elapsed;
    do {
      check(call.getAsInt());
      calls++;
    } while ((elapsed = System.nanoTime() - start) < 400_000_000L);
    long perRound = Math.max(1, (long) (calls * (150_000_000.0 / elapsed)));
    List<Double> rounds = new ArrayList<>();
    for (int r = 0; r < ROUNDS; r++) {
      start = System.nanoTime();
      for (long i = 0; i < perRound; i++) check(call.getAsInt());
      rounds.add((System.nanoTime() - start) / (double) perRound);
    }
    rounds.sort(null);
    return rounds.get(ROUNDS / 2);
  }

  static void check(int status) {
    if (status != 0) throw new IllegalStateException(String.format("status %#x", status));
  }
}
