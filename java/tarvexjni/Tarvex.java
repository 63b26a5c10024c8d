package tarvexjni;

import static tarvexjni.Records.bytes;
import static tarvexjni.Records.in;

import Norv1.LocalIface;
import Norv1.LocalIface.altname_ex_t;
import Norv1.LocalIface.basic_constraints_ex_t;
import Norv1.LocalIface.certificate_t;
import Norv1.LocalIface.crl_t;
import Norv1.LocalIface.decrypt_param_t;
import Norv1.LocalIface.decrypt_result_t;
import Norv1.LocalIface.encrypt_param_t;
import Norv1.LocalIface.find_param_t;
import Norv1.LocalIface.find_result_t;
import Norv1.LocalIface.local_param_t;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.sign_param_t;
import Norv1.LocalIface.strhandle_t;
import Norv1.LocalIface.verify_param_t;
import Norv1.LocalIface.verify_result_t;
import java.io.InputStream;
import java.io.OutputStream;
import java.lang.ref.Cleaner;
import java.lang.ref.Reference;
import java.nio.file.Path;
import java.security.cert.X509Certificate;
import java.util.Collection;
import java.util.List;
import java.util.Objects;
import java.util.Optional;

/**
 * A context of the library {@code tarvex}: every operation of the library runs in one. Open it,
 * use it, close it:
 *
 * <pre>{@code
 * try (Tarvex tarvex = Tarvex.openMinimal()) {
 *   byte[] digest = tarvex.hash(document);
 *   byte[] signed = tarvex.sign(document);
 *   Verification v = tarvex.verify(signed);
 *   if (!v.isValid()) throw new SecurityException("not validly signed: " + v);
 *   byte[] content = v.content();
 * } catch (TarvexException e) {
 *   log.error("the library refused: status {} {}", e.status(), e.libraryText().orElse(""));
 * }
 * }</pre>
 *
 * <h2>Opening and closing</h2>
 * {@link #openMinimal()}, {@link #open(String, int)} and {@link #open(int, Setup)} start a
 * context, or throw {@link TarvexException} with the library's status. {@link #close()} ends it
 * once: a second {@code close()} does nothing, and any other method of a closed context throws
 * {@link IllegalStateException} without reaching the library. A context that is dropped without
 * {@code close()} is ended when the garbage collector finds it unreachable (a {@link
 * java.lang.ref.Cleaner}); that is a safety net, not a way to manage contexts, since it may come
 * late or never.
 *
 * <h2>Failures</h2>
 * A failed call throws {@link TarvexException}, unchecked, with the status, its name where the
 * project knows one, and the library's text for it; the answers a caller acts on (a signature
 * that does not verify, the end of a store) are values instead. When the library crashes inside a
 * call (a machine fault, {@link TarvexException#isFault()}), its state is undefined: the context
 * then refuses every further operation with {@link IllegalStateException} and only closes; open
 * another one.
 *
 * <h2>Threads</h2>
 * A context is safe to share: its calls into the library run one at a time, since whether the
 * library allows two threads in one context at once is the library's rule, not this API's. A
 * thread that calls while another is inside the library waits for it, and that wait can be
 * interrupted. A thread interrupted while it waits (or before it calls) gives up before the
 * library is called: the operation throws {@link java.util.concurrent.CancellationException},
 * unchecked, whose cause is the {@link InterruptedException}, and the thread's interrupt status
 * stays set for whatever it blocks on next; the context is as it was. So {@link
 * java.util.concurrent.Future#cancel(boolean) Future.cancel(true)} and {@link
 * java.util.concurrent.ExecutorService#shutdownNow()} stop work queued on a shared context. The
 * streams' {@code read} and {@code write}, which declare {@link java.io.IOException}, throw {@link
 * java.io.InterruptedIOException} instead, as {@code java.io} does. A call already inside the
 * library runs to its end: native code cannot be interrupted. {@link #close()} is not
 * interrupted either: it waits for a call in progress, then ends the context's open streams and
 * the context.
 *
 * <p>For throughput, give each thread a context of its own at a time: a {@link TarvexPool}
 * lends a bounded number of contexts to platform and virtual threads alike, and ends them all
 * when it closes.
 *
 * <pre>{@code
 * try (TarvexPool pool = new TarvexPool(Runtime.getRuntime().availableProcessors())) {
 *   byte[] digest = pool.call(tarvex -> tarvex.hash(piece));   // on any thread
 * }
 * }</pre>
 *
 * A call into the library pins a virtual thread to its carrier for the length of the call;
 * {@link TarvexPool} says when to run long calls on platform threads instead. A stream ({@link
 * #hashing()}, {@link #decrypting(InputStream)}, ...) is, like every {@code java.io} stream, for
 * one thread at a time; its calls are serialised with the other calls of its context.
 *
 * <h2>Bytes, files and texts</h2>
 * The API makes no copy of a byte array on the Java heap, and nothing writes into one. The
 * bridge copies each input block into native memory of its own for the length of the call (up
 * to 256 bytes on the stack, more into memory the calling thread maps from the system), so a
 * call on an array of <i>n</i> bytes needs <i>n</i> bytes of native memory beside the heap while
 * it runs; memory for large blocks is kept for later calls only within a budget for the whole
 * process, 256 MiB unless {@code tarvexjni.scratch.retain} sets another. The library's outputs
 * are copied into new arrays that the API hands over, the caller's. To hash, sign or encrypt
 * data too large to hold, pass its file (the library reads and writes files itself) or use the
 * streams: {@link #hashing(InputStream)}, {@link #hashing()}, {@link #encrypting(OutputStream,
 * List)}, ..., which hold one piece at a time. Files are passed by their absolute path on the
 * default file system, and a failed file operation names them. Texts (names, file names) reach
 * the library one byte per character, in the single-byte encoding that the system property
 * {@code tarvexjni.codeset} names, else in the codeset of the process locale: a character that
 * the encoding writes with several bytes fails the call with {@link TarvexException} whose cause
 * is a {@code java.io.CharConversionException}, and whose message names the text, the encoding
 * and the setting.
 *
 * <h2>Absent values</h2>
 * Nothing the API returns is null. A result that may be absent as a whole is an {@link
 * Optional} (a message's sender, a signer's certificate, the library's text for a status); a
 * field the library left empty is empty: {@code ""} for a text (the library does not tell an
 * empty text from a missing one), an empty list, an empty array, or 0. Parameters, and the
 * components of the values a caller makes to ask for something ({@link Setup}, {@link
 * CertificateQuery}), take null for "none" where they say so.
 *
 * <h2>What is not here</h2>
 * The option words of operations that this class passes as 0, and the families it does not cover
 * (CMS messages, time stamps, OCSP, TLS sessions, registry profiles, ...), are reached through
 * {@link #call(String, LibraryCall)} and {@link #callForStatus(String, LibraryCall)}, which run a
 * call of {@link LocalIface} in this context, serialised like the operations here; {@link
 * Certificate#from(LocalIface.certificate_t)}, {@link Verification#from}, {@link Decrypted#from}
 * and their kind turn {@code LocalIface}'s records into this API's results.
 */
