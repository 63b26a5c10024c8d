package tvkit;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.platform.engine.discovery.DiscoverySelectors.selectClass;
import static org.junit.platform.launcher.core.LauncherDiscoveryRequestBuilder.request;
import static tarvexjni.standin.LibraryFunction.FreeMem;
import static tarvexjni.standin.LibraryFunction.HashMem;
import static tarvexjni.standin.LibraryFunction.VerifyMem;

import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;
import org.junit.jupiter.api.AfterAll;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.MethodOrderer;
import org.junit.jupiter.api.Order;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.TestMethodOrder;
import org.junit.jupiter.api.condition.EnabledIf;
import org.junit.jupiter.api.parallel.ResourceLock;
import org.junit.platform.engine.TestExecutionResult;
import org.junit.platform.launcher.TestExecutionListener;
import org.junit.platform.launcher.TestIdentifier;
import org.junit.platform.launcher.core.LauncherFactory;
import tarvexjni.FinishingOutputStream;
import tarvexjni.Tarvex;
import tarvexjni.standin.StandIn;
import tarvexjni.standin.StandInTest;

// The extension seen from outside: test classes that use it, run through JUnit's launcher, and
// how each of their tests ends.
@ResourceLock(StandIn.RESOURCE_LOCK)
class ExtensionTest {

  static final int STATUS = 0x80090016;
  static volatile boolean running;

  // The classes below run only when a test here runs them.
  static boolean running() {
    return running;
  }

  // Each test of the class, by name, with what failed it (null for a test that passed).
  static Map<String, Throwable> run(Class<?> tests) {
    return run(Map.of(), tests);
  }

  // The same for several classes, with JUnit's configuration parameters; each test named
  // "<class> <test>" when there are several classes.
  static Map<String, Throwable> run(Map<String, String> configuration, Class<?>... tests) {
    Map<String, Throwable> outcomes = new TreeMap<>();
    running = true;
    try {
      LauncherFactory.create().execute(
        request()
          .selectors(
            Arrays.stream(tests)
              .map(c -> selectClass(c))
              .toList()
          )
          .configurationParameters(configuration)
          .build(),
        new TestExecutionListener() {
          @Override
          public synchronized void executionFinished(
            TestIdentifier test,
            TestExecutionResult result
          ) {
            if (!test.isTest()) return;
            String name = test.getDisplayName();
            // "[class:tvkit.ParallelTest$Plain]/[test-template-invocation:#1]": "Plain #1"
            if (tests.length > 1) {
              name = test
                .getUniqueId()
                .replaceAll(".*\\$([^\\]]*)\\].*\\[.*?:([^\\]]*)\\]$", "$1 $2");
            }
            outcomes.put(name, result.getThrowable().orElse(null));
          }
        }
      );
    } finally {
      running = false;
    }
    return outcomes;
  }

  static void assertFailed(Throwable failure, String... said) {
    assertTrue(failure instanceof AssertionError, String.valueOf(failure));
    for (String s : said) assertTrue(failure.getMessage().contains(s), failure.getMessage());
  }

  @StandInTest
  @EnabledIf("tvkit.ExtensionTest#running")
  static class Ledger extends WithLib {

    @Test
    void leaks() {
      StandIn.on(FreeMem).doNothing();
      lib.hash();
    }

    @Test
    void givesEverythingBack() {
      lib.hash();
    }
  }

  @Test
  void aTestThatLeavesABlockOutFails() {
    Map<String, Throwable> outcomes = run(Ledger.class);
    assertNull(outcomes.get("givesEverythingBack()"));
    assertFailed(
      outcomes.get("leaks()"),
      "never released: 32 bytes from #2 HashMem(blocks [3 bytes, 0 bytes])"
    );
  }

  // What tests leave open; closed after them by the test that runs them.
  static final List<AutoCloseable> LEFT = new ArrayList<>();
  static int line;

  static int line() {
    return new Throwable().getStackTrace()[1].getLineNumber();
  }

  @StandInTest
  @EnabledIf("tvkit.ExtensionTest#running")
  static class Handles {

    static Tarvex shared;

    @BeforeAll
    static void openForTheClass() {
      shared = Tarvex.openMinimal();
    }

    @AfterAll
    static void closeForTheClass() {
      shared.close();
    }

    @Test
    void leavesAContextAndAStreamOpen() {
      line = line() + 1; // the next line, which opens the context
      Tarvex tarvex = Tarvex.openMinimal();
      LEFT.add(tarvex);
      tarvex.hashing();
      shared.hash(Lib.DATA);
    }

    @Test
    void leavesOneOpenThroughOtherCode() {
      LEFT.add(new Lib());
    }

    @Test
    void closesWhatItOpens() throws Exception {
      try (
        Tarvex tarvex = Tarvex.openMinimal();
        FinishingOutputStream<byte[]> hashing = tarvex.hashing()
      ) {
        hashing.write(Lib.DATA);
      }
    }
  }

  @StandInTest(requireClosed = false)
  @EnabledIf("tvkit.ExtensionTest#running")
  static class LeavesOnPurpose {

    @Test
    void leavesAContextOpen() {
      LEFT.add(Tarvex.openMinimal());
    }
  }

