package tarvexjni.standin;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Objects;
import java.util.concurrent.ConcurrentHashMap;
import tarvexjni.internal.GlibcHint;
import tarvexjni.internal.NativeLoader;
import tarvexjni.standin.internal.Boundaries;

/**
 * The test kit: programs the stand-in library that the bridge uses in place of the vendor's
 * {@code libtarvex.so}, so that tests can make the library say no, crash, take its time or answer
 * what they choose, and can check what the application asked of it and gave back.
 *
 * <p><b>NOTHING IN THIS KIT IS CRYPTOGRAPHIC.</b> Its digests are a non-cryptographic mix, its
 * "signatures" and "envelopes" hide and protect nothing, its certificates are invented. It
 * exists to test what an application does with the library's answers; never use it to protect
 * anything, and never let it near production.
 *
 * <h2>Set-up</h2>
 * Put {@code tarvexjni.jar} and {@code tarvexjni-standin.jar} on the test class path, nothing
 * else (no vendor library, no {@code tarvex.library}), and annotate the test class with
 * {@link StandInTest @StandInTest}: each test then starts from the default answers, and fails
 * when it leaves a block of the library unreleased, leaves a context, stream or session open,
 * programs something it never uses or never finishes a programming (see
 * {@link StandInExtension}). When JUnit starts, the kit loads the stand-in as the process's
 * {@code libtarvex.so} and sets the system property {@code tarvex.library} to it, so that the
 * bridge, whenever something first uses {@code Norv1.LocalIface}, binds to it; the order of the
 * test classes does not matter. Elsewhere (on the module path, where JUnit does not see the kit's
 * listener, or without JUnit) this class must be initialised before {@code Norv1.LocalIface}: the
 * first use of any of its methods does it. On JDK 24 and later, allow native access to the class
 * path ({@code --enable-native-access=ALL-UNNAMED}) or to the modules
 * {@code tarvexjni,tarvexjni.standin}.
 *
 * <p>Every method throws {@link UnsatisfiedLinkError}, saying why, when the stand-in could not be
 * put in place: another {@code libtarvex.so} is already in the process (the bridge was loaded
 * first, with the vendor's library), or {@code tarvex.library} names another file.
 *
 * <h2>Programming</h2>
 * <pre>{@code
 * StandIn.on(VerifyMem).fail(UNTRUSTED);                    // every call on this thread
 * StandIn.on(SignMem).onCall(3).fault(StandIn.Fault.SEGV);  // the third call crashes inside
 * StandIn.on(TspBlkUrlStampCmsMem).onAnyThread().after(Duration.ofSeconds(2)).fail(TIMEOUT);
 * StandIn.on(VerifyMem).answer(VerificationAnswer.status(0)
 *     .signer(0, CertificateRecord.withSubject("CN=Alice"))
 *     .signer(UNTRUSTED, CertificateRecord.withSubject("CN=Mallory"))
 *     .content(document));
 * }</pre>
 * {@link #on(LibraryFunction)} says which calls and what they do ({@link Programming}); what is
 * programmed applies to the thread that programs it unless {@link Programming#onAnyThread()}
 * says otherwise, and lasts until {@link #reset()}.
 *
 * <h2>Checking</h2>
 * {@link #recordedCalls()} gives every call since the last reset with what it received
 * ({@link RecordedCall}), {@link #verify(LibraryFunction, Times)} counts them, and
 * {@link #assertBalanced()} checks that every block the library handed out came back.
 *
 * <h2>Functions</h2>
 * A function is a {@link LibraryFunction}, or its name as in the library's
 * {@code QUMEN_<function>} without the prefix: {@code "VerifyMem"}, {@code "StrHashUpdateMem"}. An
 * unknown name throws {@link IllegalArgumentException} listing the valid ones.
 *
 * <h2>Default answers</h2>
 * Without programming, every function checks its context ({@link #BAD_CONTEXT} for one not
 * live) and answers deterministically: {@code HashMem} and the stream hashes give a 32-byte
 * digest. What any form signs (one call, a file, a stream; PKCS#7 or CMS), every form verifies,
 * with one signer whose certificate has the subject {@code "CN=Signer 1,O=Stand-in"}; a message
 * changed after signing fails verification with {@link #MISMATCH} (its signer's status 1), and
 * bytes the stand-in did not sign fail with {@link #MISMATCH} and no signer. Detached signatures
 * check their content the same way, and join with it into a signed message. What any form
 * encrypts, every form decrypts, the sender's subject {@code "CN=Signer 2,O=Stand-in"}; anything
 * else is refused with {@link #MISMATCH} (a decrypting stream at its first piece, a verifying
 * stream at its end). Streams yield their output as they go, except where the library's stage
 * has no output block (PKCS#7 signing and verification yield it at their Final stage, kept until
 * then); a stream's handle serves only the family that opened it ({@link #BAD_HANDLE}
 * otherwise). {@code ParseCert} accepts any
 * bytes; a store search finds two certificates and an enumeration walks three objects; a
 * time-stamp authority at any URL stamps, and the stamp verifies; what a TLS session writes, it
 * reads back. Other functions succeed with empty results.
 *
 * <h2>Threads and parallel tests</h2>
 * Every method may be called from any thread; each takes effect atomically. There is one
 * stand-in per process: the call log, the ledger of blocks and what is programmed for any thread
 * are shared by every thread, so a test that uses the kit runs alone under JUnit's parallel mode:
 * {@link StandInTest @StandInTest} holds JUnit's global lock for writing (as {@code @Isolated}
 * does), so that no other test, with the kit or without, calls the library meanwhile; other
 * classes still run in parallel with each other. A thread is a Java thread, virtual threads included: what a virtual
 * thread programs for itself reaches its own calls, not those of other virtual threads on the
 * same carrier, and each recorded call names the Java thread that made it. (On a JVM without the
 * tool interface the kit asks, the stand-in sees operating-system threads only; programming for
 * "this thread" from a virtual thread is then refused, pointing at
 * {@link Programming#onAnyThread()}.)
 *
 * <h2>Outside tests</h2>
 * The call log keeps the last {@link #logLimit() 10000} calls, so that a long-running program
 * over the stand-in (a demo, a developer's server) keeps its memory flat; the system property
 * {@value #LOG_PROPERTY} or the environment variable {@code TARVEX_STANDIN_LOG} changes how
 * many. The environment variable {@code TARVEX_STANDIN_QUIET} (any value) turns the call log and
 * the ledger off altogether, as the benchmarks do: the kit's checks then have nothing to check.
 * Where JUnit runs, the kit watches every test, with its extension or without: when the last test
 * running ends, what was programmed since it started is dropped, so that a class that forgot
 * {@link StandInTest @StandInTest} does not pass its programming on; what was programmed outside
 * any test stays until {@link #reset()}.
 */
