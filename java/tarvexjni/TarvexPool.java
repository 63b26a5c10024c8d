package tarvexjni;

import java.util.ArrayDeque;
import java.util.ArrayList;
import java.util.Deque;
import java.util.LinkedHashSet;
import java.util.List;
import java.util.Objects;
import java.util.Set;
import java.util.concurrent.atomic.AtomicBoolean;
import java.util.concurrent.locks.Condition;
import java.util.concurrent.locks.ReentrantLock;
import java.util.function.Supplier;

/**
 * A bounded pool of contexts that threads share: each context serves one thread at a time, and
 * a thread that finds every context busy waits for one. Contexts are opened when first needed,
 * up to the pool's size, and kept for the next thread; {@link #close()} ends them all.
 *
 * <pre>{@code
 * try (TarvexPool pool = new TarvexPool(Runtime.getRuntime().availableProcessors())) {
 *   List<Future<byte[]>> digests = new ArrayList<>();
 *   for (byte[] piece : pieces) {
 *     digests.add(executor.submit(() -> pool.call(tarvex -> tarvex.hash(piece))));
 *   }
 *   ...
 * }
 * }</pre>
 *
 * <p>{@link #call(Work)} and {@link #run(Action)} lend a context for one piece of work; {@link
 * #borrow()} lends one until its {@link Lease} is closed, for work that spans several calls
 * (a stream, an enumeration). A context goes back to the pool with nothing of its borrower's:
 * streams the borrower left open in it are ended, their results dropped. A context that a
 * machine fault made unusable, or that its borrower closed, is ended and not lent again; the
 * pool opens another in its place when one is needed.
 *
 * <h2>Threads and virtual threads</h2>
 * Platform and virtual threads share a pool alike. A thread waiting for a context parks without
 * holding anything (a virtual thread leaves its carrier to others), and the wait can be
 * interrupted: {@link #borrow()} then throws {@link InterruptedException}; {@link #call(Work)}
 * and {@link #run(Action)}, like the operations of {@link Tarvex}, throw {@link
 * java.util.concurrent.CancellationException} with the thread's interrupt status kept. So
 * {@link java.util.concurrent.Future#cancel(boolean) Future.cancel(true)} and {@link
 * java.util.concurrent.ExecutorService#shutdownNow()} stop tasks that wait for a context.
 *
 * <p>A call into the library is native code, and a virtual thread cannot leave its carrier while
 * native code runs on it: each call pins the carrier for its whole length. JFR's {@code
 * jdk.VirtualThreadPinned} event does not show this, since the thread does not block. Short calls
 * (hashing or signing some kilobytes, parsing a certificate: microseconds) cost a virtual thread
 * nothing worth avoiding. Long calls (large inputs, files, whatever waits on a network or a
 * device) keep carriers from every other virtual thread of the program, of which there are
 * usually as many as cores: run those on platform threads, a fixed pool of them as large as this
 * pool, and let the virtual thread wait for the result, which frees its carrier.
 *
 * <pre>{@code
 * ExecutorService libraryThreads = Executors.newFixedThreadPool(pool.size());
 * byte[] digest = libraryThreads.submit(() -> pool.call(tarvex -> tarvex.hash(largeFile))).get();
 * }</pre>
 *
 * <p>A pool larger than the number of cores does not run more calls at once on virtual threads,
 * whose carriers the calls hold, but it does on platform threads, as far as the library's calls
 * wait rather than compute.
 */
public final class TarvexPool implements AutoCloseable {

  /**
   * Work done with a context of the pool, returning a result.
   *
   * @param <R> the result
   * @param <X> the checked exception the work may throw, or {@link RuntimeException}
   */
  @FunctionalInterface
  public interface Work<R, X extends Exception> {
    /**
     * Does the work.
     *
     * @param tarvex the context, lent for the length of the work
     * @return the result
     * @throws X when the work fails
     */
    R apply(Tarvex tarvex) throws X;
  }

  /**
   * Work done with a context of the pool, without a result.
   *
   * @param <X> the checked exception the work may throw, or {@link RuntimeException}
   */
  @FunctionalInterface
  public interface Action<X extends Exception> {
    /**
     * Does the work.
     *
     * @param tarvex the context, lent for the length of the work
     * @throws X when the work fails
     */
    void accept(Tarvex tarvex) throws X;
  }

