package tarvexjni;

import static tarvexjni.Records.bytes;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.strhandle_t;
import java.io.CharConversionException;
import java.io.IOException;
import java.io.InputStream;
import java.io.InterruptedIOException;
import java.lang.ref.Cleaner;
import java.lang.ref.Reference;
import java.util.Arrays;
import java.util.Objects;
import java.util.concurrent.CancellationException;

// The library's stream behind one of the API's java.io streams. It opens at once, takes pieces
// through its Update stage and ends through its Final stage, once: by finish() or end(), by the
// library itself when a stage fails, by close(), by the context's close(), or, for a stream
// dropped unclosed, by the cleaner. What the public stream does with the bytes (hands them on,
// passes them through, keeps a result) is its own. For one thread at a time, as the public
// stream is.
final class Feed<R> {

  // An Update stage: a piece in, what the library gives back for it into `out` (hashing, signing
  // and verifying give nothing back).
  interface Update {
    int call(LocalIface lib, mem_blk_t in, mem_blk_t out)
      throws CharConversionException, NoSuchFieldException;
  }

  // The Final stage; `out` is null when the stream is dropped unfinished.
  interface Last {
    int call(LocalIface lib, mem_blk_t out) throws CharConversionException, NoSuchFieldException;
  }

  // The result of a finished stream, from Final's status and output.
  interface Result<R> {
    R make(int status, mem_blk_t out);
  }

  // One family of the library's streams: its name (as in StrHash), the handle its stages share,
  // and its stages. `verdict`: Final's status is part of the result, not a failure.
  record Stages<R>(
    String family,
    strhandle_t handle,
    LibraryCall init,
    Update update,
    Last last,
    boolean verdict,
    Result<R> result
  ) {}

  private final Object user;
  private final Tarvex owner;
  private final Stages<R> stages;
  private final Context.Stream stream;
  private final Cleaner.Cleanable cleanable;
  private R value;
  private boolean finished;
  private boolean closed;
  private RuntimeException failure;

  // Opens the library's stream for `user`, the public stream, whose collection ends it.
  Feed(Object user, Tarvex owner, Stages<R> stages) {
    this.user = user;
    this.owner = owner;
    this.stages = stages;
    this.stream = owner.openStream(
      stages.family() + "InitMem",
      stages.handle(),
      stages.init(),
      lib -> stages.last().call(lib, null)
    );
    this.cleanable = Tarvex.CLEANER.register(user, stream);
  }

  // Throws IOException when the stream takes no more pieces: closed, finished or failed.
  void ensureOpen() throws IOException {
    if (closed) throw new IOException("the stream is closed");
    if (finished) throw new IOException("the stream is finished");
    if (failure != null) throw new IOException(
      "the stream failed: " + failure.getMessage(),
      failure
    );
  }

  boolean canFinish() {
    return !closed && !finished && failure == null;
  }

  boolean isFinished() {
    return finished;
  }

  boolean isClosed() {
    return closed;
  }

  // What an output stream's write(b, off, len) does: checks its arguments and the stream, and
  // for at least one byte makes one Update stage. Returns what the library gave back.
  byte[] write(byte[] b, int off, int len) throws IOException {
    Objects.checkFromIndexSize(off, len, b.length);
    if (len > 0) return update(b, off, len);
    ensureOpen();
    return Records.EMPTY;
  }

  // An input stream's read() through its read(b, off, len).
  static int readOne(InputStream in) throws IOException {
    byte[] one = new byte[1];
    return in.read(one, 0, 1) < 0 ? -1 : one[0] & 0xff;
  }

  // One Update stage with `len` (at least 1) bytes of `b` from `off`: an array given from index
  // 0 goes as it is, a piece from another index is copied first (a block has no offset).
  // Returns what the library gave back. A failure of the library is thrown as it is and ends the
  // stream; an interrupted wait for the context leaves the stream as it was.
  byte[] update(byte[] b, int off, int len) throws IOException {
    ensureOpen();
    mem_blk_t in = new mem_blk_t(off == 0 ? b : Arrays.copyOfRange(b, off, off + len));
    in.len = len;
    mem_blk_t out = new mem_blk_t();
    try {
      owner.stage(stages.family() + "UpdateMem", stream, lib -> stages.update().call(lib, in, out));
    } catch (CancellationException e) {
      throw interrupted(e);
    } catch (RuntimeException e) {
      failure = e;
      throw e;
    } finally {
      Reference.reachabilityFence(user);
    }
    return bytes(out);
  }

  // The Final stage, into `out`; its status, which throws unless `verdict`. Ends the stream
  // whatever happens, unless the wait for the context was interrupted before the library was
  // called (a CancellationException, the stream as it was).
  int end(mem_blk_t out) {
    boolean interrupted = false;
    try {
      String operation = stages.family() + "FinalMem";
      LibraryCall last = lib -> stages.last().call(lib, out);
      int status = 0;
      if (stages.verdict()) status = owner.lastStageStatus(operation, stream, last);
      else owner.lastStage(operation, stream, last);
      finished = true;
      return status;
    } catch (CancellationException e) {
      interrupted = true;
      throw e;
    } catch (RuntimeException e) {
      failure = e;
      throw e;
    } finally {
      if (!interrupted) cleanable.clean();
      Reference.reachabilityFence(user);
    }
  }

  // The result: Final's the first time, the same one after.
  R finish() {
    if (finished) return value;
    if (closed) throw new IllegalStateException("the stream was closed without finishing");
    if (failure != null) throw new IllegalStateException(
      "the stream failed: " + failure.getMessage(),
      failure
    );
    mem_blk_t out = new mem_blk_t();
    int status = end(out);
    value = stages.result().make(status, out);
    return value;
  }

  // Ends the library's stream unless it ended, its result dropped. Only the first call does
  // anything.
  void close() {
    if (closed) return;
    closed = true;
    cleanable.clean();
  }

  // What a java.io method throws for an interrupted wait: the JDK's InterruptedIOException, the
  // thread's interrupt status kept (the context set it again).
  static InterruptedIOException interrupted(CancellationException e) {
    InterruptedIOException io = new InterruptedIOException(e.getMessage());
    io.initCause(e);
    return io;
  }
}