public final class StandIn {

  private StandIn() {}

  /** The stand-in's status for a context that is not live. */
  public static final int BAD_CONTEXT = 0x7E570001;
  /** The stand-in's status for an unknown or ended stream or session handle. */
  public static final int BAD_HANDLE = 0x7E570002;
  /** The stand-in's status for a verification that found a difference. */
  public static final int MISMATCH = 0x7E570003;
  /** The stand-in's status for a file it could not read or write. */
  public static final int NO_FILE = 0x7E570004;
  /** The stand-in's status at the end of a store enumeration. */
  public static final int END_OF_STORE = 0x7E570005;
  /** The stand-in's status for a missing URL. */
  public static final int NO_ADDRESS = 0x7E570006;

  /** A name for JUnit's {@code @ResourceLock}: the stand-in is one shared resource. */
  public static final String RESOURCE_LOCK = "tarvexjni.standin";

  /**
   * A machine fault that the stand-in raises inside a call, as a defective library would. The
   * bridge catches it and returns its code: {@code 0xC0000005} for {@link #SEGV},
   * {@code 0xC0000006} for {@link #BUS}, {@code 0xC0000094} for {@link #FPE}, {@code 0xC000001D}
   * for {@link #ILL}, on Windows {@code 0xC00000FD} for {@link #STACK} ({@code -1} from
   * {@code EncodeMem} and {@code DecodeMem}).
   */
  public enum Fault {
    /** An access through a bad address (a store through a null pointer). */
    SEGV,
    /** A bus error (a read past the end of a mapped file). */
    BUS,
    /** An integer division by zero. */
    FPE,
    /** An undefined instruction. */
    ILL,
    /**
     * A stack overflow: recursion until the thread's stack runs out. Caught on Windows only; on
     * Linux it ends the JVM (docs/faults.md).
     */
    STACK,
  }

  /**
   * An outstanding block of the library's allocator.
   *
   * @param function the function that handed it out, as in {@link #calls()} ("" when it came
   *     from outside any call)
   * @param size its size in bytes
   */
  public record Block(String function, long size) {}

  // The kit's own statuses, for messages.
  private static final Map<Integer, String> NAMES = Map.of(
    BAD_CONTEXT,
    "BAD_CONTEXT",
    BAD_HANDLE,
    "BAD_HANDLE",
    MISMATCH,
    "MISMATCH",
    NO_FILE,
    "NO_FILE",
    END_OF_STORE,
    "END_OF_STORE",
    NO_ADDRESS,
    "NO_ADDRESS"
  );

  // What a function's arguments allow programming (kit.cpp computes them from its signature).
  static final int VERIFICATION = 1;
  static final int CONTENT = 2;
  static final int FINDS = 4;
  static final int BLOCKS = 8;
  static final int POINTER = 16;

