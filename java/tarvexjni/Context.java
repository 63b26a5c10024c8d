package tarvexjni;

import Norv1.LocalIface;
import java.io.CharConversionException;
import java.util.LinkedHashSet;
import java.util.List;
import java.util.Set;
import java.util.concurrent.CancellationException;
import java.util.concurrent.locks.ReentrantLock;

// One context of the library and everything that lives in it: the LocalIface that holds it, the
// lock that serialises its calls, the streams still open in it. It is the cleaning action of its
// Tarvex, so it refers to nothing of the API's public objects: a dropped Tarvex can be collected,
// and this ends the context then.
final class Context implements Runnable {

  final LocalIface lib = new LocalIface();
  private final ReentrantLock lock = new ReentrantLock();
  // All guarded by lock; `closed` and `fault` are also read without it.
  private volatile boolean closed;
  private volatile String fault; // the first machine fault, once one happened
  private Integer endStatus; // Uninitialize's status, until close() reported it
  private final Set<Stream> streams = new LinkedHashSet<>();

  // A stream of the library open in this context: its handle, and the Final stage that ends it
  // (its output dropped). The cleaning action of the public stream that owns it, so it refers to
  // nothing of that stream.
  static final class Stream implements Runnable {

    final LocalIface.strhandle_t handle;
    private final Context context;
    private final LibraryCall end;
    private boolean ended; // guarded by context.lock: Final was called, or is not needed

    Stream(Context context, LocalIface.strhandle_t handle, LibraryCall end) {
      this.context = context;
      this.handle = handle;
      this.end = end;
    }

    // Ends the stream unless it ended already; used by close() and by the cleaner.
    @Override
    public void run() {
      context.lock.lock();
      try {
        endLocked();
      } finally {
        context.lock.unlock();
      }
    }

    // The library ended the stream itself (a failed Update, any Final), or Final is about to run:
    // nothing must call Final again. Under context.lock.
    private void endedByLibrary() {
      ended = true;
      context.streams.remove(this);
    }

    private void endLocked() {
      if (ended) return;
      ended = true;
      context.streams.remove(this);
      if (handle.handle == 0 || context.closed) return;
      try {
        end.call(context.lib);
      } catch (Exception e) {
        // Ending only drops what the stream still held; a failure of it has nobody to tell.
      }
    }
  }

  // Opens a context; an exception when the library refuses.
  static Context open(String operation, LibraryCall init) {
    Context context = new Context();
    int status;
    try {
      status = init.call(context.lib);
    } catch (CharConversionException | NoSuchFieldException e) {
      throw bridgeException(operation, e);
    }
    if (status != 0) throw new TarvexException(operation, status, null, null);
    return context;
  }

  // The calls into the library, each under the lock, on an open context that has not faulted.
  // Each throws TarvexException for a fault (which makes the context refuse further work) and
  // for a checked exception of the bridge (its cause).

  // A call whose status is an error unless 0: throws for any other, with the library's text.
  void check(String operation, LibraryCall call) {
    run(operation, null, false, true, call);
  }

  // A call whose failure is an answer: returns the status.
  int status(String operation, LibraryCall call) {
    return run(operation, null, false, false, call);
  }

  // A stage of an open stream before its last, checked as check() does; it ends the stream when
  // the library left the stream's handle 0.
  void stage(String operation, Stream stream, LibraryCall call) {
    run(operation, stream, false, true, call);
  }

  // The last stage of a stream, which ends it whatever happens, checked as check() does.
  void lastStage(String operation, Stream stream, LibraryCall call) {
    run(operation, stream, true, true, call);
  }

  // The last stage of a stream, which ends it whatever happens, whose failure is an answer:
  // returns the status.
  int lastStageStatus(String operation, Stream stream, LibraryCall call) {
    return run(operation, stream, true, false, call);
  }

  private int run(String operation, Stream stream, boolean last, boolean check, LibraryCall call) {
    lockForCall();
    try {
      if (closed || fault != null) throw refusal();
      if (stream != null) {
        if (stream.ended) throw new IllegalStateException("the library's stream has ended");
        if (last) stream.endedByLibrary();
      }
      int status;
      try {
        status = call.call(lib);
      } catch (CharConversionException | NoSuchFieldException e) {
        throw bridgeException(operation, e);
      } finally {
        if (stream != null && stream.handle.handle == 0) stream.endedByLibrary();
      }
      if (status != 0 && (check || Status.isFault(status))) throw failure(operation, status);
      return status;
    } finally {
      lock.unlock();
    }
  }

