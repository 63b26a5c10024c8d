package tarvexjni.standin.internal;

import org.junit.platform.engine.TestExecutionResult;
import org.junit.platform.launcher.TestExecutionListener;
import org.junit.platform.launcher.TestIdentifier;

/**
 * Watches the tests of one JUnit session start and end, in every class, with the kit's extension
 * or without, so that what a test programmed does not outlive it where nothing resets the
 * stand-in (a class that forgot {@code @StandInTest}): when a test starts while none of the
 * session runs, it marks where the programming stands; when the last one running ends, it drops
 * what was programmed since. Programming made outside any test ({@code @BeforeAll}, before a
 * test runs a launcher of its own) stays. For the kit's own use.
 */
public final class TestBoundaries implements TestExecutionListener {

  private int running;
  private long mark;

  /** The listener; the session listener makes one per session. */
  public TestBoundaries() {}

  /**
   * A test starts.
   *
   * @param test what starts
   */
  @Override
  public synchronized void executionStarted(TestIdentifier test) {
    if (test.isTest() && running++ == 0) mark = Boundaries.mark();
  }

  /**
   * A test ended.
   *
   * @param test what ended
   * @param result how
   */
  @Override
  public synchronized void executionFinished(TestIdentifier test, TestExecutionResult result) {
    if (test.isTest() && --running == 0) Boundaries.dropSince(mark);
  }
}