  /**
   * The system property that sets how many calls the log keeps, a number (wins over the
   * environment variable {@code TARVEX_STANDIN_LOG}); default 10000.
   */
  public static final String LOG_PROPERTY = "tarvexjni.standin.log";

  private static final LinkageError FAILURE;
  private static final int[] TRAITS;
  // Whether the stand-in tells Java threads apart (the JVM's tool interface answers it); else it
  // numbers operating-system threads, and a virtual thread is its carrier.
  private static final boolean JAVA_THREADS;
  // The names of the threads that programmed the kit since the last reset, by their number.
  private static final Map<Long, String> THREADS = new ConcurrentHashMap<>();
  // What was programmed since the last reset, by the stand-in's id for it.
  private static final Map<Long, Programming.Rule> RULES = new LinkedHashMap<>();

  static {
    LinkageError failure = null;
    int[] traits = new int[0];
    boolean javaThreads = false;
    try {
      load();
      traits = traits0();
      List<String> names = List.of(functions0());
      List<String> expected = Arrays.stream(LibraryFunction.values()).map(Enum::name).toList();
      if (!names.equals(expected)) {
        throw new UnsatisfiedLinkError(
          "tarvexjni.standin: the stand-in library lists other functions than" +
            " the kit's classes: the jar is damaged, or mixes two builds"
        );
      }
      javaThreads = start0();
      Boundaries.install(StandIn::programmingMark0, StandIn::dropSince);
      String limit = System.getProperty(LOG_PROPERTY);
      if (limit != null && limit.strip().matches("[0-9]{1,18}")) logLimit0(
        Long.parseLong(limit.strip())
      );
    } catch (LinkageError e) {
      failure = e;
    }
    FAILURE = failure;
    TRAITS = traits;
    JAVA_THREADS = javaThreads;
  }

  // Extracts the stand-in from the kit's jar and loads it as the process's libtarvex.so, for the
  // bridge's loader to find through tarvex.library.
  private static void load() {
    String name = NativeLoader.vendorFileName();
    String configured = System.getProperty("tarvex.library");
    Path library = NativeLoader.extract(StandIn.class, "tarvexjni/standin/native", name);
    if (configured != null && !Path.of(configured).toAbsolutePath().equals(library)) {
      throw new UnsatisfiedLinkError(
        "tarvexjni.standin: tarvex.library names " +
          configured +
          ", but the kit supplies " +
          name +
          " itself: do not set it in tests that use the kit"
      );
    }
    try {
      System.load(library.toString());
    } catch (UnsatisfiedLinkError e) {
      throw GlibcHint.explain(e);
    }
    String foreign = foreignLibrary0(library.toString());
    if (foreign != null) {
      throw new UnsatisfiedLinkError(
        "tarvexjni.standin: another " +
          name +
          " is already loaded, from " +
          foreign +
          ": something used Norv1.LocalIface before the kit put the stand-in in place, and the" +
          " bridge bound to that library for the life of the process. The kit does it when JUnit starts," +
          " with tarvexjni-standin.jar on JUnit's class path; elsewhere initialise" +
          " tarvexjni.standin.StandIn first. Do not load the vendor's library (tarvex.library," +
          " TARVEX_LIBRARY, the library path) in tests that use the kit"
      );
    }
    System.setProperty("tarvex.library", library.toString());
    NativeLoader.loaded(library); // the copy is deleted where the system allows; the path serves
  }

  // Every public method starts here: the stand-in must be in place, and a programming that this
  // thread started and did not finish is reported now (and dropped).
  static void enter() {
    ensureLoaded();
    List<String> unfinished = Programming.takeUnfinished(Thread.currentThread());
    if (!unfinished.isEmpty()) throw new IllegalStateException(Programming.unfinished(unfinished));
  }

  // Throws, anew each time, the reason why the stand-in is not in place.
  static void ensureLoaded() {
    if (FAILURE != null) {
      LinkageError e = new UnsatisfiedLinkError(FAILURE.getMessage());
      e.initCause(FAILURE);
      throw e;
    }
  }

  /**
   * Says what the matching calls of a function do, from now until {@link #reset()}:
   * {@code StandIn.on(VerifyMem).onCall(2).fail(UNTRUSTED)}.
   *
   * @param function the function
   * @return a programming to complete with one of its terminal methods ({@link Programming#fail(int)},
   *     {@link Programming#answer(VerificationAnswer)}, ...)
   */
  public static Programming on(LibraryFunction function) {
    enter();
    return new Programming(Objects.requireNonNull(function, "function"));
  }

  /**
   * As {@link #on(LibraryFunction)}, the function named.
   *
   * @param function the function's name, e.g. {@code "VerifyMem"}
   * @return a programming to complete
   * @throws IllegalArgumentException for an unknown function
   */
  public static Programming on(String function) {
    return on(LibraryFunction.of(function));
  }

