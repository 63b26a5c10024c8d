package tarvexjni.standin;

import java.time.Duration;
import java.util.ArrayList;
import java.util.Iterator;
import java.util.LinkedHashSet;
import java.util.List;
import java.util.Objects;
import java.util.Set;

/**
 * What the calls of one function do, from {@link StandIn#on(LibraryFunction)} until
 * {@link StandIn#reset()}: which calls (the thread, the window), after what delay, and then one of
 * the terminal methods, which puts it in place:
 *
 * <pre>{@code
 * StandIn.on(VerifyMem).fail(UNTRUSTED);                        // every call on this thread
 * StandIn.on(VerifyMem).onCall(2).fail(UNTRUSTED);              // only the second
 * StandIn.on(StrHashUpdateMem).fromCall(3).fail(DISK_FULL);     // the third and every one after
 * StandIn.on(HashMem).onCall(2).times(3).fault(StandIn.Fault.SEGV);  // the 2nd, 3rd and 4th
 * StandIn.on(TspBlkUrlStampCmsMem).onAnyThread().after(Duration.ofSeconds(1)).proceed();
 * }</pre>
 *
 * <p><b>Which calls.</b> Calls are counted per programming, from when it is put in place, among
 * the calls of the function on the thread that programs it ({@link #onAnyThread()}: on every
 * thread). Without {@link #onCall(int)}, {@link #fromCall(int)} or {@link #times(int)} it covers
 * every call. Where several programmings of a function cover a call, the one put in place last
 * decides it; each of them counts the call.
 *
 * <p><b>Checked.</b> Each terminal method refuses, with {@link IllegalArgumentException}, what the
 * function could not do: an output for a function that hands out no block, a verification for
 * one that verifies nothing, a "failure" with status 0 (use {@link #doNothing()}). A programming
 * says each thing once: a second word that contradicts the first ({@code onCall(2).fromCall(3)},
 * {@code times(2).always()}, two different delays) throws {@link IllegalStateException}, and so
 * does a second terminal call.
 *
 * <p><b>Finished.</b> A programming is put in place by its terminal method; one that never gets
 * there ({@code StandIn.on(HashMem).onCall(1);}) programs nothing, which a test would not
 * notice. The kit reports it, naming the line where it was started: the next call of the kit
 * on the same thread throws {@link IllegalStateException}, and {@link StandInExtension} fails
 * a test that ends with one.
 *
 * <p><b>Used.</b> {@link StandInExtension} fails a test that programs something no call reaches
 * (see {@link StandIn#assertProgrammingUsed()}), unless it is {@link #lenient()}.
 */
public final class Programming {

  // Native actions and answers (standin.h: Action, AnswerKind).
  private static final int PROCEED = 0;
  private static final int FAIL = 1;
  private static final int FAULT = 2;
  private static final int OUTPUT = 3;
  private static final int ANSWER = 4;
  private static final int NOTHING = 5;
  private static final int VERIFICATION = 1;
  private static final int STORE = 2;

  // The programmings started and not yet put in place or refused, in the order started.
  private static final Set<Programming> UNFINISHED = new LinkedHashSet<>();

  private final LibraryFunction function;
  private final Thread thread;
  private final StackTraceElement startedAt;
  private boolean anyThread;
  private int from = 1;
  private boolean single;
  private Integer times;
  private String window; // the word that said which calls: "onCall(2)", "fromCall(3)", "always()"
  private Duration delay;
  private boolean lenient;
  private boolean done;

  Programming(LibraryFunction function) {
    this.function = function;
    this.thread = Thread.currentThread();
    this.startedAt = caller();
    synchronized (UNFINISHED) {
      UNFINISHED.add(this);
    }
  }

  /**
   * Covers the calls of every thread, counted together, not only those of the thread that
   * programs: for work the application hands to its own threads.
   *
   * @return this programming
   */
  public Programming onAnyThread() {
    anyThread = true;
    return this;
  }

