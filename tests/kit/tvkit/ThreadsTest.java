package tvkit;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static tarvexjni.standin.LibraryFunction.HashMem;

import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.condition.EnabledForJreRange;
import org.junit.jupiter.api.condition.JRE;
import tarvexjni.standin.RecordedCall;
import tarvexjni.standin.StandIn;
import tarvexjni.standin.StandInTest;

// Threads as the log and the programming see them: Java threads, a virtual thread apart from the
// carrier it shares with others.
@StandInTest
class ThreadsTest extends WithLib {

  @Test
  void eachCallNamesTheJavaThreadThatMadeIt() throws Exception {
    Thread worker = new Thread(lib::hash, "ledger-worker");
    worker.start();
    worker.join();
    lib.hash();
    List<RecordedCall> hashes = StandIn.recordedCalls().of(HashMem);
    assertEquals(worker.getId(), hashes.get(0).thread());
    assertEquals("ledger-worker", hashes.get(0).threadName());
    assertTrue(
      hashes
        .get(0)
        .toString()
        .endsWith(" on thread " + worker.getId() + " (ledger-worker): 0"),
      hashes.get(0).toString()
    );
    assertEquals(Thread.currentThread().getId(), hashes.get(1).thread());
    assertEquals(Thread.currentThread().getId(), StandIn.thisThread());
  }

  // Two virtual threads on one carrier: what one programs for itself the other does not get, and
  // the log tells their calls apart.
  @Test
  @EnabledForJreRange(min = JRE.JAVA_21)
  void aVirtualThreadIsAThreadOfItsOwn() throws Exception {
    String out = Child.run(
      List.of("-Djdk.virtualThreadScheduler.parallelism=1"),
      Map.of(),
      VirtualThreads.class
    );
    assertEquals("vt-a got 7, vt-b got 0\nvt-b is its own thread\nvt-a is its own thread\n", out);
  }
}