  /**
   * Every call of {@code function} on this thread returns {@code status} without doing its work,
   * until {@link #reset()}: {@code on(function).fail(status)}. For {@code AllocMem} and
   * {@code GetErrorText}, which answer with a pointer, failing means answering null. A failing
   * Update or Final stage of a stream ends the stream's handle, as the library does.
   *
   * <p>Changed: the failure now applies to the calling thread only (it applied to every thread);
   * {@code on(function).onAnyThread().fail(status)} programs every thread. A later programming of
   * the function takes precedence for the calls it covers; this failure goes on for the rest.
   *
   * @param function the function, e.g. {@code "VerifyMem"}
   * @param status the status to return, e.g. the vendor's code for "server unreachable"
   * @throws IllegalArgumentException for an unknown function
   */
  public static void fail(String function, int status) {
    on(function).fail(status);
  }

  /**
   * As {@link #fail(String, int)}.
   *
   * @param function the function
   * @param status the status to return
   */
  public static void fail(LibraryFunction function, int status) {
    on(function).fail(status);
  }

  /**
   * Only the next call of {@code function} on this thread returns {@code status} without doing
   * its work; the calls after it answer as before: {@code on(function).onCall(1).fail(status)}.
   *
   * <p>Changed: the failure now goes to the next call on the calling thread, not to whichever
   * thread calls next; {@code on(function).onAnyThread().onCall(1).fail(status)} gives it to the
   * first caller of any thread.
   *
   * @param function the function, e.g. {@code "SignMem"}
   * @param status the status to return
   * @throws IllegalArgumentException for an unknown function
   */
  public static void failNext(String function, int status) {
    on(function).onCall(1).fail(status);
  }

  /**
   * As {@link #failNext(String, int)}.
   *
   * @param function the function
   * @param status the status to return
   */
  public static void failNext(LibraryFunction function, int status) {
    on(function).onCall(1).fail(status);
  }

  /**
   * The next call of {@code function} on this thread raises a real machine fault inside the
   * library, before doing anything else, as a defective vendor library might:
   * {@code on(function).onCall(1).fault(signal)}. The bridge catches it and returns the fault's
   * code (for example {@code 0xC0000005} for {@code "SEGV"}); the library's state for that context
   * is then to be treated as undefined by the application.
   *
   * <p>Changed: the fault now goes to the next call on the calling thread.
   *
   * @param function the function, e.g. {@code "HashMem"}
   * @param signal one of {@code "SEGV"}, {@code "BUS"}, {@code "FPE"}, {@code "ILL"}, {@code "STACK"}
   * @throws IllegalArgumentException for an unknown function or signal
   */
  public static void faultNext(String function, String signal) {
    for (Fault f : Fault.values()) {
      if (f.name().equals(Objects.requireNonNull(signal, "signal"))) {
        on(function).onCall(1).fault(f);
        return;
      }
    }
    throw new IllegalArgumentException(
      "unknown signal \"" + signal + "\"; the signals are " + Arrays.toString(Fault.values())
    );
  }

  /**
   * As {@link #faultNext(String, String)}.
   *
   * @param function the function
   * @param fault the fault to raise
   */
  public static void faultNext(LibraryFunction function, Fault fault) {
    on(function).onCall(1).fault(fault);
  }

  /**
   * The next output block that {@code function} hands out on this thread carries exactly these
   * bytes instead of its default contents: the digest of the next {@code HashMem}, the stamped
   * message of the next {@code TspBlkUrlStampCmsMem}, and so on. Calls queue: the second call
   * gives the output after that. A call that hands out no block (one that fails, or a function
   * without an output block) leaves the queue alone; where a function hands out two blocks, the
   * first is replaced.
   *
   * <p>Changed: the output now goes to a call on the calling thread;
   * {@code on(function).onAnyThread().onCall(1).output(bytes)} gives it to the next call on any.
   *
   * @param function the function, e.g. {@code "StrHashFinalMem"}
   * @param bytes the output's contents (copied)
   * @throws IllegalArgumentException for an unknown function, or one that hands out no block
   */
  public static void nextOutput(String function, byte[] bytes) {
    nextOutput(LibraryFunction.of(function), bytes);
  }

  /**
   * As {@link #nextOutput(String, byte[])}.
   *
   * @param function the function
   * @param bytes the output's contents (copied)
   */
  public static void nextOutput(LibraryFunction function, byte[] bytes) {
    enter();
    Programming.requireTrait(
      function,
      BLOCKS,
      "hands out no block, so it has no output to replace"
    );
    requireThreadScope("nextOutput(" + function + ")");
    noteThread();
    output0(function.ordinal(), Objects.requireNonNull(bytes, "bytes").clone());
  }