public final class Tarvex implements AutoCloseable {

  static final Cleaner CLEANER = Cleaner.create();

  private final Context context;
  private final Cleaner.Cleanable cleanable;

  private Tarvex(Context context) {
    this.context = context;
    this.cleanable = CLEANER.register(this, context);
  }

  /**
   * Where {@link #open(int, Setup)} finds the user's keys and certificates; what each location
   * means is the library's. {@link #toString()} does not show the PIN.
   *
   * @param flags options, the library's bits
   * @param pse the personal security environment to open, or null
   * @param localStore the local certificate store, or null
   * @param ldap the LDAP directory, or null
   * @param pin the PIN, or null
   */
  public record Setup(int flags, String pse, String localStore, String ldap, String pin) {
    /**
     * The setup without its PIN.
     *
     * @return a description in which the PIN, if any, is masked
     */
    @Override
    public String toString() {
      return (
        "Setup[flags=" +
        flags +
        ", pse=" +
        pse +
        ", localStore=" +
        localStore +
        ", ldap=" +
        ldap +
        ", pin=" +
        (pin == null ? "null" : "****") +
        "]"
      );
    }
  }

  // ---- Opening and closing ---------------------------------------------------------------------

  /**
   * Starts the library with its minimal setup and opens a context.
   *
   * @return the open context
   * @throws TarvexException when the library refuses to start
   */
  public static Tarvex openMinimal() {
    return new Tarvex(Context.open("InitMinimal", LocalIface::QUMENJNI_InitMinimal));
  }

  // Context.open, its failure explained by the texts it passed.
  private static Context opened(String operation, Texts texts, LibraryCall init) {
    try {
      return Context.open(operation, init);
    } catch (TarvexException e) {
      throw texts.explain(e);
    }
  }

  /**
   * Starts the library and opens a context.
   *
   * @param name a name for the library, whose meaning is the library's; null for none
   * @param option an option word, the library's
   * @return the open context
   * @throws TarvexException when the library refuses to start
   */
  public static Tarvex open(String name, int option) {
    return new Tarvex(
      opened("Initialize", Texts.of("name", name), lib ->
        LocalIface.QUMENJNI_Initialize(lib, name, option)
      )
    );
  }

  /**
   * Starts the library with the user's key and certificate locations and opens a context.
   *
   * @param option an option word, the library's
   * @param setup where the library finds the user's keys and certificates
   * @return the open context
   * @throws TarvexException when the library refuses to start
   */
  public static Tarvex open(int option, Setup setup) {
    Objects.requireNonNull(setup, "setup");
    local_param_t param = new local_param_t();
    param.flag = setup.flags();
    param.pse = setup.pse();
    param.localstore = setup.localStore();
    param.ldap = setup.ldap();
    param.pincode = setup.pin();
    Texts texts = Texts.of("setup.pse", param.pse)
      .text("setup.localStore", param.localstore)
      .text("setup.ldap", param.ldap)
      .secret("setup.pin", param.pincode);
    return new Tarvex(
      opened("InitializeEx", texts, lib -> LocalIface.QUMENJNI_InitializeEx(lib, option, param))
    );
  }

  /**
   * Whether this context is open: neither {@link #close() closed} nor ended by the cleaner. A
   * context that a machine fault made unusable is still open until it is closed.
   *
   * @return true while open
   */
  public boolean isOpen() {
    try {
      return context.isOpen();
    } finally {
      Reference.reachabilityFence(this);
    }
  }

  /**
   * Ends the context: first its streams that are still open (their results dropped), then the
   * context itself. Waits for a call in progress on another thread. Only the first call does
   * anything; later ones return at once.
   *
   * @throws TarvexException when the library fails to end the context (reported by the first
   *     call only; the context counts as closed all the same)
   */
  @Override
  public void close() {
    cleanable.clean();
    Integer status = context.takeEndStatus();
    if (status != null && status != 0) throw new TarvexException(
      "Uninitialize",
      status,
      null,
      null
    );
  }

  /**
   * The context's state, for logs.
   *
   * @return {@code "Tarvex[open]"}, {@code "Tarvex[closed]"}, or, after a machine fault, {@code
   *     "Tarvex[open, unusable after a machine fault in <operation> (<status>)]"}
   */
  @Override
  public String toString() {
    try {
      return "Tarvex[" + context.state() + "]";
    } finally {
      Reference.reachabilityFence(this);
    }
  }

  // ---- Calls ---------------------------------------------------------------------------------