  private final int size;
  private final Supplier<Tarvex> opener;
  private final ReentrantLock lock = new ReentrantLock(true);
  private final Condition returned = lock.newCondition();
  // All guarded by lock.
  private final Deque<Tarvex> idle = new ArrayDeque<>();
  private final Set<Tarvex> all = new LinkedHashSet<>();
  private int opening;
  private int waiting;
  private boolean closed;

  /**
   * A pool of at most {@code size} contexts, each opened with {@link Tarvex#openMinimal()} when
   * first needed.
   *
   * @param size how many contexts at most
   * @throws IllegalArgumentException when {@code size} is less than 1
   */
  public TarvexPool(int size) {
    this(size, Tarvex::openMinimal);
  }

  /**
   * A pool of at most {@code size} contexts, each opened by {@code opener} when first needed.
   *
   * @param size how many contexts at most
   * @param opener opens a context, for example {@code () -> Tarvex.open(0, setup)}; called
   *     without any lock held, by the thread that needs the context, which gets its exception
   * @throws IllegalArgumentException when {@code size} is less than 1
   */
  public TarvexPool(int size, Supplier<Tarvex> opener) {
    if (size < 1) throw new IllegalArgumentException("size " + size + " is less than 1");
    this.size = size;
    this.opener = Objects.requireNonNull(opener, "opener");
  }

  /**
   * How many contexts the pool opens at most.
   *
   * @return the size it was made with
   */
  public int size() {
    return size;
  }

  /**
   * A context lent until {@link #close()}: use it from one thread at a time, do not close it
   * (the pool ends it if you do), and do not keep it beyond the lease.
   */
  public final class Lease implements AutoCloseable {

    private final Tarvex tarvex;
    private final AtomicBoolean ended = new AtomicBoolean();

    private Lease(Tarvex tarvex) {
      this.tarvex = tarvex;
    }

    /**
     * The context lent.
     *
     * @return the context
     * @throws IllegalStateException when the lease has ended
     */
    public Tarvex tarvex() {
      if (ended.get()) throw new IllegalStateException("the lease has ended");
      return tarvex;
    }

    /**
     * Gives the context back to the pool: the streams still open in it are ended, their results
     * dropped, and it serves the next thread. Waits for a call of the context in progress on
     * another thread. Only the first call does anything.
     */
    @Override
    public void close() {
      if (ended.compareAndSet(false, true)) giveBack(tarvex);
    }

    /**
     * The lease and its context, as text.
     *
     * @return for example {@code "Lease[Tarvex[open]]"}, or {@code "Lease[ended]"}
     */
    @Override
    public String toString() {
      return ended.get() ? "Lease[ended]" : "Lease[" + tarvex + "]";
    }
  }

  /**
   * Lends a context: an idle one, else a new one while fewer than {@link #size()} are open, else
   * the first that another thread gives back. Close the lease to give it back.
   *
   * <pre>{@code
   * try (TarvexPool.Lease lease = pool.borrow();
   *      FinishingOutputStream<byte[]> hashing = lease.tarvex().hashing()) {
   *   Files.copy(file, hashing);
   *   digest = hashing.finish();
   * }
   * }</pre>
   *
   * @return the lease
   * @throws InterruptedException when the thread is interrupted while it waits (or was before);
   *     nothing is then lent
   * @throws TarvexException when a new context was needed and the library refused to open it
   * @throws IllegalStateException when the pool is closed, or closes while the thread waits
   */
  public Lease borrow() throws InterruptedException {
    Tarvex lent = null;
    lock.lockInterruptibly();
    try {
      waiting++;
      try {
        while (lent == null) {
          if (closed) throw new IllegalStateException("the pool is closed");
          Tarvex next = idle.pollFirst();
          if (next != null) {
            lent = next;
          } else if (all.size() + opening < size) {
            opening++;
            break;
          } else {
            returned.await();
          }
        }
      } finally {
        waiting--;
      }
    } finally {
      lock.unlock();
    }
    return new Lease(lent != null ? lent : openOne());
  }

  // Opens a context for the slot that borrow() took, without the lock: opening calls the
  // library. A failure gives the slot back to the next waiter; a pool closed meanwhile gets no
  // new context.
  private Tarvex openOne() {
    Tarvex opened = null;
    boolean kept = false;
    try {
      opened = Objects.requireNonNull(opener.get(), "the opener returned null");
    } finally {
      lock.lock();
      try {
        opening--;
        if (opened == null) {
          returned.signal();
        } else if (!closed) {
          all.add(opened);
          kept = true;
        }
      } finally {
        lock.unlock();
      }
    }
    if (!kept) {
      opened.close();
      throw new IllegalStateException("the pool is closed");
    }
    return opened;
  }

