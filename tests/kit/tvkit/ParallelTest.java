package tvkit;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static tarvexjni.standin.LibraryFunction.HashMem;
import static tarvexjni.standin.Times.times;

import java.util.Map;
import java.util.concurrent.atomic.AtomicInteger;
import org.junit.jupiter.api.MethodOrderer;
import org.junit.jupiter.api.Order;
import org.junit.jupiter.api.RepeatedTest;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.TestMethodOrder;
import org.junit.jupiter.api.condition.EnabledIf;
import org.junit.jupiter.api.parallel.ResourceLock;
import tarvexjni.standin.StandIn;
import tarvexjni.standin.StandInTest;

// Test classes with the kit and without it, run by JUnit in parallel; and a class that forgot
// the kit's annotation.
@ResourceLock(StandIn.RESOURCE_LOCK)
class ParallelTest {

  static final Map<String, String> PARALLEL = Map.of(
    "junit.jupiter.execution.parallel.enabled",
    "true",
    "junit.jupiter.execution.parallel.mode.default",
    "concurrent",
    "junit.jupiter.execution.parallel.mode.classes.default",
    "concurrent"
  );

  static final AtomicInteger KIT_TESTS_DONE = new AtomicInteger();

  // A team's class that uses the bridge without the kit, busily: for 300 ms, or until the kit's
  // tests are all done (where they could run beside it).
  @EnabledIf("tvkit.ExtensionTest#running")
  static class Plain {

    @RepeatedTest(2)
    void hashesAlot() {
      long until = System.nanoTime() + 300_000_000L;
      try (Lib lib = new Lib()) {
        while (System.nanoTime() < until && KIT_TESTS_DONE.get() < 12) lib.hash();
      }
    }
  }

  @StandInTest
  @EnabledIf("tvkit.ExtensionTest#running")
  static class Counts {

    @RepeatedTest(6)
    void countsTheCallsOfItsTest() {
      try (Lib lib = new Lib()) {
        lib.hash();
        lib.hash();
      }
      StandIn.verify(HashMem, times(2));
      KIT_TESTS_DONE.incrementAndGet();
    }
  }

  @StandInTest
  @EnabledIf("tvkit.ExtensionTest#running")
  static class TakesItsFailures {

    @RepeatedTest(6)
    void getsTheFailureItProgrammedForAnyThread() {
      StandIn.on(HashMem).onAnyThread().onCall(1).fail(7);
      try (Lib lib = new Lib()) {
        assertEquals(7, lib.hash());
      }
      KIT_TESTS_DONE.incrementAndGet();
    }
  }

  @Test
  void kitTestsRunAloneBesidePlainClasses() {
    Map<String, Throwable> outcomes = ExtensionTest.run(
      PARALLEL,
      Plain.class,
      Counts.class,
      TakesItsFailures.class
    );
    assertEquals(14, outcomes.size(), outcomes.keySet().toString());
    outcomes.forEach((test, failure) -> assertNull(failure, test));
  }

  // No @StandInTest: nothing resets the stand-in between its tests.
  @EnabledIf("tvkit.ExtensionTest#running")
  @TestMethodOrder(MethodOrderer.OrderAnnotation.class)
  static class Forgotten {

    @Test
    @Order(1)
    void programsAFailure() {
      StandIn.on(HashMem).onAnyThread().fail(7);
      try (Lib lib = new Lib()) {
        assertEquals(7, lib.hash());
      }
    }

    @Test
    @Order(2)
    void findsOnlyWhatWasProgrammedBeforeTheTests() {
      try (Lib lib = new Lib()) {
        assertEquals(9, lib.hash());
      }
    }
  }

  @Test
  void whatATestWithoutTheKitProgrammedEndsWithIt() {
    StandIn.on(HashMem).onAnyThread().lenient().fail(9); // before its tests: stays for them
    Map<String, Throwable> outcomes = ExtensionTest.run(Forgotten.class);
    outcomes.forEach((test, failure) -> assertNull(failure, test));
    try (Lib lib = new Lib()) {
      assertEquals(9, lib.hash());
    }
    StandIn.reset();
  }
}
