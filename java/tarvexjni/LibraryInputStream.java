package tarvexjni;

import static tarvexjni.Records.bytes;

import Norv1.LocalIface.mem_blk_t;
import java.io.IOException;
import java.io.InputStream;
import java.util.Objects;
import java.util.concurrent.CancellationException;

// The transformed form of a source stream, read through a stream of the library (encryption,
// decryption): the library's stream opens at once, each piece read from the source goes through
// an Update stage, the source's end through the Final stage, and what the library returns is
// what this stream yields. Init stages that take a block get none: every byte goes through an
// Update, once.
final class LibraryInputStream extends InputStream {

  private static final int PIECE = 64 * 1024;

  private final InputStream source;
  private final Feed<Void> feed;
  private byte[] piece;
  private byte[] pending = Records.EMPTY;
  private int position;
  private boolean done;

  LibraryInputStream(Tarvex owner, InputStream source, Feed.Stages<Void> stages) {
    this.source = source;
    this.feed = new Feed<>(this, owner, stages);
  }

  // Whether the library's stream finished: the source was read to its end and Final succeeded.
  boolean isDone() {
    return done;
  }

  @Override
  public int read() throws IOException {
    return Feed.readOne(this);
  }

  @Override
  public int read(byte[] b, int off, int len) throws IOException {
    Objects.checkFromIndexSize(off, len, b.length);
    if (!done) feed.ensureOpen();
    else if (feed.isClosed()) throw new IOException("the stream is closed");
    if (len == 0) return 0;
    while (position == pending.length) {
      if (done) return -1;
      advance();
    }
    int n = Math.min(len, pending.length - position);
    System.arraycopy(pending, position, b, off, n);
    position += n;
    return n;
  }

  // One piece of the source through the library's Update stage, or at the source's end its
  // Final stage.
  private void advance() throws IOException {
    if (piece == null) piece = new byte[PIECE];
    int n = source.read(piece, 0, piece.length);
    if (n > 0) {
      pending = feed.update(piece, 0, n);
      position = 0;
    } else if (n < 0) {
      mem_blk_t out = new mem_blk_t();
      try {
        feed.end(out);
      } catch (CancellationException e) {
        throw Feed.interrupted(e);
      }
      pending = bytes(out);
      position = 0;
      done = true;
    }
  }

  @Override
  public int available() throws IOException {
    if (feed.isClosed()) throw new IOException("the stream is closed");
    return pending.length - position;
  }

  // Ends the library's stream unless it ended, then closes the source. Only the first call does
  // anything.
  @Override
  public void close() throws IOException {
    if (feed.isClosed()) return;
    try {
      feed.close();
    } finally {
      source.close();
    }
  }
}
