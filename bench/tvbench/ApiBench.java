package tvbench;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.sign_param_t;
import Norv1.LocalIface.verify_param_t;
import Norv1.LocalIface.verify_result_t;
import java.io.FileWriter;
import java.io.IOException;
import java.io.PrintWriter;
import java.lang.management.ManagementFactory;
import java.util.List;
import tarvexjni.Tarvex;
import tarvexjni.Verification;

/**
 * The Java API (package tarvexjni) against the same work written with LocalIface as a careful
 * user would: new blocks and result objects per call, the status checked, the output array
 * taken as the bridge made it (no {@code bytes()} copy). Times as in {@link Bench} (alternating
 * rounds, median ratio), and the bytes each side allocates on the Java heap per call, from the
 * thread's allocation counter: an API that copied a block would show its size there.
 *
 * <p>Arguments: optionally a CSV file to append the figures to; or {@code profile api|raw N}:
 * 200,000 HashMem calls of 32 bytes through one side to warm it up, then N more, for a profiler
 * that counts the instructions of the whole process (bench/run api footprint).
 */
public final class ApiBench {

  static volatile Object sink;

  public static void main(String[] args) throws Exception {
    if (args.length == 3 && args[0].equals("profile")) {
      profile(args[1].equals("api"), Integer.parseInt(args[2]));
      return;
    }
    String csv = args.length > 0 && !args[0].isEmpty() ? args[0] : null;
    LocalIface lib = new LocalIface();
    Bench.check(LocalIface.QUMENJNI_InitMinimal(lib));
    Floor.program(); // VerifyMem: four signers with complete certificates
    try (
      Tarvex tarvex = Tarvex.openMinimal();
      PrintWriter out = csv == null ? null : new PrintWriter(new FileWriter(csv, true))
    ) {
      byte[] small = new byte[32];
      byte[] large = new byte[16 << 20];
      for (int i = 0; i < large.length; i += 4093) large[i] = (byte) i;
      mem_blk_t signedBlock = new mem_blk_t();
      Bench.check(
        LocalIface.QUMENJNI_SignMem(
          lib,
          new sign_param_t(),
          new mem_blk_t(new byte[64]),
          null,
          signedBlock
        )
      );
      byte[] signed = signedBlock.buf;
      Verification v = tarvex.verify(signed);
      if (
        v.signers().size() != 4 || v.signers().get(3).certificate().isEmpty()
      ) throw new AssertionError("the stand-in did not answer as programmed");

      System.out.printf(
        "%-28s %14s %14s %7s %12s %12s%n",
        "case",
        "API ns",
        "LocalIface ns",
        "ratio",
        "API B/call",
        "raw B/call"
      );
      for (Object[] c : List.of(
        new Object[] {
          "hash, 32 B",
          (Bench.Call) () -> keep(tarvex.hash(small)),
          rawHash(lib, small),
        },
        new Object[] {
          "hash, 16 MiB",
          (Bench.Call) () -> keep(tarvex.hash(large)),
          rawHash(lib, large),
        },
        new Object[] {
          "verify, 4 signers",
          (Bench.Call) () -> keep(tarvex.verify(signed)),
          rawVerify(lib, signed),
        }
      )) {
        Bench.Call api = (Bench.Call) c[1];
        Bench.Call raw = (Bench.Call) c[2];
        double[] ns = Bench.alternate(api, raw);
        long apiBytes = allocated(api);
        long rawBytes = allocated(raw);
        System.out.printf(
          "%-28s %14.1f %14.1f %7.2f %12d %12d%n",
          c[0],
          ns[0],
          ns[1],
          ns[2],
          apiBytes,
          rawBytes
        );
        if (out != null) {
          out.printf(
            "%s,%.1f,%.1f,%.3f,%d,%d%n",
            ((String) c[0]).replace(",", ""),
            ns[0],
            ns[1],
            ns[2],
            apiBytes,
            rawBytes
          );
        }
      }
    }
    Bench.check(LocalIface.QUMENJNI_Uninitialize(lib));
  }

  static void profile(boolean api, int calls) throws Exception {
    LocalIface lib = new LocalIface();
    Bench.check(LocalIface.QUMENJNI_InitMinimal(lib));
    byte[] data = new byte[32];
    try (Tarvex tarvex = Tarvex.openMinimal()) {
      Bench.Call call = api ? () -> keep(tarvex.hash(data)) : rawHash(lib, data);
      for (int i = 0; i < 200_000 + calls; i++) call.getAsInt();
    }
    Bench.check(LocalIface.QUMENJNI_Uninitialize(lib));
  }

  static int keep(Object result) {
    sink = result;
    return 0;
  }

  static Bench.Call rawHash(LocalIface lib, byte[] data) {
    return () -> {
      mem_blk_t hash = new mem_blk_t();
      int status = LocalIface.QUMENJNI_HashMem(lib, new mem_blk_t(data), hash);
      if (status != 0) throw new IllegalStateException(
        String.format("HashMem: status %#x", status)
      );
      return keep(hash.buf);
    };
  }

  static Bench.Call rawVerify(LocalIface lib, byte[] signed) {
    return () -> {
      mem_blk_t content = new mem_blk_t();
      verify_result_t result = new verify_result_t();
      int status = LocalIface.QUMENJNI_VerifyMem(
        lib,
        new verify_param_t(),
        new mem_blk_t(signed),
        null,
        content,
        result
      );
      if (status != 0) throw new IllegalStateException(
        String.format("VerifyMem: status %#x", status)
      );
      return keep(result);
    };
  }

  /** Bytes allocated on the Java heap per call, over 200 calls after as many to warm up. */
  static long allocated(Bench.Call call) throws Exception {
    var threads = (com.sun.management.ThreadMXBean) ManagementFactory.getThreadMXBean();
    for (int i = 0; i < 200; i++) call.getAsInt();
    long before = threads.getCurrentThreadAllocatedBytes();
    for (int i = 0; i < 200; i++) call.getAsInt();
    return (threads.getCurrentThreadAllocatedBytes() - before) / 200;
  }
}
