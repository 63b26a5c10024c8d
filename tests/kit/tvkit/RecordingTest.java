package tvkit;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static tarvexjni.standin.LibraryFunction.CreateCertificateStore;
import static tarvexjni.standin.LibraryFunction.FindCert;
import static tarvexjni.standin.LibraryFunction.FreeMem;
import static tarvexjni.standin.LibraryFunction.HashMem;
import static tarvexjni.standin.LibraryFunction.InitMinimal;
import static tarvexjni.standin.LibraryFunction.SignMem;
import static tarvexjni.standin.LibraryFunction.StrHashUpdateMem;
import static tarvexjni.standin.LibraryFunction.TspBlkUrlStampCmsMem;
import static tarvexjni.standin.Times.atLeast;
import static tarvexjni.standin.Times.atMost;
import static tarvexjni.standin.Times.never;
import static tarvexjni.standin.Times.once;
import static tarvexjni.standin.Times.times;

import Norv1.LocalIface;
import Norv1.LocalIface.certificate_t;
import Norv1.LocalIface.find_param_t;
import Norv1.LocalIface.find_result_t;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.policy_t;
import Norv1.LocalIface.strhandle_t;
import Norv1.LocalIface.tsp_request_param_t;
import java.util.List;
import java.util.Map;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.Test;
import tarvexjni.standin.RecordedCall;
import tarvexjni.standin.StandIn;
import tarvexjni.standin.StandInTest;

// What the calls received, as tests read and count them.
@StandInTest
class RecordingTest extends WithLib {

  static final int STATUS = 0x80090016;

  @Test
  void callsRecordWhatTheyReceived() throws Exception {
    find_param_t search = new find_param_t();
    search.flag = 3;
    search.info = 9;
    search.certTemplate = new certificate_t();
    search.certTemplate.subject = "CN=Signer";
    search.certTemplate.notAfterEx = 0xFFFFFFFFL;
    search.certTemplate.policy_num = 1;
    search.certTemplate.policies = new policy_t[] { new policy_t() };
    search.certTemplate.policies[0].oid = "1.2.3";
    assertEquals(0, LocalIface.QUMENJNI_FindCert(lib.lib, search, new find_result_t()));
    tsp_request_param_t request = new tsp_request_param_t();
    request.index = 2;
    assertEquals(
      0,
      LocalIface.QUMENJNI_TspBlkUrlStampCmsMem(
        lib.lib,
        request,
        "http://tsa.example",
        new mem_blk_t(Lib.DATA),
        new mem_blk_t()
      )
    );
    strhandle_t stream = new strhandle_t();
    assertEquals(0, LocalIface.QUMENJNI_StrHashInitMem(lib.lib, null, stream));
    assertEquals(0, LocalIface.QUMENJNI_StrHashUpdateMem(lib.lib, stream, null));
    assertEquals(0, LocalIface.QUMENJNI_StrHashFinalMem(lib.lib, stream, null));

    RecordedCall find = StandIn.recordedCalls().of(FindCert).single();
    Map<String, Object> fields = find.record("find_param_t");
    assertEquals(3, fields.get("flag"));
    assertEquals(9, fields.get("info"));
    assertEquals("CN=Signer", fields.get("certTemplate.subject"));
    assertNull(fields.get("certTemplate.issuer"));
    assertEquals(4294967295L, fields.get("certTemplate.notAfterEx"));
    assertEquals("1.2.3", fields.get("certTemplate.policies[0].oid"));
    assertEquals(lib.lib.handle, find.context());
    IllegalArgumentException e = assertThrows(IllegalArgumentException.class, () ->
      find.record("verify_param_t")
    );
    assertTrue(
      e.getMessage().contains("received no verify_param_t; it received [find_param_t]"),
      e.getMessage()
    );

    RecordedCall stamp = StandIn.recordedCalls().of("TspBlkUrlStampCmsMem").single();
    assertEquals(List.of("http://tsa.example"), stamp.texts());
    assertEquals(
      List.of(3, 0),
      stamp.blocks().stream().map(RecordedCall.BlockArgument::length).toList(),
      "the message, then the output block, empty"
    );
    assertEquals(2, stamp.record("tsp_request_param_t").get("index"));
    assertEquals(0, stamp.status());
    assertTrue(stamp.returned() && !stamp.faulted());

    RecordedCall update = StandIn.recordedCalls().of(StrHashUpdateMem).single();
    assertEquals(List.of(), update.texts());
    assertEquals(
      List.of(0),
      update.blocks().stream().map(RecordedCall.BlockArgument::length).toList(),
      "a null block arrives empty"
    );
    assertEquals(1, update.handles().size());
    assertTrue(update.handles().get(0) != 0);
  }