  /**
   * Every certificate store answers empty until {@link #reset()}, on every thread:
   * {@code FindCert} finds no certificate, and {@code EnumStoreObjects} and
   * {@code EnumStoreObjectsEx} end at once with {@link #END_OF_STORE}. The same as
   * {@code store(Store.empty())}.
   */
  public static void emptyStore() {
    store(Store.empty());
  }

  /**
   * Every certificate store holds exactly these certificates until {@link #reset()}, on every
   * thread: {@code FindCert} finds all of them, whatever it is asked, and {@code EnumStoreObjects}
   * and {@code EnumStoreObjectsEx} walk their encodings in order, then end with
   * {@link #END_OF_STORE}. A later programming of one of these functions takes precedence for
   * the calls it covers.
   *
   * @param store the certificates
   */
  public static void store(Store store) {
    Objects.requireNonNull(store, "store");
    for (LibraryFunction f : List.of(
      LibraryFunction.FindCert,
      LibraryFunction.EnumStoreObjects,
      LibraryFunction.EnumStoreObjectsEx
    )) {
      on(f).onAnyThread().lenient().answer(store);
    }
  }

  /**
   * {@code GetErrorText} gives this text for {@code status} until {@link #reset()}, in place of
   * its own (the stand-in has texts for its own statuses only, and none for the vendor's).
   * {@link Programming#fail(int, String)} programs a failure and its text together.
   *
   * @param status the status
   * @param text the text, ASCII (the library's texts reach Java one byte per character)
   * @throws IllegalArgumentException for a text that is empty or not ASCII, or holds a NUL
   */
  public static void errorText(int status, String text) {
    enter();
    errorText0(
      status,
      CertificateRecord.checkedText("error text", Objects.requireNonNull(text, "text"), false)
    );
  }

  /**
   * From now until {@link #reset()}, each call records the bytes of its blocks, not only their
   * lengths ({@link RecordedCall.BlockArgument#bytes()}).
   */
  public static void recordBytes() {
    enter();
    recordBytes0(true);
  }

  /**
   * The functions called since the last {@link #reset()}, in order, from every thread. They
   * include the memory functions the bridge calls to give results back ({@code FreeMem},
   * {@code FreeVerifyResult}, ...). {@link #recordedCalls()} has the calls with what they
   * received.
   *
   * @return the function names, as they are programmed
   */
  public static List<String> calls() {
    return allCalls()
      .stream()
      .map(c -> c.function().name())
      .toList();
  }

  /**
   * The calls since the last {@link #reset()}, in order, from every thread, with what each
   * received, except those of the memory functions ({@link #memoryCalls()} has them).
   *
   * @return the calls
   */
  public static Calls recordedCalls() {
    return allCalls().filter(
      c -> !c.function().isMemoryFunction(),
      "the memory functions left out"
    );
  }

  /**
   * The calls of the memory functions since the last {@link #reset()}, in order: those of
   * {@code AllocMem}, {@code FreeMem} and the {@code Free*} functions, through which the bridge
   * hands back what the library gave it.
   *
   * @return the calls
   */
  public static Calls memoryCalls() {
    return allCalls().filter(c -> c.function().isMemoryFunction(), "the memory functions only");
  }

  // Every call since the last reset that the log keeps.
  static Calls allCalls() {
    enter();
    noteThread();
    return RecordedCall.decode(calls0());
  }

  /**
   * Asserts how often {@code function} was called since the last {@link #reset()}, on any
   * thread: {@code verify(VerifyMem, times(1))}, {@code verify(SignMem, never())}. It counts
   * every call, also those the log no longer keeps.
   *
   * @param function the function
   * @param times how often it should have been called
   * @throws AssertionError when it was called otherwise, listing the calls that were made
   */
  public static void verify(LibraryFunction function, Times times) {
    Objects.requireNonNull(function, "function");
    Calls calls = function.isMemoryFunction() ? allCalls() : recordedCalls();
    calls.verify(function, times, count0(function.ordinal()));
  }

  /**
   * As {@link #verify(LibraryFunction, Times)}, the function named.
   *
   * @param function the function's name, e.g. {@code "VerifyMem"}
   * @param times how often it should have been called
   * @throws AssertionError when it was called otherwise
   * @throws IllegalArgumentException for an unknown function
   */
  public static void verify(String function, Times times) {
    verify(LibraryFunction.of(function), times);
  }

  /**
   * The calling thread's number, as {@link RecordedCall#thread()} gives it for the calls it made:
   * its id ({@code Thread.getId()}), for a virtual thread too. (Where the JVM lacks the tool
   * interface that the kit asks, the stand-in numbers operating-system threads instead: 1 for the
   * first it saw; a virtual thread then has its carrier's number.)
   *
   * @return the number
   */
  public static long thisThread() {
    enter();
    return noteThread();
  }

