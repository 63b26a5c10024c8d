package tvkit;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import Norv1.LocalIface;
import Norv1.LocalIface.find_param_t;
import Norv1.LocalIface.find_result_t;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.sign_param_t;
import Norv1.LocalIface.strhandle_t;
import Norv1.LocalIface.verify_param_t;
import Norv1.LocalIface.verify_result_t;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.CyclicBarrier;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.parallel.ResourceLock;
import tarvexjni.standin.StandIn;

// The kit's contract, through the real bridge.
@ResourceLock(StandIn.RESOURCE_LOCK)
class StandInTest {
  static final int STATUS = 0x80090016;
  static final byte[] DATA = {1, 2, 3};

  LocalIface lib;

  @BeforeAll
  static void standIn() {
    StandIn.reset();
  }

  @BeforeEach
  void open() {
    StandIn.reset();
    lib = new LocalIface();
    assertEquals(0, LocalIface.QUMENJNI_InitMinimal(lib));
  }

  @AfterEach
  void close() {
    assertEquals(0, LocalIface.QUMENJNI_Uninitialize(lib));
    StandIn.assertBalanced();
  }

  int hash(mem_blk_t out) {
    return LocalIface.QUMENJNI_HashMem(lib, new mem_blk_t(DATA), out);
  }

  int hash() {
    return hash(new mem_blk_t());
  }

  @Test
  void namesAreChecked() {
    assertEquals(191, StandIn.functions().size());
    IllegalArgumentException e = assertThrows(IllegalArgumentException.class, () -> StandIn.fail("QUMEN_HashMem", 1));
    assertTrue(e.getMessage().contains("VerifyMem") && e.getMessage().contains("TlsSessionRead"), e.getMessage());
    e = assertThrows(IllegalArgumentException.class, () -> StandIn.faultNext("HashMem", "SIGKILL"));
    assertTrue(e.getMessage().contains("[SEGV, BUS, FPE, ILL]"), e.getMessage());
    assertThrows(IllegalArgumentException.class, () -> StandIn.nextOutput("hashmem", DATA));
    assertThrows(IllegalArgumentException.class, () -> StandIn.failNext("", 1));
    assertEquals(0, hash(), "a refused call programs nothing");
  }

  @Test
  void failuresLastAsLongAsAsked() {
    StandIn.failNext("HashMem", STATUS);
    assertEquals(STATUS, hash());
    assertEquals(0, hash());
    StandIn.fail("HashMem", STATUS);
    assertEquals(STATUS, hash());
    assertEquals(STATUS, hash());
    StandIn.reset();
    assertEquals(0, hash());
    assertEquals(List.of("HashMem", "FreeMem"), StandIn.calls());
  }

  @Test
  void faultsBecomeStatuses() {
    String[] signals = {"SEGV", "BUS", "FPE", "ILL"};
    int[] codes = {0xC0000005, 0xC0000006, 0xC0000094, 0xC000001D};
    for (int i = 0; i < signals.length; i++) {
      StandIn.faultNext("HashMem", signals[i]);
      assertEquals(codes[i], hash(), signals[i]);
      assertEquals(0, hash(), "only the next call");
    }
  }

  @Test
  void outputsQueue() {
    StandIn.nextOutput("HashMem", new byte[] {7});
    StandIn.nextOutput("HashMem", new byte[0]);
    StandIn.failNext("HashMem", STATUS);
    assertEquals(STATUS, hash(), "a failed call hands out nothing and takes nothing from the queue");
    mem_blk_t out = new mem_blk_t();
    assertEquals(0, hash(out));
    assertArrayEquals(new byte[] {7}, out.bytes());
    assertEquals(0, hash(out));
    assertEquals(0, out.len);
    assertEquals(0, hash(out));
    assertEquals(32, out.len, "the default again");
  }

  @Test
  void storesCanBeEmpty() {
    find_result_t found = new find_result_t();
    StandIn.emptyStore();
    assertEquals(0, LocalIface.QUMENJNI_FindCert(lib, new find_param_t(), found));
    assertEquals(0, found.num);
    assertEquals(StandIn.END_OF_STORE, LocalIface.QUMENJNI_EnumStoreObjects(lib, null, new strhandle_t(), new mem_blk_t(), 0));
    StandIn.reset();
    assertEquals(0, LocalIface.QUMENJNI_FindCert(lib, new find_param_t(), found));
    assertEquals(2, found.num);
  }

  @Test
  void theLedgerNamesWhatWasNotGivenBack() {
    StandIn.fail("FreeMem", 0);  // a library whose release does nothing: the digest stays out
    assertEquals(0, hash());
    assertEquals(List.of(new StandIn.Block("HashMem", 32)), StandIn.outstandingBlocks());
    AssertionError e = assertThrows(AssertionError.class, StandIn::assertBalanced);
    assertTrue(e.getMessage().contains("never released: 32 bytes from HashMem"), e.getMessage());
    StandIn.reset();
    assertEquals(List.of(), StandIn.outstandingBlocks());
  }

