package tvapi;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertInstanceOf;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.io.InterruptedIOException;
import java.util.ArrayList;
import java.util.List;
import java.util.Set;
import java.util.concurrent.CancellationException;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicReference;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.parallel.ResourceLock;
import tarvexjni.FinishingOutputStream;
import tarvexjni.Tarvex;
import tarvexjni.TarvexException;
import tarvexjni.TarvexPool;
import tarvexjni.standin.StandIn;

// Waiting for a context: interruptible, on a shared context and in a pool, for platform and
// virtual threads; the pool's contexts each lent to one thread at a time and all ended on close.
@ResourceLock(StandIn.RESOURCE_LOCK)
class ThreadsTest extends Kit {

  private Holder holder;

  // Another thread inside a call of the shared context until the test lets it go.
  private void holdTheContext() throws InterruptedException {
    holder = new Holder(tarvex);
  }

  @AfterEach
  void letGo() throws InterruptedException {
    if (holder != null) holder.letGo();
  }

  // Runs `wait` on a thread, interrupts it once it waits, and returns what it threw; the
  // thread's interrupt status after it is in `interrupted`.
  private static Throwable interruptWhile(ThrowingRunnable wait, boolean[] interrupted)
    throws InterruptedException {
    AtomicReference<Throwable> thrown = new AtomicReference<>();
    Thread waiter = new Thread(() -> {
      try {
        wait.run();
      } catch (Throwable t) {
        thrown.set(t);
      }
      interrupted[0] = Thread.currentThread().isInterrupted();
    });
    waiter.start();
    while (waiter.getState() != Thread.State.WAITING && waiter.isAlive()) Thread.onSpinWait();
    waiter.interrupt();
    waiter.join(30_000);
    assertFalse(waiter.isAlive(), "an interrupted waiter did not give up");
    return thrown.get();
  }

  interface ThrowingRunnable {
    void run() throws Exception;
  }

  @Test
  void anInterruptedWaiterGivesUpBeforeTheLibraryAndTheContextWorksOn() throws Exception {
    FinishingOutputStream<byte[]> hashing = tarvex.hashing();
    holdTheContext();
    boolean[] interrupted = { false };
    Throwable e = interruptWhile(() -> tarvex.hash(DATA), interrupted);
    assertInstanceOf(CancellationException.class, e);
    assertInstanceOf(InterruptedException.class, e.getCause());
    assertTrue(interrupted[0], "the interrupt status is kept");

    e = interruptWhile(() -> hashing.write(DATA), interrupted);
    assertInstanceOf(InterruptedIOException.class, e, "java.io's form");
    assertTrue(interrupted[0]);
    assertEquals(0, count("HashMem") + count("StrHashUpdateMem"), "neither reached the library");

    holder.letGo();
    hashing.write(DATA);
    assertArrayEquals(
      tarvex.hash(DATA),
      hashing.finish(),
      "the stream is as it was: nothing half-written"
    );
  }

  @Test
  void cancelledTasksQueuedOnASharedContextEnd() throws Exception {
    holdTheContext();
    ExecutorService pool = Executors.newFixedThreadPool(4);
    List<Future<byte[]>> queued = new ArrayList<>();
    for (int i = 0; i < 8; i++) queued.add(pool.submit(() -> tarvex.hash(DATA)));
    queued.get(0).cancel(true);
    pool.shutdownNow();
    assertTrue(
      pool.awaitTermination(30, TimeUnit.SECONDS),
      "tasks waiting for the context did not end"
    );
    assertEquals(0, count("HashMem"));
  }

  @Test
  void aPoolLendsEachContextToOneThreadAtATimeAndEndsThemAll() throws Exception {
    byte[] expected = tarvex.hash(DATA);
    StandIn.reset();
    Set<Tarvex> busy = ConcurrentHashMap.newKeySet();
    Set<Tarvex> used = ConcurrentHashMap.newKeySet();
    ExecutorService threads = Executors.newFixedThreadPool(8);
    try (TarvexPool pool = new TarvexPool(3)) {
      List<Future<?>> tasks = new ArrayList<>();
      for (int t = 0; t < 8; t++) {
        tasks.add(
          threads.submit(() -> {
            for (int i = 0; i < 100; i++) {
              byte[] digest = pool.call(x -> {
                assertTrue(busy.add(x), "a context lent twice at once");
                used.add(x);
                Thread.yield();
                byte[] d = x.hash(DATA);
                busy.remove(x);
                return d;
              });
              assertArrayEquals(expected, digest);
            }
            return null;
          })
        );
      }
      for (Future<?> t : tasks) t.get(60, TimeUnit.SECONDS);
      assertTrue(used.size() <= 3, used.size() + " contexts");
      assertEquals(used.size(), count("InitMinimal"));
      assertTrue(
        pool.toString().matches("TarvexPool\\[size 3, [1-3] open, [1-3] idle, 0 waiting]"),
        pool.toString()
      );
    } finally {
      threads.shutdown();
    }
    assertEquals(used.size(), count("Uninitialize"), "close() ended every context");
    used.forEach(x -> assertFalse(x.isOpen()));
  }

