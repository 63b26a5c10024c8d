package tarvexjni;

import java.util.Optional;
import tarvexjni.internal.NativeLoader;

/**
 * Whether the native part of tarvexjni is available, why not, and which version is running.
 *
 * <p>The first of these methods to be called, or the first use of {@link Norv1.LocalIface},
 * loads the native bridge, once per process: from the path in the system property
 * {@code tarvexjni.library} when it is set, else from the copy inside {@code tarvexjni.jar} for
 * this platform, else, only when the jar has none for it, from {@code java.library.path}. The
 * bridge must report the version of the jar, or it is refused. The outcome is kept for the life
 * of the process: a load that failed is not tried again, and every later attempt fails with the
 * same first cause.
 *
 * <pre>{@code
 * if (!Native.isAvailable()) {
 *   System.err.println("signing is off: " + Native.unavailabilityCause().orElseThrow().getMessage());
 *   return;
 * }
 * }</pre>
 */
public final class Native {

  private Native() {}

  /**
   * Whether the bridge is loaded, loading it if that was not tried yet. Never throws.
   *
   * @return true when the native methods of {@link Norv1.LocalIface} can be called
   */
  public static boolean isAvailable() {
    return NativeLoader.failure() == null;
  }

  /**
   * Why the bridge is not available, loading it if that was not tried yet.
   *
   * @return empty when it is available; otherwise the first failure, whose message says what
   *     failed and what to do, with what each step that failed reported attached as suppressed
   *     exceptions ({@link Throwable#getSuppressed()})
   */
  public static Optional<UnsatisfiedLinkError> unavailabilityCause() {
    return Optional.ofNullable(NativeLoader.failure());
  }

  /**
   * Makes sure that the bridge is loaded, loading it if that was not tried yet.
   *
   * @throws UnsatisfiedLinkError when it is not available, with the message of
   *     {@link #unavailabilityCause()} and that error as its cause
   */
  public static void ensureAvailable() {
    NativeLoader.loadBridge();
  }

  /**
   * The version of {@code tarvexjni.jar}: that of its manifest ({@code Implementation-Version})
   * and of its module ({@code tarvexjni}). Needs no native code.
   *
   * @return the version, for example {@code "0.1.0"}
   */
  public static String version() {
    return NativeLoader.version();
  }

  /**
   * The version that the loaded bridge reports, loading it if that was not tried yet. A bridge
   * is loaded only when this is the version of the jar.
   *
   * @return the bridge's version, equal to {@link #version()}
   * @throws UnsatisfiedLinkError when the bridge is not available, as {@link #ensureAvailable()}
   */
  public static String bridgeVersion() {
    return NativeLoader.bridgeVersion();
  }
}
