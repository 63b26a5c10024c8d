package tarvexjni.standin;

import java.lang.annotation.Documented;
import java.lang.annotation.ElementType;
import java.lang.annotation.Inherited;
import java.lang.annotation.Retention;
import java.lang.annotation.RetentionPolicy;
import java.lang.annotation.Target;
import org.junit.jupiter.api.extension.ExtendWith;
import org.junit.jupiter.api.parallel.ResourceAccessMode;
import org.junit.jupiter.api.parallel.ResourceLock;
import org.junit.jupiter.api.parallel.Resources;

/**
 * A JUnit 5 test class (or method) over the stand-in: registers {@link StandInExtension}, and
 * under JUnit's parallel mode runs alone: it holds JUnit's global lock for writing (as
 * {@code @Isolated} does) and {@link StandIn#RESOURCE_LOCK}. No other test, with the kit or
 * without, calls the library meanwhile, so its counts, its ledger and its programming for any
 * thread are its own; other classes still run in parallel with each other.
 *
 * <pre>{@code
 * @StandInTest
 * class DocumentServiceTest {
 *   @Test void reportsAnUntrustedSigner() { StandIn.on(VerifyMem).fail(UNTRUSTED); ... }
 * }
 * }</pre>
 */
@Documented
@Inherited
@Retention(RetentionPolicy.RUNTIME)
@Target({ ElementType.TYPE, ElementType.METHOD })
@ExtendWith(StandInExtension.class)
@ResourceLock(StandIn.RESOURCE_LOCK)
@ResourceLock(value = Resources.GLOBAL, mode = ResourceAccessMode.READ_WRITE)
public @interface StandInTest {
  /**
   * Whether a test fails when it programs something that no call reaches (see
   * {@link StandIn#assertProgrammingUsed()}); a single programming can be
   * {@link Programming#lenient()} instead.
   *
   * @return true (the default) to fail such a test
   */
  boolean strict() default true;

  /**
   * Whether a test that passed fails when a context, stream or TLS session it opened is still
   * open after its {@code @AfterEach} methods (see {@link StandIn#assertClosed()}): false for a
   * test that leaves them open on purpose, for a later test or for the garbage collector's
   * cleaner to end.
   *
   * @return true (the default) to fail such a test
   */
  boolean requireClosed() default true;
}