  /**
   * Runs a call of {@link LocalIface} in this context, for what this class does not cover, and
   * throws unless it succeeded: the call receives the {@code LocalIface} that holds the context,
   * and returns a status. It runs serialised with the context's other calls and is checked like
   * them. {@link #callForStatus(String, LibraryCall)} returns the status instead, for calls whose
   * failure is an answer (a verification).
   *
   * <pre>{@code
   * LocalIface.mem_blk_t stamped = new LocalIface.mem_blk_t();
   * tarvex.call("TspBlkUrlStampCmsMem", lib -> LocalIface.QUMENJNI_TspBlkUrlStampCmsMem(
   *     lib, new LocalIface.tsp_request_param_t(), url, new LocalIface.mem_blk_t(signed), stamped));
   * }</pre>
   *
   * <p>The call must use the {@code LocalIface} only while it runs, must not end the context
   * ({@code QUMENJNI_Uninitialize}) nor start another in it, and should make one call of the
   * library (a second one would run without the checks between the two).
   *
   * @param operation the library function called, named as in {@code QUMEN_<operation>}, for
   *     the exception's message
   * @param call the call, returning its status
   * @throws TarvexException when the call returns a status other than 0 (a fault makes the
   *     context unusable, as everywhere), or when the bridge raised a checked exception (its
   *     cause); an unchecked exception of the call is thrown as it is
   * @throws java.util.concurrent.CancellationException when the thread was interrupted while it
   *     waited for the context (its interrupt status kept; the call was not made)
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public void call(String operation, LibraryCall call) {
    Objects.requireNonNull(operation, "operation");
    Objects.requireNonNull(call, "call");
    check(operation, call);
  }

  /**
   * Runs a call of {@link LocalIface} in this context and returns its status, 0 or the
   * library's failure code, as {@link #verify(byte[])} does: for calls whose failure is an
   * answer, not an error. A machine fault and an exception of the bridge still throw, as in
   * {@link #call(String, LibraryCall)}. With the conversions of the API's results, a call the API
   * leaves to {@code LocalIface} gives the API's values, for example a verification with a
   * second input:
   *
   * <pre>{@code
   * LocalIface.verify_result_t result = new LocalIface.verify_result_t();
   * int status = tarvex.callForStatus("VerifyMem", lib -> LocalIface.QUMENJNI_VerifyMem(lib,
   *     VerifyOptions.DEFAULT.toRecord(), new LocalIface.mem_blk_t(signature),
   *     new LocalIface.mem_blk_t(document), null, result));
   * Verification verification = Verification.from(status, null, result);
   * }</pre>
   *
   * @param operation the library function called, named as in {@code QUMEN_<operation>}, for
   *     the exception's message
   * @param call the call, returning its status
   * @return the call's status: 0, or the library's failure code (or {@link Status#NO_BUFFER},
   *     the bridge's, when the library was not called for want of memory)
   * @throws TarvexException when the library crashed (a machine fault, which makes the context
   *     unusable), or when the bridge raised a checked exception (its cause); an unchecked
   *     exception of the call is thrown as it is
   * @throws java.util.concurrent.CancellationException when the thread was interrupted while it
   *     waited for the context (its interrupt status kept; the call was not made)
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public int callForStatus(String operation, LibraryCall call) {
    Objects.requireNonNull(operation, "operation");
    Objects.requireNonNull(call, "call");
    return status(operation, call);
  }

  // Every call of the library runs through these, each as Context's of that name: `this` stays
  // reachable until it returned, so that the cleaner cannot end the context under it.
  void check(String operation, LibraryCall call) {
    try {
      context.check(operation, call);
    } finally {
      Reference.reachabilityFence(this);
    }
  }

  int status(String operation, LibraryCall call) {
    try {
      return context.status(operation, call);
    } finally {
      Reference.reachabilityFence(this);
    }
  }

  void stage(String operation, Context.Stream stream, LibraryCall call) {
    try {
      context.stage(operation, stream, call);
    } finally {
      Reference.reachabilityFence(this);
    }
  }

  void lastStage(String operation, Context.Stream stream, LibraryCall call) {
    try {
      context.lastStage(operation, stream, call);
    } finally {
      Reference.reachabilityFence(this);
    }
  }

  int lastStageStatus(String operation, Context.Stream stream, LibraryCall call) {
    try {
      return context.lastStageStatus(operation, stream, call);
    } finally {
      Reference.reachabilityFence(this);
    }
  }

  Context.Stream openStream(
    String operation,
    strhandle_t handle,
    LibraryCall init,
    LibraryCall end
  ) {
    try {
      return context.openStream(operation, handle, init, end);
    } finally {
      Reference.reachabilityFence(this);
    }
  }

  void ensureUsable() {
    context.ensureUsable();
  }

  boolean isUsable() {
    return context.isUsable();
  }

  // Ends the streams still open in this context (for a pool taking it back).
  void endStreams() {
    try {
      context.endStreams();
    } finally {
      Reference.reachabilityFence(this);
    }
  }

  // A call whose failure is explained by the texts it passed: which text could not cross, which
  // files a file operation was given.
  private void check(String operation, Texts texts, LibraryCall call) {
    try {
      check(operation, call);
    } catch (TarvexException e) {
      throw texts.explain(e);
    }
  }

  // A verification that is not valid, with the library's text for the status requireValid()
  // reports, asked while the context is at hand.
  private Verification withText(Verification v) {
    int status = v.reportedStatus();
    if (status == 0) return v;
    try {
      return v.withLibraryText(Optional.ofNullable(context.libraryText(status)));
    } finally {
      Reference.reachabilityFence(this);
    }
  }

  // ---- Diagnostics and utilities ---------------------------------------------------------------

  /**
   * The library's text for a status.
   *
   * @param status any status
   * @return the text; empty when the library has none
   * @throws TarvexException when the text cannot be had, for example when the encoding of texts
   *     cannot carry it (the cause is then a {@code java.io.CharConversionException})
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public Optional<String> errorText(int status) {
    String[] text = new String[1];
    check("GetErrorText", lib -> {
      text[0] = LocalIface.QUMENJNI_GetErrorText(lib, status);
      return 0;
    });
    return Optional.ofNullable(text[0]);
  }

  /**
   * Random bytes from the library.
   *
   * @param count how many
   * @return {@code count} bytes, or as many as the library gave
   * @throws IllegalArgumentException when {@code count} is negative
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public byte[] random(int count) {
    if (count < 0) throw new IllegalArgumentException("count " + count + " is negative");
    mem_blk_t out = new mem_blk_t();
    check("GenRandom", lib -> LocalIface.QUMENJNI_GenRandom(lib, count, out));
    return bytes(out);
  }

  /**
   * Has the library refresh its certificate revocation lists.
   *
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public void updateCrls() {
    check("UpdateCRLs", LocalIface::QUMENJNI_UpdateCRLs);
  }

  /**
   * Has the library export the user's certificates to the operating system's certificate store.
   *
   * @param option an option word, the library's
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public void exportToSystemStore(int option) {
    check("ExportToSystemStore", lib -> LocalIface.QUMENJNI_ExportToSystemStore(lib, option));
  }

  // ---- Hashing -------------------------------------------------------------------------------

  /**
   * The library's hash of a byte array.
   *
   * @param data the bytes to hash
   * @return the hash
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public byte[] hash(byte[] data) {
    mem_blk_t input = in(Objects.requireNonNull(data, "data"));
    mem_blk_t out = new mem_blk_t();
    check("HashMem", lib -> LocalIface.QUMENJNI_HashMem(lib, input, out));
    return bytes(out);
  }

  /**
   * The library's hash of a byte array, with a leading text for the library.
   *
   * @param text a text whose meaning is the library's; null for none
   * @param data the bytes to hash
   * @return the hash
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public byte[] hash(String text, byte[] data) {
    mem_blk_t input = in(Objects.requireNonNull(data, "data"));
    mem_blk_t out = new mem_blk_t();
    check("BlkHashMem", Texts.of("text", text), lib ->
      LocalIface.QUMENJNI_BlkHashMem(lib, text, input, out)
    );
    return bytes(out);
  }

  /**
   * The library's hash of a file, which the library reads itself.
   *
   * @param file the file
   * @return the hash
   * @throws IllegalArgumentException when the file is not on the default file system
   * @throws TarvexException when the library fails, for example when it cannot read the file
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public byte[] hash(Path file) {
    Texts texts = Texts.none();
    String name = texts.file("file", file);
    mem_blk_t out = new mem_blk_t();
    check("HashFile", texts, lib -> LocalIface.QUMENJNI_HashFile(lib, name, out));
    return bytes(out);
  }

  /**
   * The library's hash of a file, with a leading text for the library.
   *
   * @param text a text whose meaning is the library's; null for none
   * @param file the file
   * @return the hash
   * @throws IllegalArgumentException when the file is not on the default file system
   * @throws TarvexException when the library fails, for example when it cannot read the file
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public byte[] hash(String text, Path file) {
    Texts texts = Texts.of("text", text);
    String name = texts.file("file", file);
    mem_blk_t out = new mem_blk_t();
    check("BlkHashFile", texts, lib -> LocalIface.QUMENJNI_BlkHashFile(lib, text, name, out));
    return bytes(out);
  }

  /**
   * A stream that hashes what is written to it; {@link FinishingOutputStream#finish()} returns the
   * hash.
   *
   * <pre>{@code
   * try (FinishingOutputStream<byte[]> hashing = tarvex.hashing()) {
   *   Files.copy(file, hashing);
   *   digest = hashing.finish();
   * }
   * }</pre>
   *
   * @return the open stream
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public FinishingOutputStream<byte[]> hashing() {
    return hashing((String) null);
  }

  /**
   * A stream that hashes what is written to it, with a leading text for the library.
   *
   * @param text a text whose meaning is the library's; null for none
   * @return the open stream
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #hashing()
   */
  public FinishingOutputStream<byte[]> hashing(String text) {
    try {
      return new FinishingOutputStream<>(this, hashStages(text));
    } catch (TarvexException e) {
      throw Texts.of("text", text).explain(e);
    }
  }

