package tarvexjni;

import java.util.Optional;

/**
 * A call into the library failed: the library returned a failure status, crashed (a machine
 * fault), or the bridge raised a Java exception on the way.
 *
 * <p>It carries the {@link #status()} the call ended with, the status's {@linkplain
 * #statusName() name} where this project knows one (its own statuses and the fault codes, see
 * {@link Status}), whether it was a {@linkplain #isFault() machine fault}, the library's
 * {@linkplain #libraryText() text} for the status (asked of the library once, when the exception
 * is made), and the {@linkplain #operation() operation} that failed. When the bridge raised a
 * Java exception (status {@link Status#PENDING_EXCEPTION}), that exception is the
 * {@linkplain #getCause() cause}: for example a {@code java.io.CharConversionException} for a
 * file name that the encoding of texts cannot carry.
 *
 * <p>The message says what failed and, where the API knows more, on what: a file operation
 * names the paths it was given; a text that cannot cross names the parameter or field, the start
 * of its value, the encoding in force and how to choose another; a failed verification names
 * the signer. For example {@code HashFile failed: /data/report.pdf: status 0x7E570004 (the file
 * could not be read)}.
 *
 * <h2>Why unchecked</h2>
 * The answers a caller is expected to act on are values, not exceptions: a signature that does
 * not verify is a {@link Verification} whose {@link Verification#isValid()} is false, and the end
 * of a store is the end of an iteration. What remains is failure of the library or of the
 * environment (a context the library refuses, a missing file, a crash), which a caller handles
 * where it handles other failures, usually far from the call; a checked exception would be
 * caught and wrapped at every call site, and could not leave a lambda, an {@link
 * java.util.Iterator} or a {@link java.util.stream.Stream}. It is thrown unchanged from the
 * API's streams too, so one {@code catch (TarvexException e)} covers every operation.
 */
public class TarvexException extends RuntimeException {

  private static final long serialVersionUID = 1L;

  /** The operation that failed. */
  private final String operation;
  /** The status it ended with. */
  private final int status;
  /** The library's text for the status; null when it has none. */
  private final String libraryText;

  /**
   * Makes an exception; the API makes them itself, and tests of code that uses the API may make
   * them too.
   *
   * @param operation the library function that failed, named as in {@code QUMEN_<operation>},
   *     for example {@code "VerifyMem"}
   * @param status the status it ended with
   * @param libraryText the library's text for the status, or null
   * @param cause the Java exception the bridge raised, or null
   */
  public TarvexException(String operation, int status, String libraryText, Throwable cause) {
    this(null, operation, status, libraryText, cause);
  }

  // detail: what the API adds to the message, or null.
  TarvexException(
    String detail,
    String operation,
    int status,
    String libraryText,
    Throwable cause
  ) {
    super(message(detail, operation, status, libraryText, cause), cause);
    this.operation = operation;
    this.status = status;
    this.libraryText = libraryText;
  }

  // The same exception, its message saying `detail` about what failed.
  TarvexException withDetail(String detail) {
    return new TarvexException(detail, operation, status, libraryText, getCause());
  }

  private static String message(
    String detail,
    String operation,
    int status,
    String text,
    Throwable cause
  ) {
    StringBuilder m = new StringBuilder().append(operation).append(" failed: ");
    if (detail != null) m.append(detail).append(": ");
    if (Status.isFault(status)) m.append("machine fault ");
    m.append("status ").append(Status.toString(status));
    if (text != null) m.append(" (").append(text).append(')');
    if (cause != null) m.append(": ").append(cause);
    return m.toString();
  }

  /**
   * The library function that failed, named as in {@code QUMEN_<operation>}; {@code
   * "Verification"} for {@link Verification#requireValid()}.
   *
   * @return the name, for example {@code "HashMem"}
   */
  public String operation() {
    return operation;
  }

  /**
   * The status the call ended with.
   *
   * @return the library's failure code, a fault code, or a status of the bridge's own
   */
  public int status() {
    return status;
  }

  /**
   * The status's name, where this project knows one.
   *
   * @return for example {@code "ACCESS_VIOLATION"} or {@code "PENDING_EXCEPTION"}; empty for the
   *     library's own statuses
   * @see Status#name(int)
   */
  public Optional<String> statusName() {
    return Status.name(status);
  }

  /**
   * Whether the library crashed inside the call. The library's state is then undefined: the
   * context that made the call refuses further work and only closes.
   *
   * @return true for a machine fault
   * @see Status#isFault(int)
   */
  public boolean isFault() {
    return Status.isFault(status);
  }

  /**
   * The library's text for the status, asked of the library when this exception was made.
   *
   * @return the text; empty when the library has none (always for faults and for the bridge's
   *     own statuses, which the library does not know)
   */
  public Optional<String> libraryText() {
    return Optional.ofNullable(libraryText);
  }
}
