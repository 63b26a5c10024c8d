import Norv1.LocalIface;
import Norv1.LocalIface.certificate_t;
import Norv1.LocalIface.cms_msginf_t;
import Norv1.LocalIface.crl_t;
import Norv1.LocalIface.decrypt_param_t;
import Norv1.LocalIface.decrypt_result_t;
import Norv1.LocalIface.encrypt_param_t;
import Norv1.LocalIface.find_param_t;
import Norv1.LocalIface.find_result_t;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.ocsp_verify_param_t;
import Norv1.LocalIface.ocsp_verify_result_t;
import Norv1.LocalIface.pkcs7_info_t;
import Norv1.LocalIface.sign_param_t;
import Norv1.LocalIface.strhandle_t;
import Norv1.LocalIface.tsp_verify_param_t;
import Norv1.LocalIface.tsp_verify_result_t;
import Norv1.LocalIface.verify_param_t;
import Norv1.LocalIface.verify_result_t;
import java.io.CharConversionException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.concurrent.ThreadLocalRandom;
import java.util.concurrent.atomic.AtomicLong;

/**
 * Soak: java Soak SECONDS. Eight threads at a time make mixed calls of every family, each with
 * a context of its own; each thread lives a random 0.2 to 3 seconds and a new one takes its
 * place. Every second it prints the resident memory of the process and the calls per second.
 */
public final class Soak {

  private static final AtomicLong calls = new AtomicLong();
  private static final AtomicLong started = new AtomicLong();
  private static final AtomicLong unexpected = new AtomicLong();

  public static void main(String[] args) throws Exception {
    long seconds = Long.parseLong(args[0]);
    long end = System.nanoTime() + seconds * 1_000_000_000L;
    Thread[] slots = new Thread[8];
    long lastCalls = 0;
    long lastPrint = System.nanoTime();
    System.out.println("seconds  rss_MiB  calls/s  threads_started");
    for (int second = 1; System.nanoTime() < end; ) {
      for (int i = 0; i < slots.length; ++i) {
        if (slots[i] == null || !slots[i].isAlive()) {
          slots[i] = new Thread(Soak::worker, "soak-" + started.incrementAndGet());
          slots[i].start();
        }
      }
      Thread.sleep(20);
      long now = System.nanoTime();
      if (now - lastPrint >= 1_000_000_000L) {
        long total = calls.get();
        System.out.printf(
          "%7d  %7d  %7d  %15d%n",
          second++,
          rssMiB(),
          ((total - lastCalls) * 1_000_000_000L) / (now - lastPrint),
          started.get()
        );
        lastCalls = total;
        lastPrint = now;
      }
    }
    for (Thread t : slots) t.join();
    System.out.printf(
      "calls %d, threads %d, unexpected statuses %d%n",
      calls.get(),
      started.get(),
      unexpected.get()
    );
    if (unexpected.get() != 0) System.exit(1);
  }

  private static long rssMiB() {
    try {
      for (String line : Files.readAllLines(Path.of("/proc/self/status")))
        if (line.startsWith("VmRSS:")) return Long.parseLong(line.replaceAll("[^0-9]", "")) / 1024;
    } catch (java.io.IOException e) {
      return -1;
    }
    return -1;
  }

  private static void expect(int status) {
    calls.incrementAndGet();
    if (status != 0) unexpected.incrementAndGet();
  }

  private static void worker() {
    try {
      work();
    } catch (CharConversionException | NoSuchFieldException e) {
      // every argument here converts
      unexpected.incrementAndGet();
      throw new IllegalStateException("the bridge refused an argument", e);
    }
  }

  private static void work() throws CharConversionException, NoSuchFieldException {
    ThreadLocalRandom random = ThreadLocalRandom.current();
    long until = System.nanoTime() + random.nextLong(200_000_000L, 3_000_000_000L);
    LocalIface lib = new LocalIface();
    expect(LocalIface.QUMENJNI_InitMinimal(lib));
    byte[] data = new byte[random.nextInt(1, 8192)];
    random.nextBytes(data);
    while (System.nanoTime() < until) {
      mem_blk_t in = new mem_blk_t(data);
      mem_blk_t out = new mem_blk_t();
      switch (random.nextInt(12)) {
        case 0 -> expect(LocalIface.QUMENJNI_HashMem(lib, in, out));
        case 1 -> {
          mem_blk_t signed = new mem_blk_t();
          expect(LocalIface.QUMENJNI_SignMem(lib, new sign_param_t(), in, null, signed));
          expect(
            LocalIface.QUMENJNI_VerifyMem(
              lib,
              new verify_param_t(),
              signed,
              null,
              out,
              new verify_result_t()
            )
          );
        }
        case 2 -> {
          expect(LocalIface.QUMENJNI_EncryptMem(lib, new encrypt_param_t(), in, out));
          expect(
            LocalIface.QUMENJNI_DecryptMem(
              lib,
              new decrypt_param_t(),
              out,
              new mem_blk_t(),
              new decrypt_result_t()
            )
          );
        }
        case 3 -> {
          strhandle_t h = new strhandle_t();
          expect(LocalIface.QUMENJNI_StrHashInitMem(lib, "sha256", h));
          for (int k = 0; k < 4; ++k) expect(LocalIface.QUMENJNI_StrHashUpdateMem(lib, h, in));
          expect(LocalIface.QUMENJNI_StrHashFinalMem(lib, h, out));
        }
        case 4 -> {
          expect(LocalIface.QUMENJNI_ParseCert(lib, in, 0, new certificate_t()));
          LocalIface.QUMENJNI_ParseCrl(lib, in, 0, new crl_t());
          calls.incrementAndGet();
        }
        case 5 -> {
          LocalIface.QUMENJNI_GetPkcs7InfoMem(lib, in, new pkcs7_info_t());
          calls.incrementAndGet();
        }
        case 6 -> {
          LocalIface.QUMENJNI_CmsBlkMsgInfMem(lib, in, new cms_msginf_t(), 0);
          calls.incrementAndGet();
        }
        case 7 -> {
          strhandle_t position = new strhandle_t();
          while (LocalIface.QUMENJNI_EnumStoreObjects(lib, null, position, out, 0) == 0)
            calls.incrementAndGet();
          expect(LocalIface.QUMENJNI_FindCert(lib, new find_param_t(), new find_result_t()));
        }
        case 8 -> {
          LocalIface.QUMENJNI_TspVerifyResponse(
            lib,
            new tsp_verify_param_t(),
            in,
            new tsp_verify_result_t()
          );
          calls.incrementAndGet();
        }
        case 9 -> {
          LocalIface.QUMENJNI_OcspVerifyResponse(
            lib,
            new ocsp_verify_param_t(),
            in,
            new ocsp_verify_result_t()
          );
          calls.incrementAndGet();
        }
        case 10 -> {
          strhandle_t session = new strhandle_t();
          expect(LocalIface.QUMENJNI_TlsSessionCreate(lib, "peer", session, 0));
          LocalIface.QUMENJNI_TlsSessionWrite(lib, session, in, out);
          calls.incrementAndGet();
          expect(LocalIface.QUMENJNI_TlsSessionDestroy(lib, session));
        }
        default -> {
          expect(LocalIface.QUMENJNI_GenRandom(lib, 64, out));
          LocalIface.QUMENJNI_GetErrorText(lib, 0x7E570001);
          calls.incrementAndGet();
        }
      }
    }
    expect(LocalIface.QUMENJNI_Uninitialize(lib));
  }
}
