package tarvexjni;

import static tarvexjni.Records.bytes;

import Norv1.LocalIface.mem_blk_t;
import java.io.IOException;
import java.io.OutputStream;
import java.util.concurrent.CancellationException;

// The transformed form of what is written, written on to a target stream through a stream of the
// library (encryption), as CipherOutputStream does with a Cipher: each write goes through an
// Update stage and what the library returns goes to the target; close() runs the Final stage,
// writes its output and closes the target. After a failure of the library nothing is finished:
// close() only closes the target.
final class LibraryOutputStream extends OutputStream {

  private final OutputStream target;
  private final Feed<Void> feed;

  LibraryOutputStream(Tarvex owner, OutputStream target, Feed.Stages<Void> stages) {
    this.target = target;
    this.feed = new Feed<>(this, owner, stages);
  }

  @Override
  public void write(int b) throws IOException {
    write(new byte[] { (byte) b }, 0, 1);
  }

  @Override
  public void write(byte[] b, int off, int len) throws IOException {
    byte[] out = feed.write(b, off, len);
    if (out.length > 0) target.write(out);
  }

  // Flushes the target; what the library still holds of the message comes out at close().
  @Override
  public void flush() throws IOException {
    if (feed.isClosed()) throw new IOException("the stream is closed");
    target.flush();
  }

  // Completes the message unless a stage failed, then closes the target; only the first call
  // does anything. Interrupted while it waits for the context, it abandons the message.
  @Override
  public void close() throws IOException {
    if (feed.isClosed()) return;
    try {
      if (feed.canFinish()) {
        mem_blk_t out = new mem_blk_t();
        feed.end(out);
        target.write(bytes(out));
      }
    } catch (CancellationException e) {
      throw Feed.interrupted(e);
    } finally {
      try {
        feed.close();
      } finally {
        target.close();
      }
    }
  }
}
