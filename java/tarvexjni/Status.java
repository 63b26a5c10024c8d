package tarvexjni;

import java.util.Map;
import java.util.Optional;

/**
 * The statuses this project knows by name: success, the bridge's own statuses, and the codes of
 * machine faults. Every other status is the library's own failure code, whose meaning only the
 * library's documentation (and {@link Tarvex#errorText}) gives.
 *
 * <p>A <b>machine fault</b> is a crash inside the library's call (an access through a bad
 * address, a division by zero, an illegal instruction, ...) that the bridge caught and turned
 * into a status: the code a Windows build reports for it, the same on every platform. After a
 * fault the library's state is undefined; the API then refuses further work on that context
 * (see {@link Tarvex}). {@link #isFault(int)} tells such a status from the library's own.
 *
 * <pre>{@code
 * int status = LocalIface.QUMENJNI_HashMem(lib, data, hash);
 * if (Status.isFault(status)) {
 *   // the library crashed: end this context and start another
 * }
 * }</pre>
 */
public final class Status {

  private Status() {}

  /** Success. */
  public static final int SUCCESS = 0;

  /** The bridge raised a Java exception; the caller sees the exception, not this status. */
  public static final int PENDING_EXCEPTION = 0xE0700001;
  /** The library had no text for a status ({@code GetErrorText} only, which returns null). */
  public static final int NO_ERROR_TEXT = 0xE0700002;
  /** An intermediate buffer could not be allocated; the library was not called. */
  public static final int NO_BUFFER = 0xE0700006;

  /** Fault: an access through a bad address (SIGSEGV). */
  public static final int ACCESS_VIOLATION = 0xC0000005;
  /** Fault: a page of a mapped file or of memory could not be read (SIGBUS). */
  public static final int IN_PAGE_ERROR = 0xC0000006;
  /** Fault: a misaligned access (SIGBUS with {@code BUS_ADRALN}). */
  public static final int DATATYPE_MISALIGNMENT = 0x80000002;
  /** Fault: an integer division by zero. */
  public static final int INT_DIVIDE_BY_ZERO = 0xC0000094;
  /** Fault: an integer overflow trap. */
  public static final int INT_OVERFLOW = 0xC0000095;
  /** Fault: a floating-point subscript out of range. */
  public static final int ARRAY_BOUNDS_EXCEEDED = 0xC000008C;
  /** Fault: a floating-point denormal operand (Windows only). */
  public static final int FLT_DENORMAL_OPERAND = 0xC000008D;
  /** Fault: a floating-point division by zero. */
  public static final int FLT_DIVIDE_BY_ZERO = 0xC000008E;
  /** Fault: an inexact floating-point result. */
  public static final int FLT_INEXACT_RESULT = 0xC000008F;
  /** Fault: an invalid floating-point operation, or a floating-point exception of no stated kind. */
  public static final int FLT_INVALID_OPERATION = 0xC0000090;
  /** Fault: a floating-point overflow. */
  public static final int FLT_OVERFLOW = 0xC0000091;
  /** Fault: a floating-point stack check (Windows only). */
  public static final int FLT_STACK_CHECK = 0xC0000092;
  /** Fault: a floating-point underflow. */
  public static final int FLT_UNDERFLOW = 0xC0000093;
  /** Fault: a privileged instruction. */
  public static final int PRIV_INSTRUCTION = 0xC0000096;
  /** Fault: an undefined instruction (also a failed pointer authentication on aarch64). */
  public static final int ILLEGAL_INSTRUCTION = 0xC000001D;
  /** Fault: a stack overflow (Windows only; on Linux such a fault is not caught). */
  public static final int STACK_OVERFLOW = 0xC00000FD;
  /** Fault: a guard page was touched (Windows only). */
  public static final int GUARD_PAGE = 0x80000001;
  /** Fault: a breakpoint instruction (Windows only). */
  public static final int BREAKPOINT = 0x80000003;
  /** Fault: a single-step trap (Windows only). */
  public static final int SINGLE_STEP = 0x80000004;
  /** Fault: an invalid handle was used (Windows only). */
  public static final int INVALID_HANDLE = 0xC0000008;
  /** Fault: execution continued after a non-continuable exception (Windows only). */
  public static final int NONCONTINUABLE_EXCEPTION = 0xC0000025;
  /** Fault: an exception handler returned an invalid disposition (Windows only). */
  public static final int INVALID_DISPOSITION = 0xC0000026;