  /**
   * How many calls the log keeps: the last ones since the last {@link #reset()}; older ones are
   * dropped as new ones come, so that the log's memory stays bounded however long the process
   * runs (a test can still {@link #verify(LibraryFunction, Times) count} every call). Set by the
   * system property {@value #LOG_PROPERTY} or the environment variable {@code TARVEX_STANDIN_LOG}
   * (the property wins), a number of calls; default 10000; 0 keeps none.
   *
   * @return the number of calls
   */
  public static long logLimit() {
    enter();
    return logLimit1();
  }

  /**
   * The blocks the library handed out since the last {@link #reset()} and that were not given
   * back, oldest first. During a call on another thread, that call's blocks are among them.
   *
   * @return the outstanding blocks
   */
  public static List<Block> outstandingBlocks() {
    enter();
    String[] triples = blocks0();
    List<Block> blocks = new ArrayList<>();
    for (int i = 0; i + 2 < triples.length; i += 3) blocks.add(
      new Block(triples[i], Long.parseLong(triples[i + 1]))
    );
    return List.copyOf(blocks);
  }

  /**
   * Asserts that every block the library handed out since the last {@link #reset()} came back
   * exactly once, through the right function, with the context that produced it.
   * {@link StandInExtension} asserts it after each test.
   *
   * @throws AssertionError listing each outstanding block (size, and the call that handed it
   *     out) and each wrong release
   */
  public static void assertBalanced() {
    enter();
    String[] triples = blocks0();
    String[] errors = releaseErrors0();
    if (triples.length == 0 && errors.length == 0) return;
    Calls log = allCalls();
    StringBuilder text = new StringBuilder("the library's blocks are not balanced: ")
      .append(triples.length / 3)
      .append(" never released, ")
      .append(errors.length)
      .append(" released wrongly");
    for (int i = 0; i + 2 < triples.length; i += 3) {
      RecordedCall call = log.number(Long.parseLong(triples[i + 2]) + 1);
      text
        .append("\n  never released: ")
        .append(triples[i + 1])
        .append(" bytes from ");
      if (call != null) {
        text.append(call.describe());
      } else {
        text.append(triples[i].isEmpty() ? "outside any call" : triples[i]);
      }
    }
    for (String e : errors) text.append("\n  wrong release: ").append(e);
    throw new AssertionError(text.toString());
  }

  /**
   * Asserts that everything programmed since the last {@link #reset()} was used, as a test that
   * programs a failure expects it to be reached: the calls of each programming's window were made
   * (at least one of them where the window has no end), whether it or a later programming decided
   * them; each output queued by
   * {@link #nextOutput(String, byte[])} was handed out. Programmings marked
   * {@link Programming#lenient()} and those of {@link #store(Store)} are left out. A programming
   * that was started and never put in place (on any thread) fails it first, and is dropped.
   * {@link StandInExtension} asserts it after each test that passed.
   *
   * @throws AssertionError listing what was not used, and how far each was; or the unfinished
   *     programmings, with where each was started
   */
  public static void assertProgrammingUsed() {
    assertFinished();
    enter();
    long[] uses = ruleUses0();
    long[] queued = queued0();
    List<String> unused = new ArrayList<>();
    synchronized (RULES) {
      for (int i = 0; i + 2 < uses.length; i += 3) {
        Programming.Rule rule = RULES.get(uses[i]);
        if (rule == null || rule.lenient()) continue;
        String problem = rule.unused(uses[i + 1], uses[i + 2]);
        if (problem != null) unused.add(problem);
      }
    }
    for (int i = 0; i + 2 < queued.length; i += 3) {
      unused.add(
        "nextOutput(" +
          LibraryFunction.values()[(int) queued[i]] +
          ") for " +
          threadName(queued[i + 1]) +
          ": " +
          queued[i + 2] +
          (queued[i + 2] == 1 ? " output was" : " outputs were") +
          " never handed out"
      );
    }
    if (unused.isEmpty()) return;
    throw new AssertionError(
      "programmed but not used (a programming the test never reaches tests nothing;" +
        " mark one lenient() when it need not be used):\n  " +
        String.join("\n  ", unused)
    );
  }

  // Forgets what was programmed from the mark on (at the end of a test that did not reset the
  // stand-in itself), and what was started and not finished.
  private static void dropSince(long mark) {
    synchronized (RULES) {
      dropProgrammingSince0(mark);
      RULES.keySet().removeIf(id -> id >= mark);
    }
    Programming.takeUnfinished(null);
  }

  // Fails (and drops) the programmings that any thread started and did not finish.
  static void assertFinished() {
    ensureLoaded();
    List<String> unfinished = Programming.takeUnfinished(null);
    if (!unfinished.isEmpty()) throw new AssertionError(Programming.unfinished(unfinished));
  }

