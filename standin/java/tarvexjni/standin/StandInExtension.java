package tarvexjni.standin;

import java.lang.reflect.AnnotatedElement;
import java.util.ArrayList;
import java.util.List;
import java.util.Optional;
import org.junit.jupiter.api.extension.AfterEachCallback;
import org.junit.jupiter.api.extension.BeforeAllCallback;
import org.junit.jupiter.api.extension.BeforeEachCallback;
import org.junit.jupiter.api.extension.ExtensionContext;
import org.junit.platform.commons.support.AnnotationSupport;

/**
 * The JUnit 5 extension of the test kit, registered by {@link StandInTest @StandInTest} (or
 * {@code @ExtendWith(StandInExtension.class)}, which takes no lock for the parallel mode):
 * <ul>
 * <li>before the first test of a class, checks that the bridge can be used over the stand-in,
 *   and fails the class with the reason when it cannot ({@link StandIn#checkUsable()});</li>
 * <li>before each test, {@link StandIn#reset()}: every test starts from the default answers
 *   with an empty call log and ledger;</li>
 * <li>after each test (after its {@code @AfterEach} methods, which close what the test opened),
 *   fails it when a block the library handed out during the test was not given back, listing
 *   each with the call that made it ({@link StandIn#assertBalanced()}); and, when the test
 *   passed, when a context, stream or session it opened is still open, naming the call and the
 *   line that opened each ({@link StandIn#assertClosed()}, unless
 *   {@link StandInTest#requireClosed() requireClosed = false}), or when it is
 *   {@link StandInTest#strict() strict} and programmed something no call reached
 *   ({@link StandIn#assertProgrammingUsed()}); then resets again, so that nothing programmed
 *   outlives the test.</li>
 * </ul>
 * What fails a test is reported in one {@link AssertionError}, the other findings attached to it
 * as suppressed exceptions.
 */
public final class StandInExtension implements BeforeAllCallback, BeforeEachCallback, AfterEachCallback {
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
      check(findings, StandIn::assertBalanced);
      if (passed && (settings == null || settings.requireClosed())) {
        check(findings, () -> StandIn.assertClosed(context.getRequiredTestClass()));
      }
      if (passed && (settings == null || settings.strict())) check(findings, StandIn::assertProgrammingUsed);
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
    for (Optional<ExtensionContext> c = Optional.of(context); c.isPresent(); c = c.get().getParent()) {
      Optional<AnnotatedElement> element = c.get().getElement();
      if (element.isEmpty()) continue;
      Optional<StandInTest> found = AnnotationSupport.findAnnotation(element.get(), StandInTest.class);
      if (found.isPresent()) return found.get();
    }
    return null;
  }
}