  // Bytes are recorded when asked for, until the reset.
  @Test
  void bytesOnRequest() {
    lib.hash();
    RecordedCall.BlockArgument plain = StandIn.recordedCalls().of(HashMem).single().blocks().get(0);
    assertFalse(plain.bytesRecorded());
    IllegalStateException e = assertThrows(IllegalStateException.class, plain::bytes);
    assertTrue(e.getMessage().contains("StandIn.recordBytes()"), e.getMessage());
    StandIn.recordBytes();
    lib.hash();
    RecordedCall.BlockArgument recorded = StandIn.recordedCalls()
      .of(HashMem)
      .get(1)
      .blocks()
      .get(0);
    assertArrayEquals(Lib.DATA, recorded.bytes());
    recorded.bytes()[0] = 9;
    assertArrayEquals(Lib.DATA, recorded.bytes(), "a copy each time");
    StandIn.reset();
    lib.hash();
    assertFalse(StandIn.recordedCalls().of(HashMem).single().blocks().get(0).bytesRecorded());
  }

  // The two arrays of CreateCertificateStore are recorded block by block.
  @Test
  void blockArraysAreRecordedBlockByBlock() throws Exception {
    mem_blk_t[] first = { new mem_blk_t(new byte[] { 1 }), new mem_blk_t(new byte[] { 2, 2 }) };
    mem_blk_t[] second = { new mem_blk_t(new byte[] { 3, 3, 3 }) };
    assertEquals(
      0,
      LocalIface.QUMENJNI_CreateCertificateStore(lib.lib, first, 2, second, 1, "a", "b", 7)
    );
    RecordedCall store = StandIn.recordedCalls().of(CreateCertificateStore).single();
    assertEquals(
      List.of(1, 2, 3),
      store.blocks().stream().map(RecordedCall.BlockArgument::length).toList()
    );
    assertEquals(List.of(2L, 1L, 7L), store.numbers());
    assertEquals(List.of("a", "b"), store.texts());
  }

  // The memory functions are apart; a failure and a fault are recorded with their statuses.
  @Test
  void memoryCallsStatusesAndFaults() {
    StandIn.failNext(HashMem, STATUS);
    lib.hash();
    lib.hash();
    StandIn.faultNext(HashMem, StandIn.Fault.SEGV);
    lib.hash();
    assertEquals(
      List.of(InitMinimal, HashMem, HashMem, HashMem),
      StandIn.recordedCalls().functions()
    );
    assertEquals(
      List.of(0, STATUS, 0, 0xC0000005),
      StandIn.recordedCalls().stream().map(RecordedCall::status).toList()
    );
    RecordedCall faulted = StandIn.recordedCalls().get(3);
    assertTrue(faulted.faulted() && !faulted.returned());
    assertEquals(
      List.of("InitMinimal", "HashMem", "FreeMem", "HashMem", "FreeMem", "HashMem"),
      StandIn.calls(),
      "the bridge gives back the output of a failed call too, and leaves that of a fault alone"
    );
    assertEquals(
      List.of(3L, 5L),
      StandIn.memoryCalls().stream().map(RecordedCall::number).toList()
    );
  }