  /**
   * Covers only the {@code n}-th call from now ({@code onCall(1)}: the next), or {@code n} and the
   * calls after it that {@link #times(int)} says.
   *
   * @param n the call, counted from 1
   * @return this programming
   * @throws IllegalArgumentException for {@code n} below 1
   */
  public Programming onCall(int n) {
    from = positive("onCall", n);
    window("onCall(" + n + ")");
    single = true;
    return this;
  }

  /**
   * Covers the {@code n}-th call from now and every call after it (or as many as
   * {@link #times(int)} says).
   *
   * @param n the first call covered, counted from 1
   * @return this programming
   * @throws IllegalArgumentException for {@code n} below 1
   */
  public Programming fromCall(int n) {
    from = positive("fromCall", n);
    window("fromCall(" + n + ")");
    single = false;
    return this;
  }

  /**
   * Covers {@code n} calls: the next {@code n}, or {@code n} from the call that
   * {@link #onCall(int)} or {@link #fromCall(int)} names.
   *
   * @param n how many calls
   * @return this programming
   * @throws IllegalArgumentException for {@code n} below 1
   */
  public Programming times(int n) {
    int count = positive("times", n);
    if ("always()".equals(window)) refuse(
      new IllegalStateException(contradiction(window, "times(" + n + ")"))
    );
    if (times != null && times != count) {
      refuse(new IllegalStateException(contradiction("times(" + times + ")", "times(" + n + ")")));
    }
    times = count;
    return this;
  }

  /**
   * Covers every call from now: what a programming does without {@link #onCall(int)},
   * {@link #fromCall(int)} or {@link #times(int)}, which it contradicts.
   *
   * @return this programming
   */
  public Programming always() {
    if (times != null) refuse(
      new IllegalStateException(contradiction("times(" + times + ")", "always()"))
    );
    window("always()");
    return this;
  }

  /**
   * Each call covered waits this long before it answers (and before a fault or failure), as a slow
   * server or a busy device would. {@link StandIn#reset()} ends the waits in progress.
   *
   * @param delay how long; zero for none
   * @return this programming
   * @throws IllegalArgumentException for a negative delay
   */
  public Programming after(Duration delay) {
    if (Objects.requireNonNull(delay, "delay").isNegative()) {
      refuse(new IllegalArgumentException("a negative delay: " + delay));
    }
    if (this.delay != null && !this.delay.equals(delay)) {
      refuse(
        new IllegalStateException(
          contradiction("after(" + this.delay + ")", "after(" + delay + ")")
        )
      );
    }
    this.delay = delay;
    return this;
  }

  /**
   * This programming need not be used: {@link StandIn#assertProgrammingUsed()} and the extension
   * leave it out, as for a failure that only some paths of the test reach.
   *
   * @return this programming
   */
  public Programming lenient() {
    lenient = true;
    return this;
  }

  /**
   * The calls covered return {@code status} without doing their work. For {@code AllocMem} and
   * {@code GetErrorText}, which answer with a pointer, they answer null. A failing Update or Final
   * stage of a stream ends the stream's handle, as the library does.
   *
   * @param status the status, e.g. the vendor's code for "server unreachable"
   */
  public void fail(int status) {
    refuseSuccess(status);
    put("fail(" + StandIn.status(status) + ")", FAIL, status, 0, 0, null);
  }

  /**
   * As {@link #fail(int)}, and {@code GetErrorText} gives {@code errorText} for {@code status}
   * (on every thread, until {@link StandIn#reset()}).
   *
   * @param status the status
   * @param errorText its text, ASCII
   * @throws IllegalArgumentException for a text that is empty or not ASCII, or holds a NUL
   */
  public void fail(int status, String errorText) {
    refuseSuccess(status);
    try {
      CertificateRecord.checkedText(
        "error text",
        Objects.requireNonNull(errorText, "errorText"),
        false
      );
    } catch (RuntimeException e) {
      refuse(e);
    }
    check();
    finished();
    StandIn.errorText(status, errorText);
    put("fail(" + StandIn.status(status) + ")", FAIL, status, 0, 0, null);
  }