  @Test
  void aContextGoesBackWithoutItsBorrowersStreamsAndAFaultedOneIsReplaced() throws Exception {
    StandIn.reset();
    try (TarvexPool pool = new TarvexPool(1)) {
      try (TarvexPool.Lease lease = pool.borrow()) {
        lease.tarvex().hashing().write(DATA); // left open
        assertEquals(handlesBefore + 1, StandIn.openHandles());
      }
      assertEquals(handlesBefore, StandIn.openHandles(), "the stream was ended on return");
      assertEquals(1, count("StrHashFinalMem"));

      StandIn.faultNext("HashMem", "SEGV");
      assertTrue(assertThrows(TarvexException.class, () -> pool.call(x -> x.hash(DATA))).isFault());
      assertEquals(1, count("Uninitialize"), "the faulted context was ended at once");
      pool.run(x -> assertArrayEquals(tarvex.hash(DATA), x.hash(DATA)));
      pool.run(Tarvex::close); // a borrower that closes its context: the pool opens another
      pool.run(Tarvex::updateCrls);
      assertEquals(3, count("InitMinimal"));
    }
    assertEquals(3, count("Uninitialize"));
  }

  @Test
  void waitersForAPoolAreInterruptedOrToldItClosed() throws Exception {
    TarvexPool pool = new TarvexPool(1);
    TarvexPool.Lease lease = pool.borrow();
    boolean[] interrupted = { false };
    assertInstanceOf(InterruptedException.class, interruptWhile(pool::borrow, interrupted));
    assertFalse(interrupted[0], "InterruptedException carries the interrupt itself");
    Throwable e = interruptWhile(() -> pool.call(x -> x.hash(DATA)), interrupted);
    assertInstanceOf(CancellationException.class, e);
    assertTrue(interrupted[0]);

    AtomicReference<Throwable> waiter = new AtomicReference<>();
    Thread waiting = new Thread(() -> {
      try {
        pool.run(x -> x.hash(DATA));
      } catch (Throwable t) {
        waiter.set(t);
      }
    });
    waiting.start();
    while (!pool.toString().contains("1 waiting")) Thread.onSpinWait();
    pool.close();
    waiting.join();
    assertInstanceOf(IllegalStateException.class, waiter.get(), "a waiter is told the pool closed");
    assertThrows(
      IllegalStateException.class,
      () -> lease.tarvex().hash(DATA),
      "a lent context is ended too"
    );
    lease.close();
    assertThrows(IllegalStateException.class, pool::borrow);
    assertEquals("TarvexPool[size 1, closed]", pool.toString());
    assertEquals(1, count("Uninitialize"));
    assertEquals(0, count("HashMem"));
  }

  // Virtual threads (JDK 21 and later), made by reflection: the tests compile for JDK 17.
  @Test
  void virtualThreadsShareAPool() throws Exception {
    assumeTrue(Runtime.version().feature() >= 21, "virtual threads need JDK 21");
    byte[] expected = tarvex.hash(DATA);
    StandIn.reset();
    Set<Tarvex> busy = ConcurrentHashMap.newKeySet();
    ExecutorService virtual = (ExecutorService) Executors.class
      .getMethod("newVirtualThreadPerTaskExecutor")
      .invoke(null);
    try (TarvexPool pool = new TarvexPool(2)) {
      List<Future<byte[]>> tasks = new ArrayList<>();
      for (int i = 0; i < 2000; i++) {
        tasks.add(
          virtual.submit(() ->
            pool.call(x -> {
              assertTrue(busy.add(x), "a context lent twice at once");
              try {
                return x.hash(DATA);
              } finally {
                busy.remove(x);
              }
            })
          )
        );
      }
      for (Future<byte[]> t : tasks) assertArrayEquals(expected, t.get(60, TimeUnit.SECONDS));
      assertTrue(count("InitMinimal") <= 2, "at most the pool's size of contexts");
    } finally {
      virtual.shutdown();
    }
    assertEquals(count("InitMinimal"), count("Uninitialize"));
    assertEquals(2000, count("HashMem"));
  }
}
