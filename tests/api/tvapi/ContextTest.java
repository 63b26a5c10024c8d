package tvapi;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import Norv1.LocalIface;
import java.io.IOException;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicInteger;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.parallel.ResourceLock;
import tarvexjni.Status;
import tarvexjni.Tarvex;
import tarvexjni.TarvexException;
import tarvexjni.standin.StandIn;

// A context's life: opening each way, closing once, use after close, the cleaner, threads.
@ResourceLock(StandIn.RESOURCE_LOCK)
class ContextTest extends Kit {

  @Test
  void opensEachWayAndEndsEachContextOnce() {
    byte[] expected = tarvex.hash(DATA);
    StandIn.reset();
    Tarvex.Setup setup = new Tarvex.Setup(0, "user.pse", null, null, "1234");
    for (Tarvex other : List.of(Tarvex.open("application", 0), Tarvex.open(0, setup))) {
      assertArrayEquals(expected, other.hash(DATA), "a context of its own");
      other.close();
      other.close();
      assertFalse(other.isOpen());
    }
    assertEquals(
      List.of("Initialize", "InitializeEx"),
      StandIn.calls()
        .stream()
        .filter(c -> c.startsWith("Init"))
        .toList()
    );
    assertEquals(2, count("Uninitialize"));
    assertFalse(setup.toString().contains("1234"), setup.toString());
  }

  @Test
  void aRefusedOpenLeavesNoContext() {
    StandIn.failNext("InitMinimal", STATUS);
    TarvexException e = assertThrows(TarvexException.class, Tarvex::openMinimal);
    assertEquals("InitMinimal", e.operation());
    assertEquals(STATUS, e.status());
    assertFalse(e.isFault());
    StandIn.faultNext("Initialize", "SEGV");
    e = assertThrows(TarvexException.class, () -> Tarvex.open("application", 0));
    assertTrue(e.isFault());
    assertEquals(Status.ACCESS_VIOLATION, e.status());
    assertEquals(0, count("Uninitialize"), "nothing was opened, nothing to end");
  }

  @Test
  void aClosedContextNeverReachesTheLibrary() {
    tarvex.close();
    StandIn.reset();
    for (Operation op : operations()) {
      assertThrows(IllegalStateException.class, () -> op.action().run(tarvex), op.function());
    }
    assertThrows(IllegalStateException.class, () -> tarvex.errorText(STATUS));
    assertThrows(IllegalStateException.class, () -> tarvex.storeObjects());
    assertThrows(IllegalStateException.class, () -> tarvex.call("HashMem", lib -> 0));
    assertEquals(List.of(), StandIn.calls());
    tarvex.close();
  }

  @Test
  void aFailedEndIsReportedOnce() {
    StandIn.failNext("Uninitialize", STATUS);
    TarvexException e = assertThrows(TarvexException.class, tarvex::close);
    assertEquals(STATUS, e.status());
    assertFalse(tarvex.isOpen());
    tarvex.close();
    assertEquals(1, count("Uninitialize"));
  }

  @Test
  void aDroppedContextIsEndedByTheCleanerAfterItsStreams() throws Exception {
    dropAContextWithAnOpenStream();
    awaitCleaner(() -> count("Uninitialize") == 1 && StandIn.openHandles() == handlesBefore);
    List<String> calls = StandIn.calls();
    assertTrue(calls.indexOf("StrHashFinalMem") < calls.indexOf("Uninitialize"), calls.toString());
  }

  private static void dropAContextWithAnOpenStream() throws IOException {
    Tarvex.openMinimal().hashing().write(DATA);
  }

  @Test
  void callsOnOneContextAreSerialised() throws Exception {
    byte[] expected = tarvex.hash(DATA);
    AtomicInteger inside = new AtomicInteger();
    AtomicInteger most = new AtomicInteger();
    ExecutorService pool = Executors.newFixedThreadPool(8);
    List<Future<?>> threads = new ArrayList<>();
    for (int t = 0; t < 8; t++) {
      threads.add(
        pool.submit(() -> {
          for (int i = 0; i < 200; i++) {
            assertArrayEquals(expected, tarvex.hash(DATA));
            tarvex.call("HashMem", lib -> {
              most.accumulateAndGet(inside.incrementAndGet(), Math::max);
              Thread.yield();
              int status = LocalIface.QUMENJNI_HashMem(lib, new LocalIface.mem_blk_t(DATA), null);
              inside.decrementAndGet();
              return status;
            });
          }
          return null;
        })
      );
    }
    for (Future<?> t : threads) t.get(60, TimeUnit.SECONDS);
    pool.shutdown();
    assertEquals(1, most.get(), "two calls were inside the library at once");
  }

  @Test
  void closeWaitsForTheCallInProgressAndNothingFollowsIt() throws Exception {
    Holder caller = new Holder(tarvex);
    Thread closer = new Thread(tarvex::close);
    closer.start();
    closer.join(300);
    assertTrue(closer.isAlive(), "close did not wait for the call");
    caller.letGo();
    closer.join();
    assertThrows(IllegalStateException.class, () -> tarvex.hash(DATA));
    List<String> calls = StandIn.calls();
    assertEquals("Uninitialize", calls.get(calls.size() - 1), calls.toString());
  }

  @Test
  void aContextSaysWhetherItIsOpen() {
    assertEquals("Tarvex[open]", tarvex.toString());
    StandIn.faultNext("HashMem", "SEGV");
    assertThrows(TarvexException.class, () -> tarvex.hash(DATA));
    assertTrue(
      tarvex.toString().startsWith("Tarvex[open, unusable after a machine fault in HashMem"),
      tarvex.toString()
    );
    tarvex.close();
    assertEquals("Tarvex[closed]", tarvex.toString());
  }
}
