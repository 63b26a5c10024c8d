package tarvexjni.standin;

import java.lang.reflect.AnnotatedElement;
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
 *   each with the call that made it ({@link StandIn#assertBalanced()}), or, when the test
 *   passed and is {@link StandInTest#strict() strict}, when it programmed something no call
 *   reached ({@link StandIn#assertProgrammingUsed()}); then resets again, so that nothing
 *   programmed outlives the test.</li>
 * </ul>
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
   * Checks the ledger and, for a strict test that passed, that everything programmed was used;
   * then resets the stand-in.
   *
   * @param context the test's context
   */
  @Override
  public void afterEach(ExtensionContext context) {
    try {
      StandIn.assertBalanced();
      if (context.getExecutionException().isEmpty() && strict(context)) StandIn.assertProgrammingUsed();
    } finally {
      StandIn.reset();
    }
  }

  // The nearest @StandInTest: on the method, its class, the classes that enclose it.
  private static boolean strict(ExtensionContext context) {
    for (Optional<ExtensionContext> c = Optional.of(context); c.isPresent(); c = c.get().getParent()) {
      Optional<AnnotatedElement> element = c.get().getElement();
      if (element.isEmpty()) continue;
      Optional<StandInTest> found = AnnotationSupport.findAnnotation(element.get(), StandInTest.class);
      if (found.isPresent()) return found.get().strict();
    }
    return true;
  }
}