  @Test
  void aStreamOutlivesReset() {
    int before = StandIn.openHandles();
    strhandle_t stream = new strhandle_t();
    assertEquals(0, LocalIface.QUMENJNI_StrHashInitMem(lib, null, stream));
    assertEquals(0, LocalIface.QUMENJNI_StrHashUpdateMem(lib, stream, new mem_blk_t(new byte[] {1})));
    StandIn.reset();
    assertEquals(before + 1, StandIn.openHandles());
    assertEquals(0, LocalIface.QUMENJNI_StrHashUpdateMem(lib, stream, new mem_blk_t(new byte[] {2, 3})));
    mem_blk_t streamed = new mem_blk_t();
    assertEquals(0, LocalIface.QUMENJNI_StrHashFinalMem(lib, stream, streamed));
    assertEquals(0, stream.handle);
    assertEquals(before, StandIn.openHandles());
    mem_blk_t whole = new mem_blk_t();
    assertEquals(0, hash(whole));
    assertArrayEquals(whole.bytes(), streamed.bytes(), "everything fed, before and after the reset");
    assertEquals(List.of("StrHashUpdateMem", "StrHashFinalMem", "FreeMem", "HashMem", "FreeMem"), StandIn.calls());
  }

  @Test
  void aFailedStageEndsTheStream() {
    int before = StandIn.openHandles();
    strhandle_t stream = new strhandle_t();
    assertEquals(0, LocalIface.QUMENJNI_StrHashInitMem(lib, null, stream));
    StandIn.failNext("StrHashUpdateMem", STATUS);
    assertEquals(STATUS, LocalIface.QUMENJNI_StrHashUpdateMem(lib, stream, new mem_blk_t(DATA)));
    assertEquals(0, stream.handle);
    assertEquals(before, StandIn.openHandles());
  }

  // Each failNext is consumed by exactly one of the threads that race for it.
  @Test
  void aFailureIsTakenOnce() throws Exception {
    int threads = 6;
    ExecutorService pool = Executors.newFixedThreadPool(threads);
    try {
      CyclicBarrier start = new CyclicBarrier(threads + 1);
      CyclicBarrier done = new CyclicBarrier(threads + 1);
      List<Future<Integer>> failed = new ArrayList<>();
      for (int t = 0; t < threads; t++) {
        failed.add(pool.submit(() -> {
          int count = 0;
          for (int round = 0; round < 20; round++) {
            start.await();
            count += hash() == STATUS ? 1 : 0;
            done.await();
          }
          return count;
        }));
      }
      for (int round = 0; round < 20; round++) {
        StandIn.failNext("HashMem", STATUS);
        start.await();
        done.await();
      }
      int total = 0;
      for (Future<Integer> f : failed) total += f.get();
      assertEquals(20, total);
      assertEquals(threads * 20, StandIn.calls().stream().filter("HashMem"::equals).count());
    } finally {
      pool.shutdown();
      assertTrue(pool.awaitTermination(30, TimeUnit.SECONDS));
    }
  }

  // Programming and resetting while other threads call: every answer is one that was
  // programmed or the default, and a block handed out before a reset and given back after it
  // is no wrong release (the ledger is checked after the test).
  @Test
  void programmingWhileOthersCall() throws Exception {
    mem_blk_t signed = new mem_blk_t();
    assertEquals(0, LocalIface.QUMENJNI_SignMem(lib, new sign_param_t(), new mem_blk_t(DATA), null, signed));
    ExecutorService pool = Executors.newFixedThreadPool(3);
    try {
      List<Future<?>> callers = new ArrayList<>();
      for (int t = 0; t < 3; t++) {
        callers.add(pool.submit(() -> {
          for (int i = 0; i < 300; i++) {
            mem_blk_t out = new mem_blk_t();
            int status = hash(out);
            assertTrue(status == 0 || status == STATUS, Integer.toHexString(status));
            assertTrue(status != 0 || out.len == 32 || out.len == 1, "length " + out.len);
            // A result of many blocks, given back over a longer while.
            assertEquals(0, LocalIface.QUMENJNI_VerifyMem(lib, new verify_param_t(), signed, null, new mem_blk_t(),
                new verify_result_t()));
          }
          return null;
        }));
      }
      for (int i = 0; !callers.stream().allMatch(Future::isDone); i++) {
        StandIn.failNext("HashMem", STATUS);
        StandIn.nextOutput("HashMem", new byte[] {9});
        if (i % 10 == 0) StandIn.reset();
      }
      for (Future<?> f : callers) f.get();
    } finally {
      pool.shutdown();
      assertTrue(pool.awaitTermination(30, TimeUnit.SECONDS));
    }
  }

  // The kit refuses a process where another libtarvex.so came first, or the vendor's library
  // is named to the bridge.
  @Test
  void refusesAnotherLibrary() throws Exception {
    String foreign = System.getProperty("tvkit.foreign");
    assertNotNull(foreign, "-Dtvkit.foreign must name a libtarvex.so other than the kit's");
    String out = Refusal.run(List.of(), foreign);
    assertTrue(out.contains("another libtarvex.so is already loaded, from " + foreign), out);
    out = Refusal.run(List.of("-Dtarvex.library=" + foreign), null);
    assertTrue(out.contains("tarvex.library names " + foreign), out);
  }
}
