package tarvexjni;

import static tarvexjni.Records.bytes;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.strhandle_t;
import java.io.CharConversionException;
import java.io.IOException;
import java.io.InputStream;
import java.lang.ref.Cleaner;
import java.lang.ref.Reference;
import java.util.Objects;

// The transformed form of a source stream, read through a stream of the library (encryption,
// decryption): the library's stream opens at once, each piece read from the source goes through
// an Update stage, the source's end through the Final stage, and what the library returns is
// what this stream yields. Init stages that take a block get none: every byte goes through an
// Update, once.
final class LibraryInputStream extends InputStream {
  interface Update {
    int call(LocalIface lib, mem_blk_t in, mem_blk_t out) throws CharConversionException, NoSuchFieldException;
  }

  interface Last {
    int call(LocalIface lib, mem_blk_t out) throws CharConversionException, NoSuchFieldException;
  }

  private static final int PIECE = 64 * 1024;

  private final Tarvex owner;
  private final InputStream source;
  private final String family;
  private final Update update;
  private final Last last;
  private final Context.Stream stream;
  private final Cleaner.Cleanable cleanable;
  private byte[] piece;
  private byte[] pending = Records.EMPTY;
  private int position;
  private boolean done;
  private boolean closed;
  private RuntimeException failure;

  LibraryInputStream(Tarvex owner, InputStream source, String family, strhandle_t handle,
      LibraryCall init, Update update, Last last) {
    this.owner = owner;
    this.source = source;
    this.family = family;
    this.update = update;
    this.last = last;
    this.stream = owner.openStream(family + "InitMem", handle, init, lib -> last.call(lib, null));
    this.cleanable = Tarvex.CLEANER.register(this, stream);
  }

  // Whether the library's stream finished: the source was read to its end and Final succeeded.
  boolean isDone() {
    return done;
  }

  @Override
  public int read() throws IOException {
    byte[] one = new byte[1];
    int n = read(one, 0, 1);
    return n < 0 ? -1 : one[0] & 0xff;
  }

  @Override
  public int read(byte[] b, int off, int len) throws IOException {
    Objects.checkFromIndexSize(off, len, b.length);
    if (closed) throw new IOException("the stream is closed");
    if (failure != null) throw new IOException("the stream failed: " + failure.getMessage(), failure);
    if (len == 0) return 0;
    try {
      while (position == pending.length) {
        if (done) return -1;
        advance();
      }
      int n = Math.min(len, pending.length - position);
      System.arraycopy(pending, position, b, off, n);
      position += n;
      return n;
    } catch (RuntimeException e) {
      failure = e;
      throw e;
    } finally {
      Reference.reachabilityFence(this);
    }
  }

  // One piece of the source through the library's Update stage, or at the source's end its
  // Final stage.
  private void advance() throws IOException {
    if (piece == null) piece = new byte[PIECE];
    int n = source.read(piece, 0, piece.length);
    if (n > 0) {
      mem_blk_t in = new mem_blk_t(piece);
      in.len = n;
      mem_blk_t out = new mem_blk_t();
      owner.invoke(family + "UpdateMem", stream, false, true, lib -> update.call(lib, in, out));
      pending = bytes(out);
      position = 0;
    } else if (n < 0) {
      mem_blk_t out = new mem_blk_t();
      try {
        owner.invoke(family + "FinalMem", stream, true, true, lib -> last.call(lib, out));
      } finally {
        cleanable.clean();
      }
      pending = bytes(out);
      position = 0;
      done = true;
    }
  }

  @Override
  public int available() throws IOException {
    if (closed) throw new IOException("the stream is closed");
    return pending.length - position;
  }

  // Ends the library's stream unless it ended, then closes the source. Only the first call does
  // anything.
  @Override
  public void close() throws IOException {
    if (closed) return;
    closed = true;
    try {
      cleanable.clean();
    } finally {
      source.close();
    }
  }
}
