package tvkit;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static tarvexjni.standin.LibraryFunction.GetErrorText;
import static tarvexjni.standin.LibraryFunction.HashMem;
import static tarvexjni.standin.LibraryFunction.SignFile;
import static tarvexjni.standin.LibraryFunction.StrHashUpdateMem;
import static tarvexjni.standin.LibraryFunction.VerifyFile;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.sign_param_t;
import Norv1.LocalIface.strhandle_t;
import Norv1.LocalIface.verify_param_t;
import Norv1.LocalIface.verify_result_t;
import java.time.Duration;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.CyclicBarrier;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.concurrent.TimeUnit;
import java.util.function.IntSupplier;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.Timeout;
import tarvexjni.standin.CertificateRecord;
import tarvexjni.standin.StandIn;
import tarvexjni.standin.StandInTest;
import tarvexjni.standin.Store;
import tarvexjni.standin.VerificationAnswer;

// Which calls a programming reaches (window, thread, precedence) and what it makes them do.
@StandInTest
class ProgrammingTest extends WithLib {

  static final int STATUS = 0x80090016;

  static List<Integer> statuses(int calls, IntSupplier call) {
    List<Integer> out = new ArrayList<>();
    for (int i = 0; i < calls; i++) out.add(call.getAsInt());
    return out;
  }

  // Windows count the calls made after the programming, each programming on its own.
  @Test
  void windowsCoverTheCallsTheyName() {
    lib.hash();
    StandIn.on(HashMem).times(2).fail(5);
    StandIn.on(HashMem).onCall(4).fail(1);
    StandIn.on(HashMem).fromCall(6).times(2).fail(2);
    StandIn.on(HashMem).fromCall(9).fail(3);
    assertEquals(List.of(5, 5, 0, 1, 0, 2, 2, 0, 3, 3), statuses(10, lib::hash));
  }

  @Test
  void aFailedStageEndsTheStream() throws Exception {
    int before = StandIn.openHandles();
    strhandle_t stream = new strhandle_t();
    assertEquals(0, LocalIface.QUMENJNI_StrHashInitMem(lib.lib, null, stream));
    StandIn.failNext(StrHashUpdateMem, STATUS);
    assertEquals(
      STATUS,
      LocalIface.QUMENJNI_StrHashUpdateMem(lib.lib, stream, new mem_blk_t(Lib.DATA))
    );
    assertEquals(0, stream.handle);
    assertEquals(before, StandIn.openHandles());
  }

  // Where windows overlap, the last programming decides; the others go on counting.
  @Test
  void theLastProgrammingDecides() {
    StandIn.on(HashMem).fail(1);
    StandIn.on(HashMem).onCall(2).fail(2);
    StandIn.on(HashMem).onCall(4).proceed();
    assertEquals(List.of(1, 2, 1, 0, 1), statuses(5, lib::hash));
  }

  // The methods of the first kit keep their meaning, on the calling thread.
  @Test
  void failuresLastAsLongAsAsked() {
    StandIn.failNext("HashMem", STATUS);
    assertEquals(List.of(STATUS, 0), statuses(2, lib::hash));
    StandIn.fail("HashMem", STATUS);
    assertEquals(List.of(STATUS, STATUS), statuses(2, lib::hash));
    StandIn.reset();
    assertEquals(0, lib.hash());
    assertEquals(List.of("HashMem", "FreeMem"), StandIn.calls());
  }

  // What the test's thread programs does not reach the application's other threads, unless it
  // says so; counting runs per thread.
  @Test
  void programmingReachesItsThreadUnlessToldOtherwise() throws Exception {
    ExecutorService worker = Executors.newSingleThreadExecutor();
    try {
      StandIn.fail(HashMem, STATUS);
      assertEquals(0, worker.submit(() -> lib.hash()).get());
      assertEquals(STATUS, lib.hash());
      StandIn.on(HashMem).onAnyThread().onCall(2).fail(1);
      assertEquals(0, worker.submit(() -> lib.hash()).get());
      assertEquals(1, lib.hash(), "the second call of any thread");
      assertEquals(0, worker.submit(() -> lib.hash()).get());
      assertTrue(StandIn.recordedCalls().of(HashMem).get(0).thread() != StandIn.thisThread());
    } finally {
      worker.shutdown();
      assertTrue(worker.awaitTermination(30, TimeUnit.SECONDS));
    }
  }