  /**
   * The calls covered return 0 without doing their work: their results stay empty, as from a
   * library that succeeds and does nothing (a {@code FreeMem} that releases nothing, a
   * {@code HashMem} without a digest). For {@code AllocMem} and {@code GetErrorText}, which
   * answer with a pointer, they answer null.
   */
  public void doNothing() {
    put("doNothing()", NOTHING, 0, 0, 0, null);
  }

  /**
   * The calls covered raise a real machine fault inside the library before doing anything; the
   * bridge returns the fault's code (see {@link StandIn.Fault}).
   *
   * @param fault the fault
   */
  public void fault(StandIn.Fault fault) {
    Objects.requireNonNull(fault, "fault");
    put("fault(" + fault + ")", FAULT, 0, fault.ordinal(), 0, null);
  }

  /**
   * The calls covered do their work, then the first block they hand out carries exactly these
   * bytes instead (a call that hands out none, or fails, is left as it is).
   *
   * @param bytes the block's contents (copied)
   * @throws IllegalArgumentException for a function that hands out no block
   */
  public void output(byte[] bytes) {
    Objects.requireNonNull(bytes, "bytes");
    refuseUnless(StandIn.BLOCKS, "hands out no block, so it has no output to replace");
    put("output(" + bytes.length + " bytes)", OUTPUT, 0, 0, 0, bytes.clone());
  }

  /**
   * The calls covered answer with this verification instead of doing their work: its status, its
   * signers in the result record, its content in the output block (the last block before the
   * result record).
   *
   * @param verification the verification
   * @throws IllegalArgumentException for a function that fills no verification result, or one
   *     without an output block when the verification has content
   */
  public void answer(VerificationAnswer verification) {
    Objects.requireNonNull(verification, "verification");
    refuseUnless(StandIn.VERIFICATION, "fills no verification result (verify_result_t)");
    if (verification.hasContent()) {
      refuseUnless(
        StandIn.CONTENT,
        "has no output block before its verification result for the content;" +
          " build the verification without content"
      );
    }
    put("answer(" + verification + ")", ANSWER, 0, 0, VERIFICATION, verification.encode());
  }

  /**
   * The calls covered answer from this store instead of doing their work: {@code FindCert} finds
   * all its certificates, and each step of {@code EnumStoreObjects} or {@code EnumStoreObjectsEx}
   * gives the next one's encoding, then {@link StandIn#END_OF_STORE}.
   *
   * @param store the store
   * @throws IllegalArgumentException for a function other than those three
   */
  public void answer(Store store) {
    Objects.requireNonNull(store, "store");
    if (!StandIn.has(function, StandIn.FINDS) && !function.name().startsWith("EnumStoreObjects")) {
      refuse(
        new IllegalArgumentException(
          function +
            " neither searches nor enumerates a store: a Store answers" +
            " FindCert, EnumStoreObjects and EnumStoreObjectsEx"
        )
      );
    }
    put("answer(" + store + ")", ANSWER, 0, 0, STORE, store.encode());
  }

  /**
   * The calls covered do their usual work: with {@link #after(Duration)}, a slow library; else a
   * window in which an earlier programming does not apply.
   */
  public void proceed() {
    put("proceed()", PROCEED, 0, 0, 0, null);
  }

  // ---- Putting it in place ----------------------------------------------------------------------

  // What was put in place, for messages and for assertProgrammingUsed.
  record Rule(LibraryFunction function, String description, long count, boolean lenient) {
    // Why the rule was not used, given the calls it counted and those in its window; null when
    // it was.
    String unused(long counted, long reached) {
      String calls =
        "it counted " + counted + (counted == 1 ? " call" : " calls") + " of " + function;
      if (reached == 0) return description + ": never reached (" + calls + ")";
      if (count > 0 && reached < count) return (
        description + ": reached " + reached + " of its " + count + " calls"
      );
      return null;
    }
  }

  static void requireTrait(LibraryFunction function, int trait, String otherwise) {
    if (!StandIn.has(function, trait)) throw new IllegalArgumentException(
      function + " " + otherwise
    );
  }

  // ---- Finished, refused, contradicted ----------------------------------------------------------