  // Counting assertions pass silently, or say what was called instead.
  @Test
  void countingAssertions() {
    lib.hash();
    lib.hash();
    StandIn.verify(HashMem, times(2));
    StandIn.verify(SignMem, never());
    StandIn.verify("HashMem", atLeast(1));
    StandIn.verify(HashMem, atMost(2));
    StandIn.verify(FreeMem, times(2));
    AssertionError e = assertThrows(AssertionError.class, () -> StandIn.verify(HashMem, times(3)));
    assertTrue(
      e.getMessage().startsWith("HashMem was wanted 3 times, but was called twice. The calls"),
      e.getMessage()
    );
    assertTrue(e.getMessage().contains("\n    #1 InitMinimal() on thread"), e.getMessage());
    assertTrue(
      e.getMessage().contains("\n  > #2 HashMem(blocks [3 bytes, 0 bytes]) on thread"),
      e.getMessage()
    );
    assertFalse(
      e.getMessage().contains("FreeMem"),
      "the memory functions left out: " + e.getMessage()
    );
    e = assertThrows(AssertionError.class, () -> StandIn.verify(TspBlkUrlStampCmsMem, once()));
    assertTrue(
      e.getMessage().contains("was wanted once, but was called not at all"),
      e.getMessage()
    );
    assertTrue(e.getMessage().contains("HashMem"), "what was called instead: " + e.getMessage());
    e = assertThrows(AssertionError.class, () -> StandIn.recordedCalls().of(HashMem).single());
    assertTrue(
      e
        .getMessage()
        .startsWith(
          "wanted exactly one call (the memory functions left out, of HashMem)," +
            " but there were 2:"
        ),
      e.getMessage()
    );
  }

  // Each call carries the thread that made it.
  @Test
  void callsCarryTheirThread() throws Exception {
    ExecutorService worker = Executors.newSingleThreadExecutor();
    try {
      assertEquals(0, worker.submit(() -> lib.hash()).get());
    } finally {
      worker.shutdown();
      assertTrue(worker.awaitTermination(30, TimeUnit.SECONDS));
    }
    lib.hash();
    List<RecordedCall> hashes = StandIn.recordedCalls().of(HashMem);
    assertFalse(hashes.get(0).onThisThread());
    assertTrue(hashes.get(1).onThisThread());
    assertEquals(
      hashes.get(1).number(),
      StandIn.recordedCalls().onThisThread().of(HashMem).single().number()
    );
  }

  // The log keeps the last calls, 10000 unless a setting says otherwise; counting assertions
  // count every call.
  @Test
  void theLogKeepsTheLastCallsAndCountsThemAll() throws Exception {
    for (int i = 0; i < 5001; i++) lib.hash();
    assertEquals(10_000, StandIn.logLimit());
    assertEquals(10_000, StandIn.calls().size(), "5001 hashes, each given back: 10003 calls");
    assertEquals(4, StandIn.recordedCalls().get(0).number(), "the first three calls dropped");
    StandIn.verify(HashMem, times(5001));
    AssertionError e = assertThrows(AssertionError.class, () -> StandIn.verify(HashMem, times(1)));
    assertTrue(
      e
        .getMessage()
        .startsWith(
          "HashMem was wanted once, but was called 5001 times. The calls since the" +
            " last reset (the memory functions left out):\n    (the log keeps the last 10000 calls: the 3 calls before" +
            " #4 are not listed)\n  > #4 HashMem("
        ),
      e.getMessage()
    );
    for (String[] setting : new String[][] {
      { "-D" + StandIn.LOG_PROPERTY + "=5", "" },
      { "-Dx", "7" },
      { "-D" + StandIn.LOG_PROPERTY + "=3", "7" },
    }) {
      String out = Child.run(
        List.of(setting[0]),
        setting[1].isEmpty() ? Map.of() : Map.of("TARVEX_STANDIN_LOG", setting[1]),
        CallLog.class,
        "20"
      );
      String kept = setting[0].endsWith("=5") ? "5" : setting[0].endsWith("=3") ? "3" : "7";
      assertEquals("keeps " + kept + ", holds " + kept + "\n", out, String.join(" ", setting));
    }
  }

  // The ledger names each block not given back with the call that made it.
  @Test
  void theLedgerNamesWhatWasNotGivenBack() {
    StandIn.on("FreeMem").doNothing(); // a library whose release does nothing: the digest stays out
    assertEquals(0, lib.hash());
    assertEquals(List.of(new StandIn.Block("HashMem", 32)), StandIn.outstandingBlocks());
    AssertionError e = assertThrows(AssertionError.class, StandIn::assertBalanced);
    assertTrue(
      e
        .getMessage()
        .contains(
          "\n  never released: 32 bytes from #2 HashMem(blocks [3 bytes, 0 bytes]) on" +
            " thread " +
            StandIn.thisThread()
        ),
      e.getMessage()
    );
    StandIn.reset();
    assertEquals(List.of(), StandIn.outstandingBlocks());
  }
}