  // Each failure for any thread is taken by exactly one of the threads that race for it.
  @Test
  void aFailureForAnyThreadIsTakenOnce() throws Exception {
    int threads = 6;
    ExecutorService pool = Executors.newFixedThreadPool(threads);
    try {
      CyclicBarrier start = new CyclicBarrier(threads + 1);
      CyclicBarrier done = new CyclicBarrier(threads + 1);
      List<Future<Integer>> failed = new ArrayList<>();
      for (int t = 0; t < threads; t++) {
        failed.add(
          pool.submit(() -> {
            int count = 0;
            for (int round = 0; round < 20; round++) {
              start.await();
              count += lib.hash() == STATUS ? 1 : 0;
              done.await();
            }
            return count;
          })
        );
      }
      for (int round = 0; round < 20; round++) {
        StandIn.on(HashMem).onAnyThread().onCall(1).fail(STATUS);
        start.await();
        done.await();
      }
      int total = 0;
      for (Future<Integer> f : failed) total += f.get();
      assertEquals(20, total);
    } finally {
      pool.shutdown();
      assertTrue(pool.awaitTermination(30, TimeUnit.SECONDS));
    }
  }

  // JUnit may run a test's body on a thread of its own: "this thread" is then that one.
  @Test
  @Timeout(value = 60, threadMode = Timeout.ThreadMode.SEPARATE_THREAD)
  void aTestOnItsOwnThread() {
    StandIn.failNext(HashMem, STATUS);
    assertEquals(STATUS, lib.hash());
    assertTrue(StandIn.recordedCalls().of(HashMem).single().onThisThread());
  }

  // Programming and resetting while other threads call: every answer is one that was programmed
  // or the default, and a block handed out before a reset and given back after it is no wrong
  // release (the extension checks the ledger after the test).
  @Test
  void programmingWhileOthersCall() throws Exception {
    mem_blk_t signed = new mem_blk_t();
    assertEquals(
      0,
      LocalIface.QUMENJNI_SignMem(
        lib.lib,
        new sign_param_t(),
        new mem_blk_t(Lib.DATA),
        null,
        signed
      )
    );
    ExecutorService pool = Executors.newFixedThreadPool(3);
    try {
      List<Future<?>> callers = new ArrayList<>();
      for (int t = 0; t < 3; t++) {
        callers.add(
          pool.submit(() -> {
            for (int i = 0; i < 300; i++) {
              mem_blk_t out = new mem_blk_t();
              int status = lib.hash(out);
              assertTrue(status == 0 || status == STATUS, Integer.toHexString(status));
              assertTrue(status != 0 || out.len == 32 || out.len == 1, "length " + out.len);
              // A result of many blocks, given back over a longer while.
              assertEquals(
                0,
                LocalIface.QUMENJNI_VerifyMem(
                  lib.lib,
                  new verify_param_t(),
                  signed,
                  null,
                  new mem_blk_t(),
                  new verify_result_t()
                )
              );
            }
            return null;
          })
        );
      }
      for (int i = 0; !callers.stream().allMatch(Future::isDone); i++) {
        StandIn.on(HashMem).onAnyThread().onCall(1).lenient().fail(STATUS);
        StandIn.on(HashMem)
          .onAnyThread()
          .onCall(2)
          .lenient()
          .output(new byte[] { 9 });
        if (i % 10 == 0) StandIn.reset();
      }
      for (Future<?> f : callers) f.get();
    } finally {
      pool.shutdown();
      assertTrue(pool.awaitTermination(30, TimeUnit.SECONDS));
    }
  }

