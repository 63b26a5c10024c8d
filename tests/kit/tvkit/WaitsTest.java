package tvkit;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static tarvexjni.standin.LibraryFunction.HashMem;

import java.time.Duration;
import java.util.List;
import java.util.Map;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.Timeout;
import org.junit.jupiter.api.condition.EnabledIf;
import org.junit.jupiter.api.parallel.ResourceLock;
import tarvexjni.Tarvex;
import tarvexjni.standin.StandIn;
import tarvexjni.standin.StandInTest;

// A programmed delay of a day inside a call that holds a context's lock, in tests that time out
// or fail: their @AfterEach closes the context, which waits for that lock. Each ends within its
// time plus the clean-up because the kit ends the wait first; without it, they would hang, and
// this test's own time-out, on a thread of its own, fails it.
@ResourceLock(StandIn.RESOURCE_LOCK)
class WaitsTest {

  @StandInTest
  @EnabledIf("tvkit.ExtensionTest#running")
  static class Slow {

    Tarvex tarvex;

    @BeforeEach
    void open() {
      tarvex = Tarvex.openMinimal();
    }

    @AfterEach
    void close() {
      tarvex.close();
    }

    @Test
    @Timeout(
      value = 500,
      unit = TimeUnit.MILLISECONDS,
      threadMode = Timeout.ThreadMode.SEPARATE_THREAD
    )
    void outOfTimeOnAThreadOfItsOwn() {
      StandIn.on(HashMem).after(Duration.ofDays(1)).proceed();
      tarvex.hash(Lib.DATA);
    }

    @Test
    @Timeout(value = 500, unit = TimeUnit.MILLISECONDS)
    void outOfTimeOnItsThread() {
      StandIn.on(HashMem).after(Duration.ofDays(1)).proceed();
      tarvex.hash(Lib.DATA);
    }

    @Test
    void failsWhileItsWorkerWaits() throws Exception {
      StandIn.on(HashMem).onAnyThread().after(Duration.ofDays(1)).proceed();
      Thread worker = new Thread(() -> tarvex.hash(Lib.DATA), "slow-worker");
      worker.start();
      while (StandIn.recordedCalls().of(HashMem).isEmpty()) Thread.sleep(5);
      throw new AssertionError("the test's own failure");
    }
  }

  // A JVM that exits while a call waits out a programmed delay.
  static final class ExitsWhileACallWaits {

    public static void main(String[] args) throws Exception {
      StandIn.on(HashMem).onAnyThread().after(Duration.ofDays(1)).proceed();
      Tarvex tarvex = Tarvex.openMinimal();
      Thread waiting = new Thread(() -> tarvex.hash(Lib.DATA));
      waiting.setDaemon(true);
      waiting.start();
      while (StandIn.recordedCalls().of(HashMem).isEmpty()) Thread.sleep(5);
      System.out.println("exiting");
      System.exit(0);
    }
  }

  @Test
  void theJvmExitsWhileACallWaits() throws Exception {
    assertEquals("exiting\n", Child.run(List.of(), Map.of(), ExitsWhileACallWaits.class));
  }

  @Test
  @Timeout(value = 60, threadMode = Timeout.ThreadMode.SEPARATE_THREAD)
  void aTestThatFailsOrTimesOutEndsItsWaitsBeforeItsAfterEach() {
    Map<String, Throwable> outcomes = ExtensionTest.run(Slow.class);
    assertEquals(3, outcomes.size());
    assertTrue(
      outcomes.get("outOfTimeOnAThreadOfItsOwn()").getMessage().contains("timed out after 500"),
      String.valueOf(outcomes.get("outOfTimeOnAThreadOfItsOwn()"))
    );
    assertTrue(
      outcomes.get("outOfTimeOnItsThread()").getMessage().contains("timed out after 500"),
      String.valueOf(outcomes.get("outOfTimeOnItsThread()"))
    );
    assertEquals("the test's own failure", outcomes.get("failsWhileItsWorkerWaits()").getMessage());
  }
}