  /**
   * The stream and TLS session handles that are open: issued by an Init stage or a session's
   * creation, and not yet ended. An application that always finishes its streams leaves this
   * where it found it.
   *
   * @return the number of open handles
   */
  public static int openHandles() {
    enter();
    return openHandles0();
  }

  /**
   * The contexts that are live: opened by {@code InitMinimal}, {@code Initialize} or
   * {@code InitializeEx} and not yet ended by {@code Uninitialize}.
   *
   * @return the number of live contexts
   */
  public static int openContexts() {
    enter();
    return openContexts0();
  }

  /**
   * Asserts that every context, stream and TLS session opened since the last {@link #reset()}
   * has been ended: a context by {@code Uninitialize} (in the Java API, {@code Tarvex.close()}),
   * a stream by its Final stage (or a failing Update), a session by {@code TlsSessionDestroy}.
   * What was opened before the reset (in {@code @BeforeAll}, say) is not asked about.
   * {@link StandInExtension} asserts it after each test that passed, unless the test says
   * {@link StandInTest#requireClosed() requireClosed = false}.
   *
   * @throws AssertionError listing each one left open, with the call that opened it, the thread,
   *     and the line of code (outside the library's and the JDK's own) that made the call
   */
  public static void assertClosed() {
    enter();
    assertClosed(null);
  }

  // The same; with a test class, the test's own line too where the call was made deeper down.
  static void assertClosed(Class<?> test) {
    ensureLoaded();
    String[] texts = leftOpen0();
    if (texts.length == 0) return;
    Calls log = allCalls();
    List<String> lines = new ArrayList<>();
    int contexts = 0;
    int others = 0;
    for (int i = 0; i < texts.length; ) {
      String kind = texts[i];
      long value = Long.parseLong(texts[i + 1]);
      RecordedCall call = log.number(Long.parseLong(texts[i + 2]) + 1);
      String function = texts[i + 3];
      String thread = threadName(Long.parseLong(texts[i + 4]), texts[i + 5]);
      int frames = Integer.parseInt(texts[i + 6]);
      List<String> stack = Arrays.asList(texts).subList(i + 7, i + 7 + frames);
      i += 7 + frames;
      boolean context = kind.equals("context");
      if (context) contexts++;
      else others++;
      String what = context ? "context" : kind + (kind.startsWith("TlsSession") ? "" : " stream");
      StringBuilder line = new StringBuilder(what)
        .append(" 0x")
        .append(Long.toHexString(value))
        .append(", opened by ")
        .append(
          call != null
            ? call.describe()
            : function.isEmpty()
              ? "a call the stand-in did not log"
              : function + " on " + thread
        );
      String where = OpenedAt.describe(stack, test);
      if (!where.isEmpty()) line.append("\n      ").append(where);
      lines.add(line.toString());
    }
    throw new AssertionError(
      "left open since the last reset: " +
        count(contexts, "context") +
        ", " +
        count(others, "stream or session") +
        " (end each; a test that means to leave them open says" +
        " @StandInTest(requireClosed = false)):\n  " +
        String.join("\n  ", lines)
    );
  }

  private static String count(int n, String what) {
    return n + " " + (n == 1 ? what : what.equals("context") ? "contexts" : "streams or sessions");
  }

  /**
   * The functions of the library, as they are named to this class.
   *
   * @return the names, in the order of {@link LibraryFunction}
   */
  public static List<String> functions() {
    return Arrays.stream(LibraryFunction.values()).map(Enum::name).toList();
  }

  /**
   * Back to the default answers: everything programmed, queued, {@link #store(Store) stored}
   * and {@link #errorText(int, String) given a text} is forgotten, the recording of bytes stops,
   * the call log is emptied and the ledger starts afresh. What the application holds stays
   * valid: contexts stay live, and an open stream or session keeps working (a stream fed before
   * the reset and finished after it hashes everything fed). Blocks that were outstanding are no
   * longer reported, and giving them back later is not an error. A call running on another
   * thread at that moment is not disturbed, except that a delay it is waiting out ends. A
   * programming started and not finished is dropped.
   */
  public static void reset() {
    ensureLoaded();
    noteThread();
    synchronized (RULES) {
      reset0();
      RULES.clear();
      THREADS.clear();
    }
    Programming.takeUnfinished(null);
  }

  /**
   * Ends every programmed wait ({@link Programming#after}) in progress, and keeps later ones from
   * waiting, until the next {@link #reset()}: each call goes on at once to what it was programmed
   * to do. {@link StandInExtension} does it when a test fails or runs out of its time, before the
   * test's {@code @AfterEach} methods, so that they do not wait for a call that holds what they
   * need (the lock of a context's {@code Tarvex}, say).
   */
  public static void releaseWaits() {
    enter();
    endWaits0(true);
  }

  // Ends the programmed waits in progress; later ones wait as programmed.
  static void endWaits() {
    ensureLoaded();
    endWaits0(false);
  }