  /**
   * A stream that reads {@code source} and hashes what passes through it, as {@link
   * java.security.DigestInputStream} does; {@link FinishingInputStream#finish()} returns the
   * hash of every byte read. Closing it closes {@code source}.
   *
   * <pre>{@code
   * try (FinishingInputStream<byte[]> in = tarvex.hashing(Files.newInputStream(upload))) {
   *   Files.copy(in, stored);
   *   digest = in.finish();
   * }
   * }</pre>
   *
   * @param source the stream to read
   * @return the open stream
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public FinishingInputStream<byte[]> hashing(InputStream source) {
    return hashing(null, source);
  }

  /**
   * A stream that reads {@code source} and hashes what passes through it, with a leading text for
   * the library.
   *
   * @param text a text whose meaning is the library's; null for none
   * @param source the stream to read
   * @return the open stream
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #hashing(InputStream)
   */
  public FinishingInputStream<byte[]> hashing(String text, InputStream source) {
    Objects.requireNonNull(source, "source");
    try {
      return new FinishingInputStream<>(this, source, hashStages(text));
    } catch (TarvexException e) {
      throw Texts.of("text", text).explain(e);
    }
  }

  private static Feed.Stages<byte[]> hashStages(String text) {
    strhandle_t h = new strhandle_t();
    return new Feed.Stages<>(
      "StrHash",
      h,
      lib -> LocalIface.QUMENJNI_StrHashInitMem(lib, text, h),
      (lib, in, out) -> LocalIface.QUMENJNI_StrHashUpdateMem(lib, h, in),
      (lib, out) -> LocalIface.QUMENJNI_StrHashFinalMem(lib, h, out),
      false,
      (status, out) -> bytes(out)
    );
  }

  // ---- Signing -------------------------------------------------------------------------------

  /**
   * Signs a byte array.
   *
   * @param content the content to sign
   * @return the signed message
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public byte[] sign(byte[] content) {
    return sign(content, 0);
  }

  /**
   * Signs a byte array, with the library's signing options.
   *
   * @param content the content to sign
   * @param flags the signing options, the library's bits
   * @return the signed message
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public byte[] sign(byte[] content, int flags) {
    mem_blk_t input = in(Objects.requireNonNull(content, "content"));
    sign_param_t param = signParam(flags);
    mem_blk_t out = new mem_blk_t();
    check("SignMem", lib -> LocalIface.QUMENJNI_SignMem(lib, param, input, null, out));
    return bytes(out);
  }

  /**
   * Signs a file into another; the library reads and writes them.
   *
   * @param content the file to sign
   * @param signed the file to write the signed message to
   * @throws IllegalArgumentException when a file is not on the default file system
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public void sign(Path content, Path signed) {
    sign(content, signed, 0);
  }

  /**
   * Signs a file into another, with the library's signing options.
   *
   * @param content the file to sign
   * @param signed the file to write the signed message to
   * @param flags the signing options, the library's bits
   * @throws IllegalArgumentException when a file is not on the default file system
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public void sign(Path content, Path signed, int flags) {
    Texts texts = Texts.none();
    String in = texts.file("content", content);
    String out = texts.file("signed", signed);
    sign_param_t param = signParam(flags);
    check("SignFile", texts, lib -> LocalIface.QUMENJNI_SignFile(lib, param, in, null, out));
  }

  /**
   * A stream that signs what is written to it; {@link FinishingOutputStream#finish()} returns the
   * signed message.
   *
   * @return the open stream
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public FinishingOutputStream<byte[]> signing() {
    return signing(0);
  }

  /**
   * A stream that signs what is written to it, with the library's signing options.
   *
   * @param flags the signing options, the library's bits
   * @return the open stream
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #signing()
   */
  public FinishingOutputStream<byte[]> signing(int flags) {
    strhandle_t h = new strhandle_t();
    sign_param_t param = signParam(flags);
    return new FinishingOutputStream<>(
      this,
      new Feed.Stages<>(
        "StrSign",
        h,
        lib -> LocalIface.QUMENJNI_StrSignInitMem(lib, param, null, h),
        (lib, in, out) -> LocalIface.QUMENJNI_StrSignUpdateMem(lib, param, h, in),
        (lib, out) -> LocalIface.QUMENJNI_StrSignFinalMem(lib, param, h, out),
        false,
        (status, out) -> bytes(out)
      )
    );
  }