  @Test
  void faultsBecomeStatuses() {
    String[] signals = { "SEGV", "BUS", "FPE", "ILL" };
    int[] codes = { 0xC0000005, 0xC0000006, 0xC0000094, 0xC000001D };
    for (int i = 0; i < signals.length; i++) {
      StandIn.faultNext("HashMem", signals[i]);
      assertEquals(codes[i], lib.hash(), signals[i]);
      assertEquals(0, lib.hash(), "only the next call");
    }
    StandIn.on(HashMem).onCall(2).fault(StandIn.Fault.FPE);
    assertEquals(List.of(0, 0xC0000094), statuses(2, lib::hash));
  }

  // A delay comes before the answer; a reset ends one in progress.
  @Test
  void delays() throws Exception {
    StandIn.on(HashMem).onCall(1).after(Duration.ofMillis(200)).fail(STATUS);
    long start = System.nanoTime();
    assertEquals(STATUS, lib.hash());
    assertTrue(System.nanoTime() - start >= 200_000_000L, "waited before it answered");

    StandIn.on(HashMem).onAnyThread().after(Duration.ofDays(1)).proceed();
    ExecutorService worker = Executors.newSingleThreadExecutor();
    try {
      Future<Integer> slow = worker.submit(() -> lib.hash());
      while (StandIn.recordedCalls().of(HashMem).size() < 2) Thread.sleep(5);
      StandIn.reset();
      assertEquals(
        0,
        slow.get(30, TimeUnit.SECONDS),
        "the reset ended the wait; the call did its work"
      );
    } finally {
      worker.shutdown();
      assertTrue(worker.awaitTermination(30, TimeUnit.SECONDS));
    }
  }

  // GetErrorText gives a programmed text for its status, until the reset.
  @Test
  void errorTexts() throws Exception {
    StandIn.on(HashMem).onCall(1).fail(STATUS, "device not ready");
    StandIn.errorText(0x1234, "paper jam");
    assertEquals(STATUS, lib.hash());
    assertEquals("device not ready", LocalIface.QUMENJNI_GetErrorText(lib.lib, STATUS));
    assertEquals("paper jam", LocalIface.QUMENJNI_GetErrorText(lib.lib, 0x1234));
    assertEquals(
      "stand-in: verification found a difference",
      LocalIface.QUMENJNI_GetErrorText(lib.lib, StandIn.MISMATCH),
      "its own texts stay"
    );
    StandIn.on(GetErrorText).onCall(1).doNothing();
    assertNull(
      LocalIface.QUMENJNI_GetErrorText(lib.lib, 0x1234),
      "a failing GetErrorText answers null"
    );
    StandIn.reset();
    assertNull(LocalIface.QUMENJNI_GetErrorText(lib.lib, STATUS));
  }

  @Test
  void outputsQueue() {
    StandIn.nextOutput("HashMem", new byte[] { 7 });
    StandIn.nextOutput("HashMem", new byte[0]);
    StandIn.failNext("HashMem", STATUS);
    assertEquals(
      STATUS,
      lib.hash(),
      "a failed call hands out nothing and takes nothing from the queue"
    );
    mem_blk_t out = new mem_blk_t();
    assertEquals(0, lib.hash(out));
    assertArrayEquals(new byte[] { 7 }, out.bytes());
    assertEquals(0, lib.hash(out));
    assertEquals(0, out.len);
    StandIn.on(HashMem)
      .onCall(2)
      .output(new byte[] { 5, 5 });
    assertEquals(0, lib.hash(out));
    assertEquals(32, out.len, "the default again");
    assertEquals(0, lib.hash(out));
    assertArrayEquals(new byte[] { 5, 5 }, out.bytes());
  }

