package tarvexjni;

import java.io.IOException;
import java.io.InputStream;
import java.util.Objects;

/**
 * An input stream that passes on, unchanged, what it reads from its source, and feeds the same
 * bytes, piece by piece, to a stream of the library; {@link #finish()} returns the library's
 * result for every byte that passed. It is to the library's hash what {@link
 * java.security.DigestInputStream} is to a {@link java.security.MessageDigest}, and to {@link
 * FinishingOutputStream} what reading is to writing. Made by {@link Tarvex#hashing(InputStream)}.
 *
 * <pre>{@code
 * try (FinishingInputStream<byte[]> in = tarvex.hashing(Files.newInputStream(upload))) {
 *   Files.copy(in, stored);          // the bytes go on to the file, and through the hash
 *   digest = in.finish();
 * }
 * }</pre>
 *
 * <p>Every byte this stream returns is fed to the library, also those that {@link #skip(long)}
 * passes over (it reads them); {@code mark} and {@code reset} are not supported. Each {@code
 * read} that returns at least one byte is one call into the library, with the bytes just read:
 * those read into an array from its index 0 are passed on without a copy of the API's, others
 * are copied first (and the bridge copies each piece into native memory for the length of the
 * call). Like every {@code java.io} stream, it is for one thread at a time.
 *
 * <h2>Ending</h2>
 * The library's stream is ended exactly once, and never outlives this object: by {@link
 * #finish()}, which returns the result (reading the source to its end is the caller's, as with
 * {@code DigestInputStream}); by the library itself when a piece fails; by {@link #close()} when
 * neither happened (the result is then dropped), which also closes the source; by {@link
 * Tarvex#close()}; or, for a stream dropped without any of these, by the garbage collector's
 * cleaner. After {@code finish()} the stream reads no more.
 *
 * <h2>Failures</h2>
 * A failure of the library is thrown as {@link TarvexException}, unchecked, from {@code read} and
 * {@code finish} alike, and ends the library's stream; a failure of the source is thrown as the
 * {@link IOException} it threw, and leaves the library's stream for {@code close()} to end. Reads
 * after a failure of the library, after {@code close()} or after {@code finish()} throw {@link
 * IOException}. A thread interrupted while it waits for the context gives up before the library
 * is called, its interrupt status kept: {@code read} throws {@link java.io.InterruptedIOException}
 * (the bytes just read from the source are then not in the result), {@code finish} a {@link
 * java.util.concurrent.CancellationException}.
 *
 * @param <R> the result: the hash
 */
public final class FinishingInputStream<R> extends InputStream {

  private final InputStream source;
  private final Feed<R> feed;

  FinishingInputStream(Tarvex owner, InputStream source, Feed.Stages<R> stages) {
    this.source = source;
    this.feed = new Feed<>(this, owner, stages);
  }

  /**
   * Reads one byte and feeds it to the library.
   *
   * @return the byte, or -1 at the end of the source
   * @throws IOException when the source fails, or the stream is closed, finished or failed
   * @throws TarvexException when the library fails
   */
  @Override
  public int read() throws IOException {
    return Feed.readOne(this);
  }

  /**
   * Reads bytes from the source and feeds them to the library.
   *
   * @param b where to put them
   * @param off the index of the first byte to put
   * @param len how many bytes at most
   * @return how many bytes were read, or -1 at the end of the source
   * @throws IndexOutOfBoundsException when {@code off} and {@code len} do not fit {@code b}
   * @throws java.io.InterruptedIOException when the thread was interrupted while it waited for
   *     the context (its interrupt status kept)
   * @throws IOException when the source fails, or the stream is closed, finished or failed
   * @throws TarvexException when the library fails; the library's stream has then ended
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  @Override
  public int read(byte[] b, int off, int len) throws IOException {
    Objects.checkFromIndexSize(off, len, b.length);
    feed.ensureOpen();
    if (len == 0) return 0;
    int n = source.read(b, off, len);
    if (n > 0) feed.update(b, off, n);
    return n;
  }

  /**
   * How many bytes the source can give without blocking.
   *
   * @return the source's estimate
   * @throws IOException when the source fails, or the stream is closed, finished or failed
   */
  @Override
  public int available() throws IOException {
    feed.ensureOpen();
    return source.available();
  }

  /**
   * Ends the library's stream and returns its result for every byte read so far. A second call
   * returns the same result.
   *
   * @return the result: the hash
   * @throws TarvexException when the library fails
   * @throws java.util.concurrent.CancellationException when the thread was interrupted while it
   *     waited for the context (its interrupt status kept; the stream is as it was)
   * @throws IllegalStateException when the stream was closed before it finished, or a read
   *     failed in the library before; or when the context is closed or unusable after a fault
   */
  public R finish() {
    return feed.finish();
  }

  /**
   * Closes the stream and its source. When it has not finished, the library's stream is ended
   * and its result dropped. Only the first call does anything.
   *
   * @throws IOException when closing the source fails
   */
  @Override
  public void close() throws IOException {
    if (!feed.isClosed()) {
      try {
        feed.close();
      } finally {
        source.close();
      }
    }
  }
}