  // ---- Verifying -----------------------------------------------------------------------------

  /**
   * Verifies a signed message. The answer is a value whatever the library decided: see
   * {@link Verification} for what its overall status promises about each signer.
   *
   * @param signed the signed message
   * @return the verification: overall status, content, every signer
   * @throws TarvexException only when the library crashed or the bridge failed; a message that
   *     does not verify is a {@link Verification} that is not {@linkplain Verification#isValid()
   *     valid}
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public Verification verify(byte[] signed) {
    return verify(signed, VerifyOptions.DEFAULT);
  }

  /**
   * Verifies a signed message under requirements.
   *
   * @param signed the signed message
   * @param options what the verification requires
   * @return the verification: overall status, content, every signer
   * @throws TarvexException only when the library crashed or the bridge failed
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #verify(byte[])
   */
  public Verification verify(byte[] signed, VerifyOptions options) {
    mem_blk_t input = in(Objects.requireNonNull(signed, "signed"));
    verify_param_t param = Records.verifyParam(Objects.requireNonNull(options, "options"));
    mem_blk_t content = new mem_blk_t();
    verify_result_t result = new verify_result_t();
    int status = status("VerifyMem", lib ->
      LocalIface.QUMENJNI_VerifyMem(lib, param, input, null, content, result)
    );
    return withText(Records.verification(status, content, result));
  }

  /**
   * Verifies a signed file; the library writes its content to another file.
   *
   * @param signed the signed file
   * @param content the file to write the content to
   * @return the verification: overall status and every signer ({@link Verification#content()}
   *     is empty: the content is in its file)
   * @throws IllegalArgumentException when a file is not on the default file system
   * @throws TarvexException only when the library crashed or the bridge failed
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #verify(byte[])
   */
  public Verification verify(Path signed, Path content) {
    return verify(signed, content, VerifyOptions.DEFAULT);
  }

  /**
   * Verifies a signed file under requirements; the library writes its content to another file.
   *
   * @param signed the signed file
   * @param content the file to write the content to
   * @param options what the verification requires
   * @return the verification: overall status and every signer ({@link Verification#content()}
   *     is empty: the content is in its file)
   * @throws IllegalArgumentException when a file is not on the default file system
   * @throws TarvexException only when the library crashed or the bridge failed
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #verify(byte[])
   */
  public Verification verify(Path signed, Path content, VerifyOptions options) {
    Texts texts = Texts.none();
    String in = texts.file("signed", signed);
    String out = texts.file("content", content);
    verify_param_t param = Records.verifyParam(Objects.requireNonNull(options, "options"));
    verify_result_t result = new verify_result_t();
    int status;
    try {
      status = status("VerifyFile", lib ->
        LocalIface.QUMENJNI_VerifyFile(lib, param, in, null, out, result)
      );
    } catch (TarvexException e) {
      throw texts.explain(e);
    }
    return withText(Records.verification(status, null, result));
  }

  /**
   * A stream that verifies the signed message written to it; {@link FinishingOutputStream#finish()}
   * returns the {@link Verification}, a value whatever the library decided, as from
   * {@link #verify(byte[])}.
   *
   * @return the open stream
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public FinishingOutputStream<Verification> verifying() {
    return verifying(VerifyOptions.DEFAULT);
  }

  /**
   * A stream that verifies the signed message written to it, under requirements.
   *
   * @param options what the verification requires
   * @return the open stream
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #verifying()
   */
  public FinishingOutputStream<Verification> verifying(VerifyOptions options) {
    verify_param_t param = Records.verifyParam(Objects.requireNonNull(options, "options"));
    strhandle_t h = new strhandle_t();
    verify_result_t result = new verify_result_t();
    return new FinishingOutputStream<>(
      this,
      new Feed.Stages<>(
        "StrVerify",
        h,
        lib -> LocalIface.QUMENJNI_StrVerifyInitMem(lib, param, null, h),
        (lib, in, out) -> LocalIface.QUMENJNI_StrVerifyUpdateMem(lib, param, h, in),
        (lib, out) -> LocalIface.QUMENJNI_StrVerifyFinalMem(lib, param, h, out, result),
        true,
        (status, content) -> withText(Records.verification(status, content, result))
      )
    );
  }

  // ---- Envelopes -----------------------------------------------------------------------------