  @Test
  void aTestThatLeavesAContextOrStreamOpenFails() throws Exception {
    try {
      Map<String, Throwable> outcomes = run(Handles.class);
      assertFailed(
        outcomes.get("leavesAContextAndAStreamOpen()"),
        "left open since the last reset: 1 context," +
          " 1 stream or session (end each; a test that means to leave them open says" +
          " @StandInTest(requireClosed = false)):\n  context 0x7e57c0de",
        ", opened by #1 InitMinimal() on thread " +
          Thread.currentThread().getId() +
          " (main): 0\n      at" +
          " tvkit.ExtensionTest$Handles.leavesAContextAndAStreamOpen(ExtensionTest.java:" +
          line +
          ")\n" +
          "  StrHash stream 0x5717ea",
        ", opened by #2 StrHashInitMem(texts [null], handles [0x0]) on thread "
      );
      assertFailed(
        outcomes.get("leavesOneOpenThroughOtherCode()"),
        "at tvkit.Lib.<init>(Lib.java:",
        "), from tvkit.ExtensionTest$Handles.leavesOneOpenThroughOtherCode(ExtensionTest.java:"
      );
      assertNull(outcomes.get("closesWhatItOpens()"));
      assertNull(run(LeavesOnPurpose.class).get("leavesAContextOpen()"));
    } finally {
      for (AutoCloseable c : LEFT) c.close();
      LEFT.clear();
    }
  }

  @StandInTest
  @EnabledIf("tvkit.ExtensionTest#running")
  static class Programmed {

    @Test
    void neverReached() {
      StandIn.on(VerifyMem).onCall(1).fail(STATUS);
    }

    @Test
    void partlyReached() {
      StandIn.on(HashMem).times(2).fail(STATUS);
      try (Lib lib = new Lib()) {
        lib.hash();
      }
    }

    @Test
    void notNeeded() {
      StandIn.on(VerifyMem).lenient().fail(STATUS);
      StandIn.nextOutput(HashMem, new byte[1]);
      try (Lib lib = new Lib()) {
        lib.hash();
      }
    }

    @Test
    void queuedAndLeft() {
      StandIn.nextOutput(HashMem, new byte[1]);
    }

    @Test
    void leavesOneUnfinished() throws Exception {
      Thread other = new Thread(() -> StandIn.on(VerifyMem).onCall(1), "programmer");
      other.start();
      other.join();
    }

    @Test
    void failsOfItsOwn() {
      StandIn.on(VerifyMem).fail(STATUS);
      throw new AssertionError("its own failure");
    }
  }

  @StandInTest(strict = false)
  @EnabledIf("tvkit.ExtensionTest#running")
  static class Lenient {

    @Test
    void neverReached() {
      StandIn.on(VerifyMem).fail(STATUS);
    }

    @Test
    void leavesOneUnfinished() {
      StandIn.on(VerifyMem).fromCall(2);
    }
  }

  @Test
  void programmingNoCallReachesFailsAStrictTest() {
    Map<String, Throwable> outcomes = run(Programmed.class);
    assertFailed(
      outcomes.get("neverReached()"),
      "programmed but not used",
      "on(VerifyMem).onCall(1).fail(0x80090016) for thread ",
      ": never reached (it counted 0 calls of VerifyMem)"
    );
    assertFailed(
      outcomes.get("partlyReached()"),
      "on(HashMem).times(2).fail(0x80090016)",
      "reached 1 of its 2 calls"
    );
    assertFailed(
      outcomes.get("queuedAndLeft()"),
      "nextOutput(HashMem) for thread",
      "1 output was never handed out"
    );
    assertNull(outcomes.get("notNeeded()"));
    assertFailed(
      outcomes.get("leavesOneUnfinished()"),
      "unfinished programming: StandIn.on(VerifyMem).onCall(1)," +
        " started at tvkit.ExtensionTest$Programmed.lambda$leavesOneUnfinished$",
      " on thread \"programmer\""
    );
    Throwable own = outcomes.get("failsOfItsOwn()");
    assertEquals("its own failure", own.getMessage());
    assertEquals(0, own.getSuppressed().length, "nothing about what it programmed");
    Map<String, Throwable> lenient = run(Lenient.class);
    assertNull(lenient.get("neverReached()"));
    assertFailed(
      lenient.get("leavesOneUnfinished()"),
      "StandIn.on(VerifyMem).fromCall(2), started at" +
        " tvkit.ExtensionTest$Lenient.leavesOneUnfinished(ExtensionTest.java:"
    );
  }

  @StandInTest
  @EnabledIf("tvkit.ExtensionTest#running")
  @TestMethodOrder(MethodOrderer.OrderAnnotation.class)
  static class Sequence {

    @Test
    @Order(1)
    void programsEveryThread() {
      StandIn.on(HashMem).onAnyThread().lenient().fail(STATUS);
      StandIn.recordBytes();
      try (Lib lib = new Lib()) {
        assertEquals(STATUS, lib.hash());
      }
    }

    @Test
    @Order(2)
    void startsAfresh() {
      assertEquals(List.of(), StandIn.calls());
      try (Lib lib = new Lib()) {
        assertEquals(0, lib.hash());
      }
      assertEquals(false, StandIn.recordedCalls().get(1).blocks().get(0).bytesRecorded());
    }
  }

  // Each test starts from the defaults, and nothing a test programs outlives it.
  @Test
  void eachTestStartsAfresh() {
    Map<String, Throwable> outcomes = run(Sequence.class);
    assertEquals(2, outcomes.size());
    outcomes.values().forEach(failure -> assertNull(failure));
    try (Lib lib = new Lib()) {
      assertEquals(0, lib.hash(), "after the class, outside any test");
    }
    StandIn.reset();
  }
}