  // Throws `e`, after which this programming is no longer reported as unfinished: it was refused.
  private void refuse(RuntimeException e) {
    finished();
    throw e;
  }

  private void refuseUnless(int trait, String otherwise) {
    if (!StandIn.has(function, trait)) refuse(
      new IllegalArgumentException(function + " " + otherwise)
    );
  }

  private void refuseSuccess(int status) {
    if (status == 0) {
      refuse(
        new IllegalArgumentException(
          "fail(0) for " +
            function +
            ": 0 is the library's success, not a" +
            " failure. For calls that succeed without doing their work, use doNothing()"
        )
      );
    }
  }

  private int positive(String what, int n) {
    if (n < 1) refuse(new IllegalArgumentException(what + "(" + n + "): calls are counted from 1"));
    return n;
  }

  // Which calls, said once: another word for them contradicts it.
  private void window(String word) {
    if (window != null && !window.equals(word)) refuse(
      new IllegalStateException(contradiction(window, word))
    );
    window = word;
  }

  private String contradiction(String said, String word) {
    return (
      "on(" +
      function +
      "), started at " +
      startedAt +
      ", already says " +
      said +
      "; " +
      word +
      " contradicts it. Say it once, or program the calls separately"
    );
  }

  private void finished() {
    synchronized (UNFINISHED) {
      UNFINISHED.remove(this);
    }
  }

  // The line outside the kit that called StandIn.on.
  private static StackTraceElement caller() {
    for (StackTraceElement e : new Throwable().getStackTrace()) {
      if (!e.getClassName().startsWith("tarvexjni.standin.")) return e;
    }
    return new StackTraceElement("?", "?", null, -1);
  }

  // The programmings the thread (any thread, for null) started and did not finish, now dropped:
  // each described with where it was started.
  static List<String> takeUnfinished(Thread thread) {
    List<String> taken = new ArrayList<>();
    synchronized (UNFINISHED) {
      for (Iterator<Programming> it = UNFINISHED.iterator(); it.hasNext(); ) {
        Programming p = it.next();
        if (thread != null && p.thread != thread) continue;
        it.remove();
        taken.add(
          "StandIn.on(" +
            p.function +
            ")" +
            (p.window != null ? "." + p.window : "") +
            ", started at " +
            p.startedAt +
            (thread == null ? " on thread \"" + p.thread.getName() + "\"" : "")
        );
      }
    }
    return taken;
  }

  static String unfinished(List<String> programmings) {
    return (
      "unfinished programming: " +
      String.join("; ", programmings) +
      (programmings.size() == 1 ? " was" : " were") +
      " never put in place. End each with fail(...), fault(...), answer(...), output(...), doNothing() or" +
      " proceed()"
    );
  }

  private void check() {
    if (done) throw new IllegalStateException(
      "this programming of " + function + " is already in place"
    );
  }

  private void put(String action, int kind, int status, int fault, int answer, byte[] data) {
    check();
    finished();
    if (!anyThread) StandIn.requireThreadScope("on(" + function + ")." + action);
    done = true;
    long count = times != null ? times : single ? 1 : -1;
    StringBuilder text = new StringBuilder("on(").append(function).append(")");
    if (anyThread) text.append(".onAnyThread()");
    if (single) text.append(".onCall(").append(from).append(")");
    if (!single && from > 1) text.append(".fromCall(").append(from).append(")");
    if (times != null) text.append(".times(").append(times).append(")");
    Duration wait = delay == null ? Duration.ZERO : delay;
    if (!wait.isZero()) text.append(".after(").append(wait).append(")");
    text.append(".").append(action);
    if (!anyThread) text.append(" for ").append(StandIn.threadName(StandIn.thisThread()));
    long nanos;
    try {
      nanos = wait.toNanos();
    } catch (ArithmeticException e) {
      nanos = Long.MAX_VALUE;
    }
    StandIn.rule(
      new Rule(function, text.toString(), count, lenient),
      !anyThread,
      from,
      count,
      nanos,
      kind,
      status,
      fault,
      answer,
      data
    );
  }
}
