package tarvexjni;

import java.io.IOException;
import java.io.InputStream;
import java.util.Optional;
import java.util.function.Supplier;

/**
 * The decrypted form of an encrypted message, read piece by piece through a stream of the
 * library; made by {@link Tarvex#decrypting(InputStream)}.
 *
 * <pre>{@code
 * try (DecryptingInputStream plain = tarvex.decrypting(Files.newInputStream(sealed))) {
 *   Files.copy(plain, target);       // reads to the end: the library has checked the whole message
 *   Optional<Certificate> from = plain.sender();
 * }
 * }</pre>
 *
 * <p>Each piece read from the source is one call into the library; the library's checks of the
 * whole message end with the source: a message that fails there throws {@link TarvexException}
 * from the {@code read} that reaches the end, so what was read before it is not to be trusted
 * until {@code read} returned -1. A failure of the library is thrown as {@link TarvexException},
 * unchecked; a failure of the source as the {@link IOException} it threw. After a failure of
 * the library, and after {@link #close()}, {@code read} throws {@link IOException}. A thread
 * interrupted while it waits for the context gets {@link java.io.InterruptedIOException}, its
 * interrupt status kept and the stream as it was.
 *
 * <p>The library's stream is ended exactly once and never outlives this object: at the end of
 * the message, by the library when a piece fails, by {@link #close()} (which also closes the
 * source), by {@link Tarvex#close()}, or, for a stream dropped without any of these, by the
 * garbage collector's cleaner. Like every {@code java.io} stream, it is for one thread at a time.
 */
public final class DecryptingInputStream extends InputStream {

  private final LibraryInputStream engine;
  private final Supplier<Optional<Certificate>> sender;
  private Optional<Certificate> senderValue;

  DecryptingInputStream(LibraryInputStream engine, Supplier<Optional<Certificate>> sender) {
    this.engine = engine;
    this.sender = sender;
  }

  /**
   * Reads one byte of the content.
   *
   * @return the byte, or -1 at the end of the message, once the library has checked it whole
   * @throws IOException when the source fails, or the stream is closed or failed
   * @throws TarvexException when the library fails
   */
  @Override
  public int read() throws IOException {
    return engine.read();
  }

  /**
   * Reads content.
   *
   * @param b where to put it
   * @param off the index of the first byte to put
   * @param len how many bytes at most
   * @return how many bytes were read, or -1 at the end of the message, once the library has
   *     checked it whole
   * @throws IndexOutOfBoundsException when {@code off} and {@code len} do not fit {@code b}
   * @throws IOException when the source fails, or the stream is closed or failed
   * @throws TarvexException when the library fails
   * @throws IllegalStateException when the context is closed or unusable after a fault
   */
  @Override
  public int read(byte[] b, int off, int len) throws IOException {
    return engine.read(b, off, len);
  }

  /**
   * How many bytes of content are decrypted and not read yet.
   *
   * @return that number
   * @throws IOException when the stream is closed
   */
  @Override
  public int available() throws IOException {
    return engine.available();
  }

  /**
   * The sender of the message, as the library reports it once the whole message was read.
   *
   * @return the sender's certificate; empty when the library names no sender
   * @throws IllegalStateException when the message has not been read to its end
   */
  public Optional<Certificate> sender() {
    if (!engine.isDone()) throw new IllegalStateException(
      "the message has not been read to its end"
    );
    if (senderValue == null) senderValue = sender.get();
    return senderValue;
  }

  /**
   * Closes the stream and its source; when the message was not read to its end, the library's
   * stream is ended and the rest dropped. Only the first call does anything.
   *
   * @throws IOException when closing the source fails
   */
  @Override
  public void close() throws IOException {
    engine.close();
  }
}
