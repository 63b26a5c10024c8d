package tarvexjni.standin;

import java.util.AbstractList;
import java.util.Arrays;
import java.util.List;
import java.util.RandomAccess;
import java.util.Set;
import java.util.function.Predicate;
import java.util.stream.Collectors;

/**
 * Recorded calls, in the order they were made: an immutable list of {@link RecordedCall} that
 * narrows down ({@link #of(LibraryFunction...)}, {@link #onThisThread()}) and asserts
 * ({@link #single()}, {@link #verify(LibraryFunction, Times)}) with messages that list the calls
 * there were.
 *
 * <pre>{@code
 * RecordedCall stamp = StandIn.recordedCalls().of(TspBlkUrlStampCmsMem).single();
 * assertEquals("http://tsa.example", stamp.texts().get(0));
 * StandIn.recordedCalls().onThisThread().verify(VerifyMem, times(2));
 * }</pre>
 */
public final class Calls extends AbstractList<RecordedCall> implements RandomAccess {

  private static final int LISTED = 40;

  private final List<RecordedCall> calls;
  private final String selection; // what these calls are, for messages: "the memory functions left out"
  private final long dropped; // the calls since the reset that the log no longer keeps

  Calls(List<RecordedCall> calls, String selection, long dropped) {
    this.calls = List.copyOf(calls);
    this.selection = selection;
    this.dropped = dropped;
  }

  /**
   * The call at this position.
   *
   * @param index its position, from 0
   * @return the call
   */
  @Override
  public RecordedCall get(int index) {
    return calls.get(index);
  }

  /**
   * How many calls there are.
   *
   * @return the number
   */
  @Override
  public int size() {
    return calls.size();
  }

  /**
   * The calls of these functions.
   *
   * @param functions the functions
   * @return those calls, in order
   */
  public Calls of(LibraryFunction... functions) {
    Set<LibraryFunction> wanted = Set.of(functions);
    return filter(
      c -> wanted.contains(c.function()),
      "of " + wanted.stream().map(Enum::name).sorted().collect(Collectors.joining(", "))
    );
  }

  /**
   * The calls of the functions named.
   *
   * @param functions the functions' names, e.g. {@code "VerifyMem"}
   * @return those calls, in order
   * @throws IllegalArgumentException for an unknown function
   */
  public Calls of(String... functions) {
    return of(
      Arrays.stream(functions)
        .map(LibraryFunction::of)
        .toArray(LibraryFunction[]::new)
    );
  }

  /**
   * The calls made on the calling thread.
   *
   * @return those calls, in order
   */
  public Calls onThisThread() {
    long thread = StandIn.thisThread();
    return filter(c -> c.thread() == thread, "on " + StandIn.threadName(thread));
  }

  /**
   * The functions called, in order.
   *
   * @return one function per call
   */
  public List<LibraryFunction> functions() {
    return calls.stream().map(RecordedCall::function).toList();
  }

  /**
   * The one call there is.
   *
   * @return it
   * @throws AssertionError when there is none or more than one, listing them
   */
  public RecordedCall single() {
    if (calls.size() == 1) return calls.get(0);
    String where = selection.isEmpty() ? "" : " (" + selection + ")";
    if (calls.isEmpty()) throw new AssertionError(
      "wanted exactly one call" + where + ", but there was none"
    );
    throw new AssertionError(
      "wanted exactly one call" +
        where +
        ", but there were " +
        calls.size() +
        ":" +
        listing(calls, null)
    );
  }

  /**
   * Asserts how often {@code function} was called among these calls.
   *
   * @param function the function
   * @param times how often it should have been called
   * @throws AssertionError when it was called otherwise, listing these calls (those of
   *     {@code function} marked)
   */
  public void verify(LibraryFunction function, Times times) {
    verify(
      function,
      times,
      calls
        .stream()
        .filter(c -> c.function() == function)
        .count()
    );
  }

  // The same, where the function was called `n` times (counted also where the log dropped calls).
  void verify(LibraryFunction function, Times times, long n) {
    if (times.matches(n)) return;
    String where = selection.isEmpty() ? "" : " (" + selection + ")";
    throw new AssertionError(
      function +
        " was wanted " +
        times +
        ", but was called " +
        (n == 0 ? "not at all" : Times.count(n)) +
        (calls.isEmpty() && dropped == 0
          ? ": no calls since the last reset" + where + "."
          : ". The calls since the last reset" + where + ":" + listing(calls, function))
    );
  }

  // The call of this number, where these calls hold it.
  RecordedCall number(long number) {
    for (RecordedCall c : calls) {
      if (c.number() == number) return c;
    }
    return null;
  }

  /**
   * The calls, one a line.
   *
   * @return the listing
   */
  @Override
  public String toString() {
    return calls.isEmpty() ? "no calls" : "calls:" + listing(calls, null);
  }

  Calls filter(Predicate<RecordedCall> which, String what) {
    String joined = selection.isEmpty() ? what : selection + ", " + what;
    return new Calls(calls.stream().filter(which).toList(), joined, dropped);
  }

  // One call a line, those of `marked` marked.
  private String listing(List<RecordedCall> list, LibraryFunction marked) {
    StringBuilder text = new StringBuilder();
    if (dropped > 0) {
      text
        .append("\n    (the log keeps the last ")
        .append(StandIn.logLimit())
        .append(" calls: the ")
        .append(dropped == 1 ? "call" : dropped + " calls")
        .append(" before #")
        .append(dropped + 1)
        .append(dropped == 1 ? " is" : " are")
        .append(" not listed)");
    }
    for (int i = 0; i < list.size() && i < LISTED; i++) {
      RecordedCall c = list.get(i);
      text.append(c.function() == marked ? "\n  > " : "\n    ").append(c.describe());
    }
    if (list.size() > LISTED) text
      .append("\n    ... and ")
      .append(list.size() - LISTED)
      .append(" more");
    return text.toString();
  }
}
