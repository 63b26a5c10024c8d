package tarvexjni.standin;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Objects;
import tarvexjni.internal.GlibcHint;
import tarvexjni.internal.NativeLoader;

/**
 * The test kit: programs the stand-in library that the bridge uses in place of the vendor's
 * {@code libtarvex.so}, so that tests can make the library say no.
 *
 * <p><b>NOTHING IN THIS KIT IS CRYPTOGRAPHIC.</b> Its digests are a non-cryptographic mix, its
 * "signatures" and "envelopes" hide and protect nothing, its certificates are invented. It
 * exists to test what an application does with the library's answers; never use it to protect
 * anything, and never let it near production.
 *
 * <h2>Set-up</h2>
 * Put {@code tarvexjni.jar} and {@code tarvexjni-standin.jar} on the test class path (or both
 * on the module path), nothing else. This class must be initialised before {@code
 * Norv1.LocalIface}: its initialiser extracts the stand-in library from its jar, loads it as the
 * process's {@code libtarvex.so}, and sets the system property {@code tarvex.library} to it, so
 * that the bridge, loaded next, binds to it. Touch it first, for example with
 * {@code @BeforeAll static void standIn() { StandIn.reset(); }}. It refuses, with an {@link
 * UnsatisfiedLinkError} naming the path, when another {@code libtarvex.so} is already in the
 * process (the bridge was loaded first) or {@code tarvex.library} names another file. On JDK 24
 * and later, allow native access to the class path ({@code --enable-native-access=ALL-UNNAMED})
 * or to the modules {@code tarvexjni,tarvexjni.standin}.
 *
 * <h2>Functions</h2>
 * A function is named as in the library's {@code QUMEN_<function>}, without the prefix:
 * {@code "VerifyMem"}, {@code "TspBlkUrlStampCmsMem"}, {@code "StrHashUpdateMem"}. An unknown
 * name throws {@link IllegalArgumentException} listing the valid ones ({@link #functions()}).
 *
 * <h2>Default answers</h2>
 * Without programming, every function checks its context ({@link #BAD_CONTEXT} for one not
 * live) and answers deterministically: {@code HashMem} and the stream hashes give a 32-byte
 * digest; {@code SignMem} gives a signed message that {@code VerifyMem} opens again, with one
 * signer whose certificate has the subject {@code "CN=Signer 1,O=Stand-in"}, and a message
 * changed after signing fails verification with {@link #MISMATCH} (its signer's status 1);
 * {@code EncryptMem} and {@code DecryptMem} make a round trip; {@code ParseCert} accepts any
 * bytes; a store search finds two certificates and an enumeration walks three objects; a
 * time-stamp authority at any URL stamps, and the stamp verifies; what a TLS session writes, it
 * reads back. Other functions succeed with empty results.
 *
 * <h2>Threads and parallel tests</h2>
 * Every method may be called from any thread; each takes effect atomically. There is one
 * stand-in per process: what a test programs, the call log and the ledger of blocks are shared
 * by every thread, and a {@code failNext} is consumed by whichever thread calls the function
 * next. Tests that use the kit must therefore not run in parallel with each other: mark them
 * {@code @ResourceLock(StandIn.RESOURCE_LOCK)} (or run them in one thread), and let no
 * background work of an earlier test still call the library.
 */
public final class StandIn {
  private StandIn() {}

  /** The stand-in's status for a context that is not live. */
  public static final int BAD_CONTEXT = 0x7E570001;
  /** The stand-in's status for an unknown or ended stream or session handle. */
  public static final int BAD_HANDLE = 0x7E570002;
  /** The stand-in's status for a verification that found a difference. */
  public static final int MISMATCH = 0x7E570003;
  /** The stand-in's status for a file it could not read. */
  public static final int NO_FILE = 0x7E570004;
  /** The stand-in's status at the end of a store enumeration. */
  public static final int END_OF_STORE = 0x7E570005;
  /** The stand-in's status for a missing URL. */
  public static final int NO_ADDRESS = 0x7E570006;