  /**
   * Encrypts a byte array for recipients.
   *
   * @param content the content
   * @param recipients the recipients' certificates (as the library returned them, or
   *     {@link Certificate#ofEncoded(byte[])})
   * @return the encrypted message
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public byte[] encrypt(byte[] content, List<Certificate> recipients) {
    return encrypt(content, recipients, 0);
  }

  /**
   * Encrypts a byte array for recipients, with the library's encryption options.
   *
   * @param content the content
   * @param recipients the recipients' certificates
   * @param flags the encryption options, the library's bits
   * @return the encrypted message
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public byte[] encrypt(byte[] content, List<Certificate> recipients, int flags) {
    mem_blk_t input = in(Objects.requireNonNull(content, "content"));
    encrypt_param_t param = encryptParam(recipients, flags);
    mem_blk_t out = new mem_blk_t();
    check("EncryptMem", lib -> LocalIface.QUMENJNI_EncryptMem(lib, param, input, out));
    return bytes(out);
  }

  /**
   * Encrypts a byte array for recipients given as the JDK's certificates: each goes to the
   * library as its encoding ({@link Certificate#from(X509Certificate)}).
   *
   * @param content the content
   * @param recipients the recipients' certificates
   * @return the encrypted message
   * @throws IllegalArgumentException when a certificate cannot give its encoding
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public byte[] encrypt(byte[] content, Collection<? extends X509Certificate> recipients) {
    return encrypt(content, recipients, 0);
  }

  /**
   * Encrypts a byte array for recipients given as the JDK's certificates, with the library's
   * encryption options.
   *
   * @param content the content
   * @param recipients the recipients' certificates
   * @param flags the encryption options, the library's bits
   * @return the encrypted message
   * @throws IllegalArgumentException when a certificate cannot give its encoding
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public byte[] encrypt(
    byte[] content,
    Collection<? extends X509Certificate> recipients,
    int flags
  ) {
    return encrypt(content, fromX509(recipients), flags);
  }

  /**
   * Encrypts a file for recipients into another; the library reads and writes them.
   *
   * @param content the file to encrypt
   * @param encrypted the file to write the encrypted message to
   * @param recipients the recipients' certificates
   * @throws IllegalArgumentException when a file is not on the default file system
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public void encrypt(Path content, Path encrypted, List<Certificate> recipients) {
    encrypt(content, encrypted, recipients, 0);
  }

  /**
   * Encrypts a file for recipients into another, with the library's encryption options.
   *
   * @param content the file to encrypt
   * @param encrypted the file to write the encrypted message to
   * @param recipients the recipients' certificates
   * @param flags the encryption options, the library's bits
   * @throws IllegalArgumentException when a file is not on the default file system
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public void encrypt(Path content, Path encrypted, List<Certificate> recipients, int flags) {
    Texts texts = Texts.none();
    String in = texts.file("content", content);
    String out = texts.file("encrypted", encrypted);
    encrypt_param_t param = encryptParam(recipients, flags);
    check("EncryptFile", texts, lib -> LocalIface.QUMENJNI_EncryptFile(lib, param, in, out));
  }

  /**
   * Encrypts a file into another for recipients given as the JDK's certificates.
   *
   * @param content the file to encrypt
   * @param encrypted the file to write the encrypted message to
   * @param recipients the recipients' certificates
   * @throws IllegalArgumentException when a file is not on the default file system, or a
   *     certificate cannot give its encoding
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public void encrypt(
    Path content,
    Path encrypted,
    Collection<? extends X509Certificate> recipients
  ) {
    encrypt(content, encrypted, recipients, 0);
  }

  /**
   * Encrypts a file into another for recipients given as the JDK's certificates, with the
   * library's encryption options.
   *
   * @param content the file to encrypt
   * @param encrypted the file to write the encrypted message to
   * @param recipients the recipients' certificates
   * @param flags the encryption options, the library's bits
   * @throws IllegalArgumentException when a file is not on the default file system, or a
   *     certificate cannot give its encoding
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public void encrypt(
    Path content,
    Path encrypted,
    Collection<? extends X509Certificate> recipients,
    int flags
  ) {
    encrypt(content, encrypted, fromX509(recipients), flags);
  }

  /**
   * The encrypted form of a stream, as a stream: reading it reads {@code content} and encrypts
   * it piece by piece; the encrypted message is complete when the returned stream reaches its
   * end. Closing the returned stream closes {@code content} and ends the library's stream,
   * whether or not it was read to its end.
   *
   * <pre>{@code
   * try (InputStream encrypted = tarvex.encrypting(Files.newInputStream(plain), List.of(recipient))) {
   *   Files.copy(encrypted, target);
   * }
   * }</pre>
   *
   * <p>A failure of the library is thrown from {@code read} as {@link TarvexException}; a
   * failure of {@code content} as the {@link java.io.IOException} it threw.
   *
   * @param content the content to encrypt
   * @param recipients the recipients' certificates
   * @return the encrypted stream
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #encrypting(OutputStream, List)
   */
  public InputStream encrypting(InputStream content, List<Certificate> recipients) {
    return encrypting(content, recipients, 0);
  }

  /**
   * The encrypted form of a stream, with the library's encryption options.
   *
   * @param content the content to encrypt
   * @param recipients the recipients' certificates
   * @param flags the encryption options, the library's bits
   * @return the encrypted stream
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #encrypting(InputStream, List)
   */
  public InputStream encrypting(InputStream content, List<Certificate> recipients, int flags) {
    Objects.requireNonNull(content, "content");
    return new LibraryInputStream(this, content, encryptStages(encryptParam(recipients, flags)));
  }

  /**
   * The encrypted form of a stream, for recipients given as the JDK's certificates.
   *
   * @param content the content to encrypt
   * @param recipients the recipients' certificates
   * @return the encrypted stream
   * @throws IllegalArgumentException when a certificate cannot give its encoding
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #encrypting(InputStream, List)
   */
  public InputStream encrypting(
    InputStream content,
    Collection<? extends X509Certificate> recipients
  ) {
    return encrypting(content, recipients, 0);
  }

  /**
   * The encrypted form of a stream, for recipients given as the JDK's certificates, with the
   * library's encryption options.
   *
   * @param content the content to encrypt
   * @param recipients the recipients' certificates
   * @param flags the encryption options, the library's bits
   * @return the encrypted stream
   * @throws IllegalArgumentException when a certificate cannot give its encoding
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #encrypting(InputStream, List)
   */
  public InputStream encrypting(
    InputStream content,
    Collection<? extends X509Certificate> recipients,
    int flags
  ) {
    return encrypting(content, fromX509(recipients), flags);
  }

  /**
   * A stream that encrypts what is written to it and writes the encrypted message on to {@code
   * target}, as {@link javax.crypto.CipherOutputStream} does: each write is encrypted at once
   * (what the library gives back for it goes to {@code target}), and {@link OutputStream#close()}
   * completes the message, writes its last piece and closes {@code target}.
   *
   * <pre>{@code
   * try (OutputStream sealed = tarvex.encrypting(Files.newOutputStream(target), List.of(recipient))) {
   *   Files.copy(plain, sealed);
   * }
   * }</pre>
   *
   * <p>As with {@code CipherOutputStream}, closing completes the message with whatever was
   * written: when writing fails half-way, {@code target} ends up holding a complete message of
   * part of the content, so discard it. When the library fails a write, it ends its stream:
   * nothing is completed, and {@code close()} only closes {@code target}. A failure of the
   * library is thrown as {@link TarvexException} from {@code write} or {@code close}, a failure
   * of {@code target} as its {@link java.io.IOException}. The library's stream is ended exactly
   * once: at {@code close()}, by the library when a write fails, by the context's {@code
   * close()}, or, for a stream dropped unclosed, by the cleaner (the message then incomplete). A
   * thread interrupted while it waits for the context gets {@link java.io.InterruptedIOException},
   * its interrupt status kept; from {@code close()}, the message is then abandoned and {@code
   * target} closed. Each {@code write} of at least one byte is one call into the library: wrap
   * the stream in a {@link java.io.BufferedOutputStream} when writing in small pieces.
   *
   * @param target where the encrypted message goes
   * @param recipients the recipients' certificates
   * @return the encrypting stream
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public OutputStream encrypting(OutputStream target, List<Certificate> recipients) {
    return encrypting(target, recipients, 0);
  }

  /**
   * A stream that encrypts what is written to it on to {@code target}, with the library's
   * encryption options.
   *
   * @param target where the encrypted message goes
   * @param recipients the recipients' certificates
   * @param flags the encryption options, the library's bits
   * @return the encrypting stream
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #encrypting(OutputStream, List)
   */
  public OutputStream encrypting(OutputStream target, List<Certificate> recipients, int flags) {
    Objects.requireNonNull(target, "target");
    return new LibraryOutputStream(this, target, encryptStages(encryptParam(recipients, flags)));
  }