  /**
   * Checks that the bridge can be used over the stand-in in this JVM, and says why not.
   * {@link StandInExtension} does it before the first test of each class.
   *
   * @throws UnsatisfiedLinkError when the stand-in is not in place
   * @throws IllegalStateException when {@code Norv1.LocalIface} cannot be used, with the reason
   */
  public static void checkUsable() {
    ensureLoaded();
    try {
      Class.forName("Norv1.LocalIface", true, NativeLoader.class.getClassLoader());
    } catch (NoClassDefFoundError e) {
      Throwable why = e.getCause() != null ? e.getCause() : e;
      throw new IllegalStateException(
        "Norv1.LocalIface cannot be used in this JVM: something used it before the" +
          " kit put the stand-in in place, and its loading failed for the life of the process (" +
          why.getMessage() +
          "). The kit puts the stand-in in place when JUnit starts, with tarvexjni-standin.jar on JUnit's class" +
          " path; on the module path, or without JUnit, initialise tarvexjni.standin.StandIn (any of its" +
          " methods) before anything uses Norv1.LocalIface",
        e
      );
    } catch (ExceptionInInitializerError | ClassNotFoundException e) {
      Throwable why = e.getCause() != null ? e.getCause() : e;
      throw new IllegalStateException(
        "Norv1.LocalIface cannot be loaded over the stand-in: " + why.getMessage(),
        e
      );
    }
  }

  // ---- For the kit's other classes -------------------------------------------------------------

  static boolean has(LibraryFunction function, int trait) {
    return (TRAITS[function.ordinal()] & trait) != 0;
  }

  // Adds a rule; what it was, for assertProgrammingUsed and messages.
  static void rule(
    Programming.Rule rule,
    boolean thisThread,
    long from,
    long count,
    long delayNanos,
    int action,
    int status,
    int fault,
    int answer,
    byte[] data
  ) {
    ensureLoaded();
    noteThread();
    synchronized (RULES) {
      long id = rule0(
        rule.function().ordinal(),
        thisThread,
        from,
        count,
        delayNanos,
        action,
        status,
        fault,
        answer,
        data
      );
      RULES.put(id, rule);
    }
  }

  // The calling thread's number, its name remembered for messages.
  static long noteThread() {
    long number = thisThread0();
    THREADS.put(number, Thread.currentThread().getName());
    return number;
  }

  // A thread as messages name it: "thread 1 (main)".
  static String threadName(long number) {
    return threadName(number, THREADS.get(number));
  }

  static String threadName(long number, String name) {
    if (number == 0) return "any thread";
    return name == null || name.isEmpty()
      ? "thread " + number
      : "thread " + number + " (" + name + ")";
  }

  // Thread-scoped programming on a virtual thread where the stand-in sees only its carrier would
  // reach the carrier's other virtual threads: refused.
  static void requireThreadScope(String what) {
    if (!JAVA_THREADS && isVirtual(Thread.currentThread())) {
      throw new IllegalStateException(
        what +
          " on a virtual thread: this JVM does not let the stand-in tell" +
          " virtual threads apart, so it would reach every virtual thread on the same carrier. Program it" +
          " .onAnyThread(), or from a platform thread"
      );
    }
  }

  private static boolean isVirtual(Thread thread) {
    try {
      return (Boolean) Thread.class.getMethod("isVirtual").invoke(thread);
    } catch (ReflectiveOperationException e) {
      return false; // before JDK 21: no virtual threads
    }
  }

  // A status as messages show it: small ones in decimal, the others in hex, the kit's by name.
  static String status(int status) {
    String name = NAMES.get(status);
    if (name != null) return name;
    return status >= -0xFFFF && status <= 0xFFFF
      ? Integer.toString(status)
      : String.format("0x%08X", status);
  }

  private static native String foreignLibrary0(String kit);

  private static native boolean start0();

  private static native long count0(int function);

  private static native void logLimit0(long calls);

  private static native long logLimit1();

  private static native String[] functions0();

  private static native int[] traits0();

  private static native long thisThread0();

  private static native long rule0(
    int function,
    boolean thisThread,
    long from,
    long count,
    long delayNanos,
    int action,
    int status,
    int fault,
    int answer,
    byte[] data
  );

  private static native long[] ruleUses0();

  private static native void output0(int function, byte[] bytes);

  private static native long[] queued0();

  private static native void errorText0(int status, String text);

  private static native void recordBytes0(boolean on);

  private static native byte[] calls0();

  private static native String[] blocks0();

  private static native String[] releaseErrors0();

  private static native int openHandles0();

  private static native int openContexts0();

  private static native String[] leftOpen0();

  private static native void endWaits0(boolean release);

  private static native void reset0();

  private static native long programmingMark0();

  private static native void dropProgrammingSince0(long mark);
}