  private IllegalStateException refusal() {
    if (closed) return new IllegalStateException("the context is closed");
    return new IllegalStateException(
      "the context is unusable after a machine fault in " + fault + "; close it and open another"
    );
  }

  // Throws IllegalStateException when the context is closed or unusable after a fault.
  void ensureUsable() {
    if (closed || fault != null) throw refusal();
  }

  boolean isUsable() {
    return !closed && fault == null;
  }

  // Waits for the context the way a call does: a waiter that is interrupted (or already was)
  // gives up before it reaches the library, with the interrupt status kept for whatever blocks
  // next. Ending a stream or the context waits without giving up: that must happen.
  private void lockForCall() {
    try {
      lock.lockInterruptibly();
    } catch (InterruptedException e) {
      throw cancelled("interrupted while waiting for the context; the library was not called", e);
    }
  }

  // What an operation that cannot declare InterruptedException throws for an interrupted wait:
  // the JDK's unchecked CancellationException, its cause the InterruptedException, and the
  // thread's interrupt status set again (catching InterruptedException cleared it).
  static CancellationException cancelled(String message, InterruptedException e) {
    Thread.currentThread().interrupt();
    CancellationException cancelled = new CancellationException(message);
    cancelled.initCause(e);
    return cancelled;
  }

  // Opens a stream of the library: `init` stores its handle into `handle`, `end` is its Final
  // stage with the output dropped. Throws as stage() does, the stream then never open.
  Stream openStream(
    String operation,
    LocalIface.strhandle_t handle,
    LibraryCall init,
    LibraryCall end
  ) {
    Stream stream = new Stream(this, handle, end);
    lockForCall();
    try {
      streams.add(stream);
      try {
        stage(operation, stream, init);
      } catch (RuntimeException | Error e) {
        stream.endLocked(); // an Init that stored a handle and failed after it
        throw e;
      }
      return stream;
    } finally {
      lock.unlock();
    }
  }

  // A checked exception the bridge raised (the LocalIface method declares it) becomes the API's
  // exception, with it as the cause, and for a text that could not cross, what that means (the
  // operations of Tarvex say which text); the bridge's unchecked exceptions pass as they are.
  private static TarvexException bridgeException(String operation, Exception cause) {
    return new TarvexException(
      Texts.conversion(cause),
      operation,
      Status.PENDING_EXCEPTION,
      null,
      cause
    );
  }

  // The exception for a status other than 0; a fault makes the context refuse further work, and
  // the library is asked for its text only when it did not crash.
  private TarvexException failure(String operation, int status) {
    if (Status.isFault(status)) {
      fault = operation + " (" + Status.toString(status) + ")";
      return new TarvexException(operation, status, null, null);
    }
    return new TarvexException(
      operation,
      status,
      Status.isBridge(status) ? null : textOf(status),
      null
    );
  }

  // The library's text for a status of its own, asked in this context while it is usable; null
  // when it has none, or when the context is closed or unusable.
  String libraryText(int status) {
    if (status == 0 || Status.isBridge(status) || Status.isFault(status)) return null;
    lock.lock();
    try {
      return closed || fault != null ? null : textOf(status);
    } finally {
      lock.unlock();
    }
  }

  private String textOf(int status) {
    try {
      return LocalIface.QUMENJNI_GetErrorText(lib, status);
    } catch (CharConversionException e) {
      return null; // a text the encoding in force cannot carry: the status says what happened
    }
  }

  // The cleaning action: ends the streams still open, then the context. Runs once.
  @Override
  public void run() {
    lock.lock();
    try {
      if (closed) return;
      for (Stream s : List.copyOf(streams)) s.endLocked();
      closed = true;
      endStatus = LocalIface.QUMENJNI_Uninitialize(lib);
    } finally {
      lock.unlock();
    }
  }

  boolean isOpen() {
    return !closed;
  }

  // Ends the streams still open in this context, their results dropped: a context that goes
  // back to a pool carries nothing of its last user's. Waits for a call in progress.
  void endStreams() {
    lock.lock();
    try {
      for (Stream s : List.copyOf(streams)) s.endLocked();
    } finally {
      lock.unlock();
    }
  }

  // The state in words, for Tarvex.toString().
  String state() {
    if (closed) return "closed";
    String f = fault;
    return f == null ? "open" : "open, unusable after a machine fault in " + f;
  }

  // Uninitialize's status the first time it is asked for, then null.
  Integer takeEndStatus() {
    lock.lock();
    try {
      Integer s = endStatus;
      endStatus = null;
      return s;
    } finally {
      lock.unlock();
    }
  }
}