  /**
   * A stream that encrypts what is written to it on to {@code target}, for recipients given as
   * the JDK's certificates.
   *
   * @param target where the encrypted message goes
   * @param recipients the recipients' certificates
   * @return the encrypting stream
   * @throws IllegalArgumentException when a certificate cannot give its encoding
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #encrypting(OutputStream, List)
   */
  public OutputStream encrypting(
    OutputStream target,
    Collection<? extends X509Certificate> recipients
  ) {
    return encrypting(target, recipients, 0);
  }

  /**
   * A stream that encrypts what is written to it on to {@code target}, for recipients given as
   * the JDK's certificates, with the library's encryption options.
   *
   * @param target where the encrypted message goes
   * @param recipients the recipients' certificates
   * @param flags the encryption options, the library's bits
   * @return the encrypting stream
   * @throws IllegalArgumentException when a certificate cannot give its encoding
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #encrypting(OutputStream, List)
   */
  public OutputStream encrypting(
    OutputStream target,
    Collection<? extends X509Certificate> recipients,
    int flags
  ) {
    return encrypting(target, fromX509(recipients), flags);
  }

  private static Feed.Stages<Void> encryptStages(encrypt_param_t param) {
    strhandle_t h = new strhandle_t();
    return new Feed.Stages<>(
      "StrEncrypt",
      h,
      lib -> LocalIface.QUMENJNI_StrEncryptInitMem(lib, param, h),
      (lib, in, out) -> LocalIface.QUMENJNI_StrEncryptUpdateMem(lib, param, h, in, out),
      (lib, out) -> LocalIface.QUMENJNI_StrEncryptFinalMem(lib, param, h, out),
      false,
      null
    );
  }

