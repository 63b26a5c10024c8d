package tvbench;

import Norv1.LocalIface;
import Norv1.LocalIface.certificate_t;
import Norv1.LocalIface.find_param_t;
import Norv1.LocalIface.find_result_t;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.sign_param_t;
import Norv1.LocalIface.verify_param_t;
import Norv1.LocalIface.verify_result_t;
import java.io.FileWriter;
import java.io.IOException;
import java.io.PrintWriter;
import java.lang.reflect.Array;
import java.lang.reflect.Field;
import java.lang.reflect.Modifier;
import java.util.ArrayList;
import java.util.List;

/**
 * Nanoseconds per call of the bridge beside the same work written by hand (the floor) and a
 * bare static native call, in one run (the machines are shared: compare ratios, not absolute
 * times). Before timing, the results of both sides are compared field by field. Each case is
 * warmed up, then the two sides are timed in alternating rounds, side by side; the median round
 * of each side gives its ns per call, and the ratio is the median of the ratios of the rounds
 * run side by side (which a load that comes and goes disturbs least).
 *
 * <p>Arguments: the label of the record classes on the class path ("final" or "non-final"),
 * optionally a CSV file to append the figures to ("" for none), then optionally the names of the
 * cases to time (all when none are named).
 */
public final class Bench {

  private static final int ROUNDS = 41;
  private static final long WARM_NS = 300_000_000L;
  private static final long ROUND_NS = 20_000_000L;

  // One side's call of a case: its status. A call of LocalIface may throw the bridge's checked
  // exceptions, which end the run.
  @FunctionalInterface
  interface Call {
    int getAsInt() throws Exception;
  }

  private static final class Case {

    final String name;
    final long bytes; // the input's size, for the picture; 0 for the record cases
    final Call bridge;
    final Call floor;
    final Object bridgeOut;
    final Object floorOut;

    Case(String name, long bytes, Call bridge, Call floor, Object bridgeOut, Object floorOut) {
      this.name = name;
      this.bytes = bytes;
      this.bridge = bridge;
      this.floor = floor;
      this.bridgeOut = bridgeOut;
      this.floorOut = floorOut;
    }
  }

  public static void main(String[] args) throws Exception {
    String variant = args.length > 0 ? args[0] : "final";
    String csv = args.length > 1 && !args[1].isEmpty() ? args[1] : null;
    List<String> only = List.of(args).subList(Math.min(2, args.length), args.length);
    if (
      variant.equals("final") != Modifier.isFinal(mem_blk_t.class.getModifiers())
    ) throw new IllegalStateException("record classes on the class path are not " + variant);
    LocalIface lib = new LocalIface();
    check(LocalIface.QUMENJNI_InitMinimal(lib));
    Floor.program();

    List<Case> cases = new ArrayList<>();
    for (long size : new long[] { 32, 4 << 10, 1 << 20, 16 << 20, 64 << 20, 256 << 20 }) {
      mem_blk_t data = new mem_blk_t(new byte[(int) size]);
      for (int i = 0; i < data.buf.length; i += 4093) data.buf[i] = (byte) i;
      mem_blk_t a = new mem_blk_t();
      mem_blk_t b = new mem_blk_t();
      cases.add(
        new Case(
          "HashMem, " + describe(size),
          size,
          () -> LocalIface.QUMENJNI_HashMem(lib, data, a),
          () -> Floor.hashMem(lib, data, b),
          a,
          b
        )
      );
    }
    mem_blk_t signed = new mem_blk_t();
    check(
      LocalIface.QUMENJNI_SignMem(
        lib,
        new sign_param_t(),
        new mem_blk_t(new byte[64]),
        null,
        signed
      )
    );
    verify_param_t vparam = new verify_param_t();
    Object[] va = { new mem_blk_t(), new verify_result_t() };
    Object[] vb = { new mem_blk_t(), new verify_result_t() };
    cases.add(
      new Case(
        "VerifyMem, 4 signer certificates",
        0,
        () ->
          LocalIface.QUMENJNI_VerifyMem(
            lib,
            vparam,
            signed,
            null,
            (mem_blk_t) va[0],
            (verify_result_t) va[1]
          ),
        () ->
          Floor.verifyMem(lib, vparam, signed, null, (mem_blk_t) vb[0], (verify_result_t) vb[1]),
        va,
        vb
      )
    );
    find_param_t fparam = new find_param_t();
    find_result_t fa = new find_result_t();
    find_result_t fb = new find_result_t();
    cases.add(
      new Case(
        "FindCert, 32 certificates",
        0,
        () -> LocalIface.QUMENJNI_FindCert(lib, fparam, fa),
        () -> Floor.findCert(lib, fparam, fb),
        fa,
        fb
      )
    );
    mem_blk_t encoded = new mem_blk_t(new byte[40]);
    certificate_t ca = new certificate_t();
    certificate_t cb = new certificate_t();
    cases.add(
      new Case(
        "ParseCert, complete certificate",
        0,
        () -> LocalIface.QUMENJNI_ParseCert(lib, encoded, 0, ca),
        () -> Floor.parseCert(lib, encoded, 0, cb),
        ca,
        cb
      )
    );

    double noop = median(
      rounds(
        () -> {
          Floor.noop();
          return 0;
        },
        calls(() -> {
          Floor.noop();
          return 0;
        }),
        ROUNDS
      )
    );
    System.out.printf("Record classes: %s%n", variant);
    System.out.printf("%-36s %14s %14s %7s%n", "case", "bridge ns", "floor ns", "ratio");
    System.out.printf("%-36s %14.1f%n", "static native no-op", noop);
    PrintWriter out = csv == null ? null : new PrintWriter(new FileWriter(csv, true));
    for (Case c : cases) {
      check(c.bridge.getAsInt());
      check(c.floor.getAsInt());
      String diff = difference("", c.bridgeOut, c.floorOut);
      if (diff != null) throw new AssertionError(c.name + ": bridge and floor differ at " + diff);
    }
    verify_result_t verified = (verify_result_t) va[1];
    if (
      verified.signs.length != 4 ||
      verified.signs[3].cert.subjectAltName == null ||
      fa.certs.length != 32 ||
      ca.extensions.length != 2
    ) throw new AssertionError("the stand-in did not answer as programmed");
    for (Case c : cases) {
      if (!only.isEmpty() && !only.contains(c.name)) continue;
      double[] ns = alternate(c.bridge, c.floor);
      System.out.printf("%-36s %14.1f %14.1f %7.2f%n", c.name, ns[0], ns[1], ns[2]);
      if (out != null) out.printf(
        "%s,%s,%d,%.1f,%.1f,%.3f%n",
        variant,
        c.name.replace(",", ""),
        c.bytes,
        ns[0],
        ns[1],
        ns[2]
      );
    }
    if (out != null) out.close();
    check(LocalIface.QUMENJNI_Uninitialize(lib));
  }