  /** A name for JUnit's {@code @ResourceLock}: the stand-in is one shared resource. */
  public static final String RESOURCE_LOCK = "tarvexjni.standin";

  private static final List<String> SIGNALS = List.of("SEGV", "BUS", "FPE", "ILL");
  private static final List<String> FUNCTIONS;

  static {
    String configured = System.getProperty("tarvex.library");
    Path library = NativeLoader.extract(StandIn.class, "tarvexjni/standin/native", "libtarvex.so");
    if (configured != null && !Path.of(configured).toAbsolutePath().equals(library)) {
      throw new UnsatisfiedLinkError("tarvexjni.standin: tarvex.library names " + configured
          + ", but the kit supplies libtarvex.so itself: do not set it in tests that use the kit");
    }
    try {
      System.load(library.toString());
    } catch (UnsatisfiedLinkError e) {
      throw GlibcHint.explain(e);
    }
    String foreign = foreignLibrary0(library.toString());
    if (foreign != null) {
      throw new UnsatisfiedLinkError("tarvexjni.standin: another libtarvex.so is already loaded, from "
          + foreign + ". Initialise StandIn before Norv1.LocalIface (for example, call"
          + " StandIn.reset() in a @BeforeAll), and do not load the vendor's library in tests");
    }
    System.setProperty("tarvex.library", library.toString());
    FUNCTIONS = List.of(functions0());
  }

  /**
   * An outstanding block of the library's allocator.
   *
   * @param function the function that handed it out, as in {@link #calls()} ("" when it came
   *     from outside any call)
   * @param size its size in bytes
   */
  public record Block(String function, long size) {}

  /**
   * Every call of {@code function} returns {@code status} without doing its work, until
   * {@link #reset()}. Replaces any failure programmed for that function. For {@code AllocMem}
   * and {@code GetErrorText}, which answer with a pointer, failing means answering null (the
   * status is ignored). A failing Update or Final stage of a stream ends the stream's handle,
   * as the library does.
   *
   * @param function the function, e.g. {@code "VerifyMem"}
   * @param status the status to return, e.g. the vendor's code for "server unreachable"
   * @throws IllegalArgumentException for an unknown function
   */
  public static void fail(String function, int status) {
    fail0(checked(function), status, -1);
  }

  /**
   * Only the next call of {@code function} returns {@code status} without doing its work; the
   * calls after it answer as before. Otherwise as {@link #fail(String, int)}.
   *
   * @param function the function, e.g. {@code "SignMem"}
   * @param status the status to return
   * @throws IllegalArgumentException for an unknown function
   */
  public static void failNext(String function, int status) {
    fail0(checked(function), status, 1);
  }

  /**
   * The next call of {@code function} raises a real machine fault inside the library, before
   * doing anything else, as a defective vendor library might. The bridge catches it and
   * returns the fault's code (for example {@code 0xC0000005} for {@code "SEGV"}); the library's
   * state for that context is then to be treated as undefined by the application.
   *
   * @param function the function, e.g. {@code "HashMem"}
   * @param signal one of {@code "SEGV"}, {@code "BUS"}, {@code "FPE"}, {@code "ILL"}
   * @throws IllegalArgumentException for an unknown function or signal
   */
  public static void faultNext(String function, String signal) {
    String name = checked(function);
    int index = SIGNALS.indexOf(Objects.requireNonNull(signal, "signal"));
    if (index < 0) {
      throw new IllegalArgumentException("unknown signal \"" + signal + "\"; the signals are " + SIGNALS);
    }
    fault0(name, index);
  }

  /**
   * The next output block that {@code function} hands out carries exactly these bytes instead
   * of its default contents: the digest of the next {@code HashMem}, the stamped message of the
   * next {@code TspBlkUrlStampCmsMem}, and so on. Calls queue: the second call gives the
   * output after that. A call that hands out no block (one that fails, or a function without
   * an output block) leaves the queue alone; where a function hands out two blocks, the first
   * is replaced.
   *
   * @param function the function, e.g. {@code "StrHashFinalMem"}
   * @param bytes the output's contents (copied)
   * @throws IllegalArgumentException for an unknown function
   */
  public static void nextOutput(String function, byte[] bytes) {
    output0(checked(function), Objects.requireNonNull(bytes, "bytes"));
  }