  private static final Map<Integer, String> BRIDGE = Map.of(
    SUCCESS,
    "SUCCESS",
    PENDING_EXCEPTION,
    "PENDING_EXCEPTION",
    NO_ERROR_TEXT,
    "NO_ERROR_TEXT",
    NO_BUFFER,
    "NO_BUFFER"
  );

  private static final Map<Integer, String> FAULTS = Map.ofEntries(
    Map.entry(ACCESS_VIOLATION, "ACCESS_VIOLATION"),
    Map.entry(IN_PAGE_ERROR, "IN_PAGE_ERROR"),
    Map.entry(DATATYPE_MISALIGNMENT, "DATATYPE_MISALIGNMENT"),
    Map.entry(INT_DIVIDE_BY_ZERO, "INT_DIVIDE_BY_ZERO"),
    Map.entry(INT_OVERFLOW, "INT_OVERFLOW"),
    Map.entry(ARRAY_BOUNDS_EXCEEDED, "ARRAY_BOUNDS_EXCEEDED"),
    Map.entry(FLT_DENORMAL_OPERAND, "FLT_DENORMAL_OPERAND"),
    Map.entry(FLT_DIVIDE_BY_ZERO, "FLT_DIVIDE_BY_ZERO"),
    Map.entry(FLT_INEXACT_RESULT, "FLT_INEXACT_RESULT"),
    Map.entry(FLT_INVALID_OPERATION, "FLT_INVALID_OPERATION"),
    Map.entry(FLT_OVERFLOW, "FLT_OVERFLOW"),
    Map.entry(FLT_STACK_CHECK, "FLT_STACK_CHECK"),
    Map.entry(FLT_UNDERFLOW, "FLT_UNDERFLOW"),
    Map.entry(PRIV_INSTRUCTION, "PRIV_INSTRUCTION"),
    Map.entry(ILLEGAL_INSTRUCTION, "ILLEGAL_INSTRUCTION"),
    Map.entry(STACK_OVERFLOW, "STACK_OVERFLOW"),
    Map.entry(GUARD_PAGE, "GUARD_PAGE"),
    Map.entry(BREAKPOINT, "BREAKPOINT"),
    Map.entry(SINGLE_STEP, "SINGLE_STEP"),
    Map.entry(INVALID_HANDLE, "INVALID_HANDLE"),
    Map.entry(NONCONTINUABLE_EXCEPTION, "NONCONTINUABLE_EXCEPTION"),
    Map.entry(INVALID_DISPOSITION, "INVALID_DISPOSITION")
  );

  /**
   * Whether a status is the code of a machine fault: one of the fault constants of this class,
   * which are the exception codes a Windows build reports (and the bridge reports for the same
   * faults on Linux). Any other non-zero status, the bridge's own excepted, is the library's.
   *
   * <p>{@code LocalIface.QUMENJNI_EncodeMem} and {@code QUMENJNI_DecodeMem} report a fault as -1
   * instead; -1 is not taken for a fault here, since it means one only for those two methods.
   *
   * @param status a status returned by the bridge
   * @return true for a fault code
   */
  public static boolean isFault(int status) {
    return FAULTS.containsKey(status);
  }

  /**
   * Whether a status is one of the bridge's own: {@link #PENDING_EXCEPTION},
   * {@link #NO_ERROR_TEXT}, {@link #NO_BUFFER}.
   *
   * @param status a status returned by the bridge
   * @return true for a status of the bridge's own
   */
  public static boolean isBridge(int status) {
    return status != SUCCESS && BRIDGE.containsKey(status);
  }

  /**
   * The name of a status this project knows: {@code "SUCCESS"}, a bridge status such as
   * {@code "PENDING_EXCEPTION"}, or a fault such as {@code "ACCESS_VIOLATION"} (the names of the
   * constants of this class).
   *
   * @param status any status
   * @return its name; empty for the library's own statuses, which only the library names
   */
  public static Optional<String> name(int status) {
    String name = BRIDGE.get(status);
    return Optional.ofNullable(name != null ? name : FAULTS.get(status));
  }

  /**
   * A status as text: in hexadecimal, followed by its name where the project knows one, for
   * example {@code "0xC0000005 ACCESS_VIOLATION"} or {@code "0x7E570003"}.
   *
   * @param status any status
   * @return the text
   */
  public static String toString(int status) {
    String hex = String.format("0x%08X", status);
    return name(status)
      .map(n -> hex + " " + n)
      .orElse(hex);
  }
}