  static String describe(long size) {
    if (size >= 1 << 20) return (size >> 20) + " MiB";
    if (size >= 1 << 10) return (size >> 10) + " KiB";
    return size + " B";
  }

  /** Calls per round, found by warming the call up. */
  static long calls(Call call) throws Exception {
    long calls = 0;
    long start = System.nanoTime();
    long elapsed;
    do {
      check(call.getAsInt());
      calls++;
    } while ((elapsed = System.nanoTime() - start) < WARM_NS || calls < 3);
    return Math.max(2, (long) (calls * ((double) ROUND_NS / elapsed)));
  }

  /**
   * Median ns per call of each side, in rounds that alternate which side goes first, and the
   * median ratio of the rounds run side by side.
   */
  static double[] alternate(Call bridge, Call floor) throws Exception {
    long bridgeCalls = calls(bridge);
    long floorCalls = calls(floor);
    List<Double> b = new ArrayList<>();
    List<Double> f = new ArrayList<>();
    List<Double> ratios = new ArrayList<>();
    for (int r = 0; r < ROUNDS; r++) {
      if (r % 2 == 0) {
        b.addAll(rounds(bridge, bridgeCalls, 1));
        f.addAll(rounds(floor, floorCalls, 1));
      } else {
        f.addAll(rounds(floor, floorCalls, 1));
        b.addAll(rounds(bridge, bridgeCalls, 1));
      }
      ratios.add(b.get(r) / f.get(r));
    }
    return new double[] { median(b), median(f), median(ratios) };
  }

  /** ns per call of `n` rounds of `calls` calls each, with no clock read inside a round. */
  static List<Double> rounds(Call call, long calls, int n) throws Exception {
    List<Double> out = new ArrayList<>();
    for (int r = 0; r < n; r++) {
      long start = System.nanoTime();
      for (long i = 0; i < calls; i++) check(call.getAsInt());
      out.add((System.nanoTime() - start) / (double) calls);
    }
    return out;
  }

  static double median(List<Double> values) {
    List<Double> sorted = new ArrayList<>(values);
    sorted.sort(null);
    return sorted.get(sorted.size() / 2);
  }

  /**
   * The path of the first difference between two results, or null when they are equal: record
   * objects field by field, arrays element by element, everything else with equals.
   */
  static String difference(String path, Object a, Object b) {
    if (a == null || b == null) return a == b
      ? null
      : path + (a == null ? " (bridge null)" : " (floor null)");
    if (a.getClass() != b.getClass()) return path + " (classes differ)";
    if (a.getClass().isArray()) {
      if (Array.getLength(a) != Array.getLength(b)) return path + ".length";
      for (int i = 0; i < Array.getLength(a); i++) {
        String d = difference(path + "[" + i + "]", Array.get(a, i), Array.get(b, i));
        if (d != null) return d;
      }
      return null;
    }
    if (a.getClass().getName().startsWith("Norv1.")) {
      for (Field field : a.getClass().getFields()) {
        if (Modifier.isStatic(field.getModifiers())) continue;
        try {
          String d = difference(path + "." + field.getName(), field.get(a), field.get(b));
          if (d != null) return d;
        } catch (IllegalAccessException e) {
          throw new AssertionError(e);
        }
      }
      return null;
    }
    return a.equals(b) ? null : path + " (" + a + " / " + b + ")";
  }

  static void check(int status) {
    if (status != 0) throw new IllegalStateException(String.format("status %#x", status));
  }
}