  // What a function could not do is refused, naming what is wrong, and programs nothing.
  @Test
  void whatCannotBeIsRefused() {
    assertTrue(StandIn.functions().containsAll(List.of("HashMem", "VerifyMem", "TlsSessionRead")));
    assertRefused(
      IllegalArgumentException.class,
      () -> StandIn.fail("QUMEN_HashMem", 1),
      "without the prefix",
      "VerifyMem",
      "TlsSessionRead"
    );
    assertRefused(
      IllegalArgumentException.class,
      () -> StandIn.nextOutput("hashmem", Lib.DATA),
      "unknown function"
    );
    assertRefused(
      IllegalArgumentException.class,
      () -> StandIn.faultNext("HashMem", "SIGKILL"),
      "[SEGV, BUS, FPE, ILL, STACK]"
    );
    assertRefused(
      IllegalArgumentException.class,
      () -> StandIn.on(SignFile).output(Lib.DATA),
      "SignFile hands out no block"
    );
    assertRefused(
      IllegalArgumentException.class,
      () -> StandIn.on(HashMem).answer(VerificationAnswer.status(0)),
      "HashMem fills no verification result"
    );
    assertRefused(
      IllegalArgumentException.class,
      () -> StandIn.on(VerifyFile).answer(VerificationAnswer.status(0).content(Lib.DATA)),
      "no output block"
    );
    assertRefused(
      IllegalArgumentException.class,
      () -> StandIn.on(HashMem).answer(Store.empty()),
      "neither searches nor enumerates"
    );
    assertRefused(
      IllegalArgumentException.class,
      () -> StandIn.on(HashMem).onCall(0),
      "counted from 1"
    );
    assertRefused(
      IllegalArgumentException.class,
      () -> StandIn.on(HashMem).after(Duration.ofMillis(-1)),
      "negative delay"
    );
    assertRefused(
      IllegalArgumentException.class,
      () -> StandIn.errorText(1, "caf\u00e9"),
      "non-ASCII"
    );
    assertRefused(
      IllegalArgumentException.class,
      () -> CertificateRecord.builder().notAfterEx(1L << 32),
      "unsigned 32-bit"
    );
    assertRefused(
      IllegalArgumentException.class,
      () -> CertificateRecord.withSubject("CN=A\0B"),
      "a NUL"
    );
    assertRefused(
      IllegalArgumentException.class,
      () -> CertificateRecord.builder().subjectAltName("email", "a@b"),
      "emailAddress"
    );
    var once = StandIn.on(HashMem).lenient();
    once.proceed();
    assertRefused(IllegalStateException.class, () -> once.fail(1), "already in place");
    assertRefused(
      IllegalArgumentException.class,
      () -> StandIn.on(HashMem).fail(0),
      "fail(0) for HashMem: 0 is the" +
        " library's success, not a failure. For calls that succeed without doing their work, use doNothing()"
    );
    assertRefused(
      IllegalArgumentException.class,
      () -> StandIn.failNext(HashMem, 0),
      "use doNothing()"
    );
    assertEquals(0, lib.hash(), "nothing refused was programmed");
  }

  // Which calls is said once; a word that contradicts an earlier one is refused at once, naming
  // where the programming started, and programs nothing.
  @Test
  void contradictionsAreRefused() {
    String started =
      "on(HashMem), started at tvkit.ProgrammingTest.lambda$contradictionsAreRefused$";
    assertRefused(
      IllegalStateException.class,
      () -> StandIn.on(HashMem).onCall(2).fromCall(3),
      started,
      "already says onCall(2); fromCall(3) contradicts it"
    );
    assertRefused(
      IllegalStateException.class,
      () -> StandIn.on(HashMem).times(2).always(),
      "already says times(2); always() contradicts it"
    );
    assertRefused(
      IllegalStateException.class,
      () -> StandIn.on(HashMem).always().times(2),
      "already says always(); times(2) contradicts it"
    );
    assertRefused(
      IllegalStateException.class,
      () -> StandIn.on(HashMem).onCall(2).times(2).times(3),
      "already says times(2); times(3) contradicts it"
    );
    assertRefused(
      IllegalStateException.class,
      () -> StandIn.on(HashMem).after(Duration.ofSeconds(1)).after(Duration.ofSeconds(2)),
      "already says after(PT1S); after(PT2S) contradicts it"
    );
    StandIn.on(HashMem).onCall(2).onCall(2).after(Duration.ZERO).after(Duration.ZERO).fail(5); // said again
    assertEquals(List.of(0, 5, 0), statuses(3, lib::hash), "the refused ones programmed nothing");
  }

