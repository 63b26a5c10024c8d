package tarvexjni.standin.internal;

import org.junit.platform.launcher.LauncherSession;
import org.junit.platform.launcher.LauncherSessionListener;

/**
 * Puts the stand-in in place when JUnit starts, before any test class is loaded, so that the
 * bridge binds to it whichever test first uses {@code Norv1.LocalIface}. Registered through
 * {@code META-INF/services} in the kit's jar, which JUnit reads on the class path. It leaves a
 * JVM alone where another library is named ({@code tarvex.library} or {@code TARVEX_LIBRARY}),
 * for tests of the vendor's library; and it never fails JUnit: what went wrong is reported by
 * the tests that use the kit. Then it has the kit watch every test's start and end
 * ({@link TestBoundaries}).
 */
public final class SessionListener implements LauncherSessionListener {

  /** The listener; JUnit makes it. */
  public SessionListener() {}

  /**
   * Initialises {@code tarvexjni.standin.StandIn}, which loads the stand-in.
   *
   * @param session the session that starts
   */
  @Override
  public void launcherSessionOpened(LauncherSession session) {
    synchronized (SessionListener.class) {
      if (!placed) {
        // The kit names its own copy in tarvex.library once placed: only the first session asks.
        if (
          System.getProperty("tarvex.library") != null || System.getenv("TARVEX_LIBRARY") != null
        ) return;
        try {
          Class.forName("tarvexjni.standin.StandIn", true, SessionListener.class.getClassLoader());
        } catch (ClassNotFoundException | LinkageError e) {
          return; // StandIn keeps the reason, and its methods say it.
        }
        placed = true;
      }
    }
    session.getLauncher().registerTestExecutionListeners(new TestBoundaries());
  }

  private static boolean placed; // the stand-in was put in place by an earlier session
}
