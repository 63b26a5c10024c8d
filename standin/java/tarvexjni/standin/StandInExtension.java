package tarvexjni.standin;

import java.lang.reflect.AnnotatedElement;
import java.lang.reflect.Method;
import java.util.ArrayList;
import java.util.List;
import java.util.Optional;
import java.util.concurrent.Executors;
import java.util.concurrent.ScheduledExecutorService;
import java.util.concurrent.ScheduledFuture;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.extension.AfterEachCallback;
import org.junit.jupiter.api.extension.BeforeAllCallback;
import org.junit.jupiter.api.extension.BeforeEachCallback;
import org.junit.jupiter.api.extension.ExtensionContext;
import org.junit.jupiter.api.extension.InvocationInterceptor;
import org.junit.jupiter.api.extension.ReflectiveInvocationContext;
import org.junit.jupiter.api.extension.TestExecutionExceptionHandler;
import org.junit.platform.commons.support.AnnotationSupport;

/**
 * The JUnit 5 extension of the test kit, registered by {@link StandInTest @StandInTest} (or
 * {@code @ExtendWith(StandInExtension.class)}, which takes no lock for the parallel mode):
 * <ul>
 * <li>before the first test of a class, checks that the bridge can be used over the stand-in,
 *   and fails the class with the reason when it cannot ({@link StandIn#checkUsable()});</li>
 * <li>before each test, {@link StandIn#reset()}: every test starts from the default answers
 *   with an empty call log and ledger;</li>
 * <li>when a test fails or runs out of its time ({@code @Timeout}, on its own thread or on one
 *   that JUnit interrupts), {@link StandIn#releaseWaits()} before its {@code @AfterEach} methods
 *   run: a call that waits out a programmed delay goes on at once, and lets go of what it holds
 *   (the lock of a {@code Tarvex} that {@code close()} would wait for), so that the test ends
 *   within about its time;</li>
 * <li>after each test (after its {@code @AfterEach} methods, which close what the test opened),
 *   fails it when a block the library handed out during the test was not given back, listing
 *   each with the call that made it ({@link StandIn#assertBalanced()}); and, when the test
 *   passed, when a context, stream or session it opened is still open, naming the call and the
 *   line that opened each ({@link StandIn#assertClosed()}, unless
 *   {@link StandInTest#requireClosed() requireClosed = false}), or when it is
 *   {@link StandInTest#strict() strict} and programmed something no call reached
 *   ({@link StandIn#assertProgrammingUsed()}), or started a programming and never finished it
 *   (see {@link Programming}); then resets again, so that nothing programmed outlives the
 *   test.</li>
 * </ul>
 * What fails a test is reported in one {@link AssertionError}, the other findings attached to it
 * as suppressed exceptions.
 */
public final class StandInExtension
  implements
    BeforeAllCallback,
    BeforeEachCallback,
    AfterEachCallback,
    InvocationInterceptor,
    TestExecutionExceptionHandler
{

  /** The extension; JUnit makes it. */
  public StandInExtension() {}

  /**
   * Checks that the bridge can be used over the stand-in.
   *
   * @param context the test class's context
   */
  @Override
  public void beforeAll(ExtensionContext context) {
    StandIn.checkUsable();
  }

  /**
   * Resets the stand-in.
   *
   * @param context the test's context
   */
  @Override
  public void beforeEach(ExtensionContext context) {
    StandIn.reset();
  }

  /**
   * Runs the test method; when it fails, ends the programmed waits first.
   *
   * @param invocation the test method's invocation
   * @param invocationContext its method and arguments
   * @param extensionContext the test's context
   * @throws Throwable what the test threw
   */
  @Override
  public void interceptTestMethod(
    Invocation<Void> invocation,
    ReflectiveInvocationContext<Method> invocationContext,
    ExtensionContext extensionContext
  ) throws Throwable {
    watched(invocation);
  }

  /**
   * As {@link #interceptTestMethod}, for a repeated or parameterized test's invocation.
   *
   * @param invocation the test method's invocation
   * @param invocationContext its method and arguments
   * @param extensionContext the test's context
   * @throws Throwable what the test threw
   */
  @Override
  public void interceptTestTemplateMethod(
    Invocation<Void> invocation,
    ReflectiveInvocationContext<Method> invocationContext,
    ExtensionContext extensionContext
  ) throws Throwable {
    watched(invocation);
  }

  /**
   * Releases the programmed waits of a test that failed or ran out of its time, then lets JUnit
   * report it.
   *
   * @param context the test's context
   * @param throwable what failed it
   * @throws Throwable {@code throwable}
   */
  @Override
  public void handleTestExecutionException(ExtensionContext context, Throwable throwable)
    throws Throwable {
    StandIn.releaseWaits();
    throw throwable;
  }

  // JUnit ends a test that runs out of its time on its own thread by interrupting that thread,
  // which a programmed wait inside the library does not notice: while the test runs, a watch
  // ends the waits in progress whenever its thread is interrupted.
  private static void watched(Invocation<Void> invocation) throws Throwable {
    Thread test = Thread.currentThread();
    ScheduledFuture<?> watch = Watch.SERVICE.scheduleWithFixedDelay(
      () -> {
        if (test.isInterrupted()) StandIn.endWaits();
      },
      Watch.EVERY_MS,
      Watch.EVERY_MS,
      TimeUnit.MILLISECONDS
    );
    try {
      invocation.proceed();
    } catch (Throwable t) {
      StandIn.releaseWaits();
      throw t;
    } finally {
      watch.cancel(false);
    }
  }

  // One daemon thread for the watches, made when a test first needs it.
  private static final class Watch {

    static final long EVERY_MS = 20;
    static final ScheduledExecutorService SERVICE = Executors.newSingleThreadScheduledExecutor(
      r -> {
        Thread t = new Thread(r, "tarvexjni-standin-watch");
        t.setDaemon(true);
        return t;
      }
    );
  }

  /**
   * Checks the ledger and, for a test that passed, what it left open and what it programmed;
   * then resets the stand-in.
   *
   * @param context the test's context
   */
  @Override
  public void afterEach(ExtensionContext context) {
    StandInTest settings = settings(context);
    boolean passed = context.getExecutionException().isEmpty();
    List<AssertionError> findings = new ArrayList<>();
    try {
      if (passed) check(findings, StandIn::assertFinished);
      check(findings, StandIn::assertBalanced);
      if (passed && (settings == null || settings.requireClosed())) {
        check(findings, () -> StandIn.assertClosed(context.getRequiredTestClass()));
      }
      if (passed && (settings == null || settings.strict())) check(
        findings,
        StandIn::assertProgrammingUsed
      );
    } finally {
      StandIn.reset();
    }
    if (findings.isEmpty()) return;
    AssertionError first = findings.get(0);
    findings.subList(1, findings.size()).forEach(first::addSuppressed);
    throw first;
  }

  private static void check(List<AssertionError> findings, Runnable assertion) {
    try {
      assertion.run();
    } catch (AssertionError e) {
      findings.add(e);
    }
  }

  // The nearest @StandInTest: on the method, its class, the classes that enclose it.
  private static StandInTest settings(ExtensionContext context) {
    for (
      Optional<ExtensionContext> c = Optional.of(context);
      c.isPresent();
      c = c.get().getParent()
    ) {
      Optional<AnnotatedElement> element = c.get().getElement();
      if (element.isEmpty()) continue;
      Optional<StandInTest> found = AnnotationSupport.findAnnotation(
        element.get(),
        StandInTest.class
      );
      if (found.isPresent()) return found.get();
    }
    return null;
  }
}