  /**
   * Does work with a context of the pool, waiting for one as {@link #borrow()} does, and gives
   * it back when the work ends, however it ends.
   *
   * @param <R> the result
   * @param <X> the checked exception the work may throw
   * @param work the work
   * @return the work's result
   * @throws X when the work throws it
   * @throws java.util.concurrent.CancellationException when the thread is interrupted while it
   *     waits for a context (or was before): its interrupt status is kept, the work not done
   * @throws TarvexException when a new context was needed and the library refused to open it
   * @throws IllegalStateException when the pool is closed, or closes while the thread waits
   */
  public <R, X extends Exception> R call(Work<R, X> work) throws X {
    Objects.requireNonNull(work, "work");
    Lease lease;
    try {
      lease = borrow();
    } catch (InterruptedException e) {
      throw Context.cancelled(
        "interrupted while waiting for a context of the pool; the work was not done",
        e
      );
    }
    try (lease) {
      return work.apply(lease.tarvex);
    }
  }

  /**
   * Does work without a result with a context of the pool, as {@link #call(Work)} does.
   *
   * @param <X> the checked exception the work may throw
   * @param work the work
   * @throws X when the work throws it
   * @throws java.util.concurrent.CancellationException when the thread is interrupted while it
   *     waits for a context (or was before): its interrupt status is kept, the work not done
   * @throws TarvexException when a new context was needed and the library refused to open it
   * @throws IllegalStateException when the pool is closed, or closes while the thread waits
   */
  public <X extends Exception> void run(Action<X> work) throws X {
    Objects.requireNonNull(work, "work");
    call(tarvex -> {
      work.accept(tarvex);
      return null;
    });
  }

  private void giveBack(Tarvex tarvex) {
    tarvex.endStreams();
    boolean usable = tarvex.isUsable();
    lock.lock();
    try {
      if (!all.contains(tarvex)) return; // the pool closed meanwhile, and ended it
      if (usable) {
        idle.addFirst(tarvex); // the most recently used first: its memory is warm
      } else {
        all.remove(tarvex);
      }
      returned.signal();
    } finally {
      lock.unlock();
    }
    if (!usable) endQuietly(tarvex);
  }

  // A context that faulted or that its borrower closed: ended, and the pool opens another when
  // one is needed. A failure of the end has nobody to tell: the borrower saw the fault.
  private static void endQuietly(Tarvex tarvex) {
    try {
      tarvex.close();
    } catch (TarvexException e) {
      // The context is gone either way.
    }
  }

  /**
   * Ends every context of the pool, idle and lent alike, and lends no more: threads waiting
   * for a context, and later calls of {@link #borrow()}, {@link #call(Work)} and {@link
   * #run(Action)}, throw {@link IllegalStateException}. A lent context is ended once the call in
   * progress on it returns, as {@link Tarvex#close()} does; its borrower's later calls throw
   * {@link IllegalStateException}. Not interrupted: it returns when every context has ended.
   * Only the first call does anything.
   *
   * @throws TarvexException when the library failed to end a context (the first such failure,
   *     with later ones suppressed); every context counts as ended all the same
   */
  @Override
  public void close() {
    List<Tarvex> contexts;
    lock.lock();
    try {
      if (closed) return;
      closed = true;
      contexts = new ArrayList<>(all);
      all.clear();
      idle.clear();
      returned.signalAll();
    } finally {
      lock.unlock();
    }
    TarvexException failure = null;
    for (Tarvex tarvex : contexts) {
      try {
        tarvex.close();
      } catch (TarvexException e) {
        if (failure == null) failure = e;
        else failure.addSuppressed(e);
      }
    }
    if (failure != null) throw failure;
  }

  /**
   * The pool's state, for logs.
   *
   * @return for example {@code "TarvexPool[size 4, 3 open, 1 idle, 0 waiting]"}, or {@code
   *     "TarvexPool[size 4, closed]"}
   */
  @Override
  public String toString() {
    lock.lock();
    try {
      if (closed) return "TarvexPool[size " + size + ", closed]";
      return (
        "TarvexPool[size " +
        size +
        ", " +
        all.size() +
        " open, " +
        idle.size() +
        " idle, " +
        waiting +
        " waiting]"
      );
    } finally {
      lock.unlock();
    }
  }
}
