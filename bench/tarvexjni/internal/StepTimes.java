package tarvexjni.internal;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import java.io.IOException;
import java.lang.management.ManagementFactory;
import java.lang.management.ThreadMXBean;
import java.lang.reflect.Field;
import java.nio.file.Path;
import java.security.CodeSigner;
import java.security.MessageDigest;
import java.security.NoSuchAlgorithmException;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

/**
 * Where the first use of the library spends its time, in one process: the host class's loading,
 * each step of the loader (every question it asks of the system, through a {@link Host} that
 * times them, the SHA-256 digest apart), the loader's own work in between, and the first calls.
 * For {@code bench/run cold steps}, which runs it in fresh JVMs and takes the medians; the
 * figures of one run are printed as {@code step,wall,cpu} lines: nanoseconds of wall time and of
 * this thread's CPU time (the compiler's and collector's threads are not in them).
 */
public final class StepTimes {

  // Per step: wall time and this thread's CPU time, in nanoseconds.
  private static final Map<String, long[]> spent = new LinkedHashMap<>();
  private static final ThreadMXBean THREADS = ManagementFactory.getThreadMXBean();

  private StepTimes() {}

  static long[] now() {
    return new long[] { System.nanoTime(), THREADS.getCurrentThreadCpuTime() };
  }

  static void add(String step, long[] since) {
    long[] t = now();
    put(step, t[0] - since[0], t[1] - since[1]);
  }

  static void put(String step, long wall, long cpu) {
    long[] sum = spent.computeIfAbsent(step, k -> new long[2]);
    sum[0] += wall;
    sum[1] += cpu;
  }

  public static void main(String[] args) throws Exception {
    long[] start = now();
    // The loader of the process asks its questions through the timing host from here on.
    Field host = NativeLoader.class.getDeclaredField("host");
    host.setAccessible(true);
    Field process = NativeLoader.class.getDeclaredField("PROCESS");
    process.setAccessible(true);
    host.set(process.get(null), new Timed());
    add("instrumentation (not in a real run)", start);

    long[] t = now();
    Class<?> iface = Class.forName("Norv1.LocalIface", false, StepTimes.class.getClassLoader());
    add("LocalIface: load and link", t);
    t = now();
    Class.forName(iface.getName(), true, iface.getClassLoader());
    long[] load = now();
    long wall = load[0] - t[0],
      cpu = load[1] - t[1];
    for (Map.Entry<String, long[]> e : spent.entrySet()) {
      if (!e.getKey().startsWith("loader: ")) continue;
      wall -= e.getValue()[0];
      cpu -= e.getValue()[1];
    }
    put("loader: its own work between the steps", wall, cpu);

    LocalIface lib = new LocalIface();
    t = now();
    check(LocalIface.QUMENJNI_InitMinimal(lib));
    add("first call: InitMinimal", t);
    t = now();
    mem_blk_t hash = new mem_blk_t();
    check(LocalIface.QUMENJNI_HashMem(lib, new mem_blk_t(new byte[] { 1, 2, 3 }), hash));
    add("first HashMem of 3 bytes (with the check of the host's declarations)", t);
    t = now();
    check(LocalIface.QUMENJNI_Uninitialize(lib));
    add("Uninitialize", t);
    add("total in main", start);
    // step,wall,cpu: no step names a comma
    for (Map.Entry<String, long[]> e : spent.entrySet()) {
      System.out.println(e.getKey() + "," + e.getValue()[0] + "," + e.getValue()[1]);
    }
  }

  private static void check(int status) {
    if (status != 0) throw new AssertionError("status " + Integer.toHexString(status));
  }

  // Every question the loader asks, timed; a digest passed to identify is timed apart from the
  // reading and mapping around it.
  private static final class Timed extends Host {

    @Override
    String property(String name) {
      long[] t = now();
      try {
        return super.property(name);
      } finally {
        add("loader: settings (properties and environment)", t);
      }
    }

    @Override
    String variable(String name) {
      long[] t = now();
      try {
        return super.variable(name);
      } finally {
        add("loader: settings (properties and environment)", t);
      }
    }

    @Override
    void load(String absolutePath) {
      long[] t = now();
      try {
        super.load(absolutePath);
      } finally {
        add(
          absolutePath.endsWith("/libtarvexjni.so")
            ? "loader: System.load of the bridge (dlopen and JNI_OnLoad)"
            : "loader: System.load of the vendor library",
          t
        );
      }
    }

