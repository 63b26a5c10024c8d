package tarvexjni;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.strhandle_t;
import java.io.CharConversionException;
import java.io.IOException;
import java.io.OutputStream;
import java.lang.ref.Cleaner;
import java.lang.ref.Reference;
import java.util.Arrays;
import java.util.Objects;
import java.util.function.IntFunction;

/**
 * An output stream whose bytes go, piece by piece, to a stream of the library (hashing,
 * signing, verifying), and whose {@link #finish()} returns the library's result. Made by
 * {@link Tarvex#hashing()}, {@link Tarvex#signing()} and {@link Tarvex#verifying()}.
 *
 * <pre>{@code
 * try (FinishingOutputStream<byte[]> signing = tarvex.signing()) {
 *   document.writeTo(signing);
 *   signed = signing.finish();
 * }
 * }</pre>
 *
 * <h2>Ending</h2>
 * The library's stream is ended exactly once, and never outlives this object: by {@link
 * #finish()}, which returns the result; by the library itself when a write fails; by {@link
 * #close()} when neither happened (the result is then dropped: closing without finishing
 * abandons the stream); by {@link Tarvex#close()}; or, for a stream dropped without any of these,
 * by the garbage collector's cleaner. {@code close()} may be called any number of times.
 *
 * <h2>Failures</h2>
 * A failure of the library is thrown as {@link TarvexException}, unchecked, from {@code write}
 * and {@code finish} alike; the library has then ended its stream (after a machine fault,
 * {@code close()} ends it), and later writes throw {@link IOException}. A write after {@code
 * close()} or {@code finish()} throws {@link IOException}, as for any closed stream.
 *
 * <h2>Writes</h2>
 * Each {@code write} of at least one byte is one call into the library, with the bytes given:
 * an array written from its index 0 is passed without a copy, one written from another index is
 * copied first. Wrap the stream in a {@link java.io.BufferedOutputStream} when writing in small
 * pieces. Like every {@code java.io} stream, it is for one thread at a time.
 *
 * @param <R> the result: the hash, the signed message, or the {@link Verification}
 */
public final class FinishingOutputStream<R> extends OutputStream {
  // One Update stage with a block of input.
  interface Update {
    int call(LocalIface lib, mem_blk_t block) throws CharConversionException, NoSuchFieldException;
  }

  private final Tarvex owner;
  private final String family;
  private final Update update;
  private final LibraryCall last;
  private final boolean verdict;  // Final's status is part of the result, not a failure
  private final IntFunction<R> result;
  private final Context.Stream stream;
  private final Cleaner.Cleanable cleanable;
  private R value;
  private boolean finished;
  private boolean closed;
  private RuntimeException failure;

  FinishingOutputStream(Tarvex owner, String family, strhandle_t handle, LibraryCall init,
      Update update, LibraryCall last, boolean verdict, IntFunction<R> result) {
    this.owner = owner;
    this.family = family;
    this.update = update;
    this.last = last;
    this.verdict = verdict;
    this.result = result;
    this.stream = owner.openStream(family + "InitMem", handle, init, last);
    this.cleanable = Tarvex.CLEANER.register(this, stream);
  }

  /**
   * Writes one byte: one call into the library.
   *
   * @param b the byte, in the low 8 bits
   * @throws IOException when the stream is closed, finished or failed
   * @throws TarvexException when the library fails
   */
  @Override
  public void write(int b) throws IOException {
    write(new byte[] {(byte) b}, 0, 1);
  }

  /**
   * Writes bytes: one call into the library, unless {@code len} is 0.
   *
   * @param b the bytes
   * @param off the index of the first byte to write
   * @param len how many bytes to write
   * @throws IndexOutOfBoundsException when {@code off} and {@code len} do not fit {@code b}
   * @throws IOException when the stream is closed, finished or failed
   * @throws TarvexException when the library fails; the library's stream has then ended
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  @Override
  public void write(byte[] b, int off, int len) throws IOException {
    Objects.checkFromIndexSize(off, len, b.length);
    if (closed) throw new IOException("the stream is closed");
    if (finished) throw new IOException("the stream is finished");
    if (failure != null) throw new IOException("the stream failed: " + failure.getMessage(), failure);
    if (len == 0) return;
    mem_blk_t block = new mem_blk_t(off == 0 ? b : Arrays.copyOfRange(b, off, off + len));
    block.len = len;
    try {
      owner.invoke(family + "UpdateMem", stream, false, true, lib -> update.call(lib, block));
    } catch (RuntimeException e) {
      failure = e;
      throw e;
    } finally {
      Reference.reachabilityFence(this);
    }
  }

  /**
   * Ends the library's stream and returns its result. A second call returns the same result.
   *
   * @return the result: the hash, the signed message, or the {@link Verification} (which holds
   *     the library's verdict whatever it was)
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the stream was closed before it finished, or a write
   *     failed before; or when the context is closed or unusable after a fault
   */
  public R finish() {
    if (finished) return value;
    if (closed) throw new IllegalStateException("the stream was closed without finishing");
    if (failure != null) throw new IllegalStateException("the stream failed: " + failure.getMessage(), failure);
    try {
      int status = owner.invoke(family + "FinalMem", stream, true, !verdict, last);
      value = result.apply(status);
      finished = true;
      return value;
    } catch (RuntimeException e) {
      failure = e;
      throw e;
    } finally {
      cleanable.clean();
      Reference.reachabilityFence(this);
    }
  }

  /**
   * Closes the stream. When it has not finished, the library's stream is ended and its result
   * dropped. Only the first call does anything.
   */
  @Override
  public void close() {
    if (closed) return;
    closed = true;
    cleanable.clean();
  }
}