  /**
   * Decrypts an envelope meant for the user.
   *
   * @param encrypted the encrypted message
   * @return the content and the sender's certificate
   * @throws TarvexException when the library fails, for example when the message is not for the
   *     user
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public Decrypted decrypt(byte[] encrypted) {
    mem_blk_t input = in(Objects.requireNonNull(encrypted, "encrypted"));
    mem_blk_t out = new mem_blk_t();
    decrypt_result_t result = new decrypt_result_t();
    check("DecryptMem", lib ->
      LocalIface.QUMENJNI_DecryptMem(lib, new decrypt_param_t(), input, out, result)
    );
    return Decrypted.from(out, result);
  }

  /**
   * Decrypts an encrypted file into another; the library reads and writes them.
   *
   * @param encrypted the encrypted file
   * @param content the file to write the content to
   * @return the sender's certificate; empty when the library names no sender
   * @throws IllegalArgumentException when a file is not on the default file system
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public Optional<Certificate> decrypt(Path encrypted, Path content) {
    Texts texts = Texts.none();
    String in = texts.file("encrypted", encrypted);
    String out = texts.file("content", content);
    decrypt_result_t result = new decrypt_result_t();
    check("DecryptFile", texts, lib ->
      LocalIface.QUMENJNI_DecryptFile(lib, new decrypt_param_t(), in, out, result)
    );
    return Records.sender(result.sender);
  }

  /**
   * The decrypted form of a stream, as a stream: reading it reads {@code encrypted} and decrypts
   * it piece by piece. Only when it reaches its end has the library checked the whole message:
   * a message that fails at its end throws {@link TarvexException} from that last {@code read},
   * so content read before it must not be trusted until then. {@link
   * DecryptingInputStream#sender()} then names the sender. Closing the returned stream closes
   * {@code encrypted} and ends the library's stream, whether or not it was read to its end.
   *
   * @param encrypted the encrypted message
   * @return the decrypted stream
   * @throws TarvexException when the library cannot open a stream
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public DecryptingInputStream decrypting(InputStream encrypted) {
    Objects.requireNonNull(encrypted, "encrypted");
    decrypt_param_t param = new decrypt_param_t();
    strhandle_t h = new strhandle_t();
    int[] state = new int[1];
    decrypt_result_t result = new decrypt_result_t();
    return new DecryptingInputStream(
      new LibraryInputStream(
        this,
        encrypted,
        new Feed.Stages<>(
          "StrDecrypt",
          h,
          lib -> LocalIface.QUMENJNI_StrDecryptInitMem(lib, param, null, state, h),
          (lib, in, out) -> LocalIface.QUMENJNI_StrDecryptUpdateMem(lib, param, h, in, state, out),
          (lib, out) -> LocalIface.QUMENJNI_StrDecryptFinalMem(lib, param, h, result),
          false,
          null
        )
      ),
      () -> Records.sender(result.sender)
    );
  }

  // ---- Certificates and CRLs -----------------------------------------------------------------

  /**
   * Parses an encoded certificate.
   *
   * @param encoded the encoded certificate
   * @return the certificate as the library reads it
   * @throws TarvexException when the library fails, for example on bytes that are not a
   *     certificate
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public Certificate parseCertificate(byte[] encoded) {
    mem_blk_t input = in(Objects.requireNonNull(encoded, "encoded"));
    certificate_t cert = new certificate_t();
    check("ParseCert", lib -> LocalIface.QUMENJNI_ParseCert(lib, input, 0, cert));
    return Records.certificate(cert);
  }

  /**
   * Verifies an encoded certificate and parses it.
   *
   * @param encoded the encoded certificate
   * @return the certificate, when it verified
   * @throws TarvexException when the certificate does not verify, or the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public Certificate verifyCertificate(byte[] encoded) {
    return verifyCertificate(encoded, VerifyOptions.DEFAULT);
  }

  /**
   * Verifies an encoded certificate under requirements and parses it.
   *
   * @param encoded the encoded certificate
   * @param options what the verification requires
   * @return the certificate, when it verified
   * @throws TarvexException when the certificate does not verify, or the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public Certificate verifyCertificate(byte[] encoded, VerifyOptions options) {
    mem_blk_t input = in(Objects.requireNonNull(encoded, "encoded"));
    verify_param_t param = Records.verifyParam(Objects.requireNonNull(options, "options"));
    certificate_t cert = new certificate_t();
    check("VerifyCert", lib -> LocalIface.QUMENJNI_VerifyCert(lib, param, input, cert));
    return Records.certificate(cert);
  }

  /**
   * Parses an encoded certificate revocation list.
   *
   * @param encoded the encoded CRL
   * @return the CRL as the library reads it
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public Crl parseCrl(byte[] encoded) {
    mem_blk_t input = in(Objects.requireNonNull(encoded, "encoded"));
    crl_t crl = new crl_t();
    check("ParseCrl", lib -> LocalIface.QUMENJNI_ParseCrl(lib, input, 0, crl));
    return Records.crl(crl);
  }

  /**
   * Parses the value of an alternative-name extension for its otherName entries.
   *
   * @param encoded the extension's value
   * @return the otherName entries, in the library's order
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public List<OtherName> parseAltNameExtension(byte[] encoded) {
    mem_blk_t input = in(Objects.requireNonNull(encoded, "encoded"));
    altname_ex_t names = new altname_ex_t();
    check("ParseAltnameEx", lib -> LocalIface.QUMENJNI_ParseAltnameEx(lib, input, names));
    return Records.list(names.othernames, OtherName::from);
  }

  /**
   * Parses the value of a basic-constraints extension.
   *
   * @param encoded the extension's value
   * @return the constraints
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public BasicConstraints parseBasicConstraints(byte[] encoded) {
    mem_blk_t input = in(Objects.requireNonNull(encoded, "encoded"));
    basic_constraints_ex_t constraints = new basic_constraints_ex_t();
    check("ParseBasicConstraintsEx", lib ->
      LocalIface.QUMENJNI_ParseBasicConstraintsEx(lib, input, constraints)
    );
    return BasicConstraints.from(constraints);
  }

  /**
   * Parses the value of a key-identifier extension.
   *
   * @param encoded the extension's value
   * @return the key identifier
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public byte[] parseKeyIdentifier(byte[] encoded) {
    mem_blk_t input = in(Objects.requireNonNull(encoded, "encoded"));
    mem_blk_t out = new mem_blk_t();
    check("ParseKeyIdentifierEx", lib -> LocalIface.QUMENJNI_ParseKeyIdentifierEx(lib, input, out));
    return bytes(out);
  }

  // ---- Stores --------------------------------------------------------------------------------

  /**
   * Searches the library's certificate store.
   *
   * @param query what to look for
   * @return the certificates found, in the library's order; empty when none
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public List<Certificate> findCertificates(CertificateQuery query) {
    Objects.requireNonNull(query, "query");
    find_param_t param = new find_param_t();
    param.flag = query.flags();
    param.info = query.info();
    certificate_t template = new certificate_t();
    template.subject = query.subject();
    template.issuer = query.issuer();
    template.serialNumber = query.serialNumber();
    template.keyId = query.keyId();
    if (query.email() != null) {
      template.subjectAltName = new LocalIface.altname_t();
      template.subjectAltName.emailAddress = query.email();
    }
    param.certTemplate = template;
    find_result_t found = new find_result_t();
    Texts texts = Texts.of("query.subject", query.subject())
      .text("query.issuer", query.issuer())
      .text("query.serialNumber", query.serialNumber())
      .text("query.keyId", query.keyId())
      .text("query.email", query.email());
    check("FindCert", texts, lib -> LocalIface.QUMENJNI_FindCert(lib, param, found));
    return Records.certificates(found.certs);
  }

  /**
   * Adds a certificate to the library's store.
   *
   * @param encoded the encoded certificate
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public void addCertificate(byte[] encoded) {
    mem_blk_t input = in(Objects.requireNonNull(encoded, "encoded"));
    check("AddCertificate", lib ->
      LocalIface.QUMENJNI_AddCertificate(lib, new LocalIface.add_param_t(), input)
    );
  }

  /**
   * Adds a certificate revocation list to the library's store.
   *
   * @param encoded the encoded CRL
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public void addCrl(byte[] encoded) {
    mem_blk_t input = in(Objects.requireNonNull(encoded, "encoded"));
    check("AddCRL", lib -> LocalIface.QUMENJNI_AddCRL(lib, new LocalIface.add_param_t(), input));
  }

  /**
   * The objects of the library's store, one at a time. Close it (try-with-resources) when done
   * with it before its end.
   *
   * <pre>{@code
   * try (StoreObjects objects = tarvex.storeObjects()) {
   *   for (byte[] object : objects) { ... }
   * }
   * }</pre>
   *
   * @return the enumeration, not started yet
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  public StoreObjects storeObjects() {
    return storeObjects(0);
  }

  /**
   * The objects of the library's store, one at a time, with the enumeration's options.
   *
   * @param options the enumeration's options, the library's
   * @return the enumeration, not started yet
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #storeObjects()
   */
  public StoreObjects storeObjects(int options) {
    ensureUsable();
    return new StoreObjects(this, "EnumStoreObjects", (lib, position, out) ->
      LocalIface.QUMENJNI_EnumStoreObjects(lib, null, position, out, options)
    );
  }

  /**
   * The objects of a store the library names by two texts, one at a time.
   *
   * @param first the first text, whose meaning is the library's; null for none
   * @param second the second text, whose meaning is the library's; null for none
   * @param options the enumeration's options, the library's
   * @return the enumeration, not started yet
   * @throws IllegalStateException when the context is closed or unusable after a fault
   * @see #storeObjects()
   */
  public StoreObjects storeObjects(String first, String second, int options) {
    ensureUsable();
    return new StoreObjects(this, "EnumStoreObjectsEx", (lib, position, out) ->
      LocalIface.QUMENJNI_EnumStoreObjectsEx(lib, null, first, second, position, out, options)
    );
  }

  // ---- Helpers -------------------------------------------------------------------------------

  private static sign_param_t signParam(int flags) {
    sign_param_t param = new sign_param_t();
    param.flag = flags;
    return param;
  }

  private static encrypt_param_t encryptParam(List<Certificate> recipients, int flags) {
    Objects.requireNonNull(recipients, "recipients");
    encrypt_param_t param = new encrypt_param_t();
    param.flag = flags;
    param.receivers = Records.certificates(List.copyOf(recipients));
    param.receiver_num = param.receivers.length;
    return param;
  }

  private static List<Certificate> fromX509(Collection<? extends X509Certificate> recipients) {
    Objects.requireNonNull(recipients, "recipients");
    return recipients.stream().map(Certificate::from).toList();
  }
}