    @Override
    String bridgeVersion() {
      long[] t = now();
      try {
        return super.bridgeVersion();
      } finally {
        add("loader: handshake and activation", t);
      }
    }

    @Override
    void activateBridge(String codeset, char[] units) {
      long[] t = now();
      try {
        super.activateBridge(codeset, units);
      } finally {
        add("loader: handshake and activation", t);
      }
    }

    @Override
    boolean hasResource(Class<?> owner, String name) {
      long[] t = now();
      try {
        return super.hasResource(owner, name);
      } finally {
        add("loader: the jar's entries (look-up and read and signers)", t);
      }
    }

    @Override
    Resource readResource(Class<?> owner, String name) throws IOException {
      long[] t = now();
      try {
        return super.readResource(owner, name);
      } finally {
        add("loader: the jar's entries (look-up and read and signers)", t);
      }
    }

    @Override
    CodeSigner[] signers(Class<?> owner) {
      long[] t = now();
      try {
        return super.signers(owner);
      } finally {
        add("loader: the jar's entries (look-up and read and signers)", t);
      }
    }

    @Override
    long uid() throws IOException {
      long[] t = now();
      try {
        return super.uid();
      } finally {
        add("loader: safe folders (owners and modes up to the root)", t);
      }
    }

    @Override
    Owner owner(Path path) throws IOException {
      long[] t = now();
      try {
        return super.owner(path);
      } finally {
        add("loader: safe folders (owners and modes up to the root)", t);
      }
    }

    @Override
    long pid() {
      long[] t = now();
      try {
        return super.pid();
      } finally {
        add("loader: private folder (made and earlier runs' swept)", t);
      }
    }

    @Override
    boolean ownerGone(long pid, Path folder, boolean windows) {
      long[] t = now();
      try {
        return super.ownerGone(pid, folder, windows);
      } finally {
        add("loader: private folder (made and earlier runs' swept)", t);
      }
    }

    @Override
    Path makePrivateFolder(Path parent, String prefix, boolean windows) throws IOException {
      long[] t = now();
      try {
        return super.makePrivateFolder(parent, prefix, windows);
      } finally {
        add("loader: private folder (made and earlier runs' swept)", t);
      }
    }

    @Override
    MessageDigest sha256() throws NoSuchAlgorithmException {
      long[] t = now();
      try {
        return super.sha256();
      } finally {
        add("loader: SHA-256 set up (the JDK's security providers)", t);
      }
    }

    @Override
    FileId identify(Path file, MessageDigest digest) throws IOException {
      long[] t = now();
      Digest timed = digest == null ? null : new Digest(digest);
      try {
        return super.identify(file, timed);
      } finally {
        long[] digesting = timed == null ? new long[2] : timed.spent;
        long[] end = now();
        put("loader: SHA-256 of the file", digesting[0], digesting[1]);
        put(
          "loader: file read back and mapped for its identity",
          end[0] - t[0] - digesting[0],
          end[1] - t[1] - digesting[1]
        );
      }
    }

    @Override
    List<Mapping> mappings(Path file) throws IOException {
      long[] t = now();
      try {
        return super.mappings(file);
      } finally {
        add("loader: identity of the mapped library (/proc/self/maps)", t);
      }
    }

    @Override
    String mappedLibrary(String fileName) {
      long[] t = now();
      try {
        return super.mappedLibrary(fileName);
      } finally {
        add("loader: bridge loaded already? (/proc/self/maps)", t);
      }
    }
  }

  // A digest that passes everything to another and counts the time it takes.
  private static final class Digest extends MessageDigest {

    final MessageDigest real;
    final long[] spent = new long[2];

    Digest(MessageDigest real) {
      super(real.getAlgorithm());
      this.real = real;
    }

    @Override
    protected void engineUpdate(byte input) {
      long[] t = now();
      real.update(input);
      count(t);
    }

    @Override
    protected void engineUpdate(byte[] input, int offset, int len) {
      long[] t = now();
      real.update(input, offset, len);
      count(t);
    }

    @Override
    protected byte[] engineDigest() {
      long[] t = now();
      try {
        return real.digest();
      } finally {
        count(t);
      }
    }

    @Override
    protected void engineReset() {
      real.reset();
    }

    private void count(long[] since) {
      long[] t = now();
      spent[0] += t[0] - since[0];
      spent[1] += t[1] - since[1];
    }
  }
}