  /**
   * Every certificate store answers empty until {@link #reset()}: {@code FindCert} finds no
   * certificate, and {@code EnumStoreObjects} and {@code EnumStoreObjectsEx} end at once with
   * {@link #END_OF_STORE}.
   */
  public static void emptyStore() {
    emptyStore0();
  }

  /**
   * The functions called since the last {@link #reset()}, in order, from every thread. They
   * include the memory functions the bridge calls to give results back ({@code FreeMem},
   * {@code FreeVerifyResult}, ...).
   *
   * @return the function names, as they are programmed
   */
  public static List<String> calls() {
    return List.of(calls0());
  }

  /**
   * The blocks the library handed out since the last {@link #reset()} and that were not given
   * back, oldest first. During a call on another thread, that call's blocks are among them.
   *
   * @return the outstanding blocks
   */
  public static List<Block> outstandingBlocks() {
    String[] pairs = blocks0();
    List<Block> blocks = new ArrayList<>();
    for (int i = 0; i + 1 < pairs.length; i += 2) blocks.add(new Block(pairs[i], Long.parseLong(pairs[i + 1])));
    return List.copyOf(blocks);
  }

  /**
   * Asserts that every block the library handed out since the last {@link #reset()} came back
   * exactly once, through the right function, with the context that produced it. Call it after
   * each test (an {@code @AfterEach}).
   *
   * @throws AssertionError listing each outstanding block (function, size) and each wrong
   *     release
   */
  public static void assertBalanced() {
    List<Block> blocks = outstandingBlocks();
    String[] errors = releaseErrors0();
    if (blocks.isEmpty() && errors.length == 0) return;
    StringBuilder text = new StringBuilder("the library's blocks are not balanced:");
    for (Block b : blocks) {
      text.append("\n  never released: ").append(b.size()).append(" bytes from ").append(b.function());
    }
    for (String e : errors) text.append("\n  wrong release: ").append(e);
    throw new AssertionError(text.toString());
  }

  /**
   * The stream and TLS session handles that are open: issued by an Init stage or a session's
   * creation, and not yet ended. An application that always finishes its streams leaves this
   * where it found it.
   *
   * @return the number of open handles
   */
  public static int openHandles() {
    return openHandles0();
  }

  /**
   * The functions of the library, as they are named to this class.
   *
   * @return the names, sorted
   */
  public static List<String> functions() {
    return FUNCTIONS;
  }

  /**
   * Back to the default answers: every failure, fault, queued output and {@link #emptyStore()}
   * is forgotten, the call log is emptied and the ledger starts afresh. What the application
   * holds stays valid: contexts stay live, and an open stream or session keeps working (a
   * stream fed before the reset and finished after it hashes everything fed). Blocks that were
   * outstanding are no longer reported, and giving them back later is not an error. A call
   * running on another thread at that moment is not disturbed.
   */
  public static void reset() {
    reset0();
  }

  private static String checked(String function) {
    Objects.requireNonNull(function, "function");
    if (!FUNCTIONS.contains(function)) {
      throw new IllegalArgumentException("unknown function \"" + function
          + "\" (named as in QUMEN_<function>, without the prefix); the functions are "
          + String.join(", ", FUNCTIONS));
    }
    return function;
  }

  private static native String foreignLibrary0(String kit);

  private static native String[] functions0();

  private static native void fail0(String function, int status, int times);

  private static native void fault0(String function, int signal);

  private static native void output0(String function, byte[] bytes);

  private static native void emptyStore0();

  private static native String[] calls0();

  private static native String[] blocks0();

  private static native String[] releaseErrors0();

  private static native int openHandles0();

  private static native void reset0();
}