  // A programming never put in place programs nothing: the kit's next call on the thread says
  // where it was started.
  @Test
  void anUnfinishedProgrammingIsReportedAtTheNextCall() {
    int line = new Throwable().getStackTrace()[0].getLineNumber() + 1;
    StandIn.on(HashMem).onCall(1);
    assertEquals(0, lib.hash());
    IllegalStateException e = assertThrows(IllegalStateException.class, StandIn::calls);
    assertEquals(
      "unfinished programming: StandIn.on(HashMem).onCall(1), started at" +
        " tvkit.ProgrammingTest.anUnfinishedProgrammingIsReportedAtTheNextCall(ProgrammingTest.java:" +
        line +
        ") was never put in place. End each with fail(...), fault(...), answer(...), output(...), doNothing()" +
        " or proceed()",
      e.getMessage()
    );
    assertEquals(List.of("InitMinimal", "HashMem", "FreeMem"), StandIn.calls(), "reported once");
  }

  // doNothing(): success, and no work done; a stream's stage that did nothing keeps the stream.
  @Test
  void doingNothingSucceedsWithoutWork() throws Exception {
    StandIn.on(HashMem).onCall(1).doNothing();
    mem_blk_t out = new mem_blk_t();
    assertEquals(0, lib.hash(out));
    assertEquals(0, out.len);
    strhandle_t stream = new strhandle_t();
    assertEquals(0, LocalIface.QUMENJNI_StrHashInitMem(lib.lib, null, stream));
    StandIn.on(StrHashUpdateMem).onCall(1).doNothing();
    assertEquals(0, LocalIface.QUMENJNI_StrHashUpdateMem(lib.lib, stream, new mem_blk_t(Lib.DATA)));
    assertEquals(0, LocalIface.QUMENJNI_StrHashFinalMem(lib.lib, stream, out));
    assertEquals(32, out.len, "the stream went on");
  }

  static void assertRefused(Class<? extends RuntimeException> type, Runnable call, String... said) {
    RuntimeException e = assertThrows(type, call::run);
    for (String s : said) assertTrue(e.getMessage().contains(s), e.getMessage());
  }

  @Test
  void aStreamOutlivesReset() throws Exception {
    int before = StandIn.openHandles();
    strhandle_t stream = new strhandle_t();
    assertEquals(0, LocalIface.QUMENJNI_StrHashInitMem(lib.lib, null, stream));
    assertEquals(
      0,
      LocalIface.QUMENJNI_StrHashUpdateMem(lib.lib, stream, new mem_blk_t(new byte[] { 1 }))
    );
    StandIn.reset();
    assertEquals(before + 1, StandIn.openHandles());
    assertEquals(
      0,
      LocalIface.QUMENJNI_StrHashUpdateMem(lib.lib, stream, new mem_blk_t(new byte[] { 2, 3 }))
    );
    mem_blk_t streamed = new mem_blk_t();
    assertEquals(0, LocalIface.QUMENJNI_StrHashFinalMem(lib.lib, stream, streamed));
    assertEquals(before, StandIn.openHandles());
    mem_blk_t whole = new mem_blk_t();
    assertEquals(
      0,
      LocalIface.QUMENJNI_HashMem(lib.lib, new mem_blk_t(new byte[] { 1, 2, 3 }), whole)
    );
    assertArrayEquals(
      whole.bytes(),
      streamed.bytes(),
      "everything fed, before and after the reset"
    );
  }
}
