package tarvexjni;

import java.io.IOException;
import java.io.OutputStream;

/**
 * An output stream whose bytes go, piece by piece, to a stream of the library (hashing,
 * signing, verifying), and whose {@link #finish()} returns the library's result. Made by
 * {@link Tarvex#hashing()}, {@link Tarvex#signing()} and {@link Tarvex#verifying()}; {@link
 * FinishingInputStream} is its counterpart for bytes read.
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
 * an array written from its index 0 is passed on without a copy of the API's, one written from
 * another index is copied first (and the bridge copies each piece into native memory for the
 * length of the call). Wrap the stream in a {@link java.io.BufferedOutputStream} when writing in small
 * pieces. Like every {@code java.io} stream, it is for one thread at a time.
 *
 * @param <R> the result: the hash, the signed message, or the {@link Verification}
 */
public final class FinishingOutputStream<R> extends OutputStream {

  private final Feed<R> feed;

  FinishingOutputStream(Tarvex owner, Feed.Stages<R> stages) {
    this.feed = new Feed<>(this, owner, stages);
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
    write(new byte[] { (byte) b }, 0, 1);
  }

  /**
   * Writes bytes: one call into the library, unless {@code len} is 0.
   *
   * @param b the bytes
   * @param off the index of the first byte to write
   * @param len how many bytes to write
   * @throws IndexOutOfBoundsException when {@code off} and {@code len} do not fit {@code b}
   * @throws java.io.InterruptedIOException when the thread was interrupted while it waited for
   *     the context (its interrupt status kept; the library was not called)
   * @throws IOException when the stream is closed, finished or failed
   * @throws TarvexException when the library fails; the library's stream has then ended
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  @Override
  public void write(byte[] b, int off, int len) throws IOException {
    feed.write(b, off, len);
  }

  /**
   * Ends the library's stream and returns its result. A second call returns the same result.
   *
   * @return the result: the hash, the signed message, or the {@link Verification} (which holds
   *     the library's verdict whatever it was)
   * @throws TarvexException when the library fails
   * @throws java.util.concurrent.CancellationException when the thread was interrupted while it
   *     waited for the context (its interrupt status kept; the stream is as it was)
   * @throws IllegalStateException when the stream was closed before it finished, or a write
   *     failed before; or when the context is closed or unusable after a fault
   */
  public R finish() {
    return feed.finish();
  }

  /**
   * Closes the stream. When it has not finished, the library's stream is ended and its result
   * dropped. Only the first call does anything.
   */
  @Override
  public void close() {
    feed.close();
  }
}
