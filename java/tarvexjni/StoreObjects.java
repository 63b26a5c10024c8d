package tarvexjni;

import static tarvexjni.Records.bytes;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.strhandle_t;
import java.io.CharConversionException;
import java.util.Iterator;
import java.util.NoSuchElementException;
import java.util.OptionalInt;
import java.util.Spliterator;
import java.util.Spliterators;
import java.util.stream.Stream;
import java.util.stream.StreamSupport;

/**
 * The objects of one of the library's stores, one at a time: an enumeration made by {@link
 * Tarvex#storeObjects()}, iterated once, as a {@code for} loop, an {@link Iterator} or a {@link
 * Stream}. Each step is one call into the library, serialised with the other calls of its
 * context; the enumeration itself is for one thread at a time.
 *
 * <pre>{@code
 * try (StoreObjects objects = tarvex.storeObjects()) {
 *   for (byte[] object : objects) {
 *     if (wanted(object)) break;        // closing ends the enumeration half-way
 *   }
 * }
 * try (Stream<byte[]> objects = tarvex.storeObjects().stream()) {
 *   count = objects.count();
 * }
 * }</pre>
 *
 * <h2>Ending</h2>
 * The library ends an enumeration by refusing a step: at the end of the store, and also on an
 * error, which it does not tell apart; the iteration then ends, its handle is 0, and {@link
 * #endStatus()} holds the status of that step. A machine fault or a Java exception of the bridge
 * is thrown instead, as {@link TarvexException}, and also ends the iteration. The library has no
 * call that ends an enumeration early: {@link #close()} (or closing the {@link #stream()})
 * forgets its position, so that nothing continues it, and makes no call. After {@code close()}
 * the iteration behaves as if the store had ended.
 */
public final class StoreObjects implements Iterable<byte[]>, AutoCloseable {

  // One step: the position's handle read and written, the object into `out`.
  interface Step {
    int call(LocalIface lib, strhandle_t position, mem_blk_t out)
      throws CharConversionException, NoSuchFieldException;
  }

  private final Tarvex owner;
  private final String operation;
  private final Step step;
  private final strhandle_t position = new strhandle_t();
  private boolean iterating;
  private boolean closed;
  private boolean ended;
  private int endStatus;
  private byte[] next;

  StoreObjects(Tarvex owner, String operation, Step step) {
    this.owner = owner;
    this.operation = operation;
    this.step = step;
  }

  /**
   * The iterator over the objects; only one per enumeration.
   *
   * @return the iterator; its {@code hasNext} calls the library when it needs the next object,
   *     and throws {@link TarvexException} for a machine fault or an exception of the bridge, and
   *     {@link IllegalStateException} when the context is closed or unusable after a fault
   * @throws IllegalStateException when an iterator (or a stream) was already made, or the
   *     enumeration is closed
   */
  @Override
  public Iterator<byte[]> iterator() {
    if (closed) throw new IllegalStateException("the enumeration is closed");
    if (iterating) throw new IllegalStateException("the enumeration is iterated once only");
    iterating = true;
    return new Iterator<>() {
      @Override
      public boolean hasNext() {
        if (next == null && !closed && !ended) advance();
        return next != null;
      }

      @Override
      public byte[] next() {
        if (!hasNext()) throw new NoSuchElementException();
        byte[] object = next;
        next = null;
        return object;
      }
    };
  }

  /**
   * The objects as a sequential stream; closing the stream closes the enumeration. Only one of
   * this and {@link #iterator()} may be used.
   *
   * @return the stream
   * @throws IllegalStateException when an iterator (or a stream) was already made, or the
   *     enumeration is closed
   */
  public Stream<byte[]> stream() {
    Spliterator<byte[]> objects = Spliterators.spliteratorUnknownSize(
      iterator(),
      Spliterator.ORDERED | Spliterator.NONNULL
    );
    return StreamSupport.stream(objects, false).onClose(this::close);
  }

  private void advance() {
    mem_blk_t out = new mem_blk_t();
    int status;
    try {
      status = owner.status(operation, lib -> step.call(lib, position, out));
    } catch (RuntimeException e) {
      ended = true;
      throw e;
    }
    if (status == 0) {
      next = bytes(out);
    } else {
      ended = true;
      endStatus = status;
    }
  }

  /**
   * The status of the step with which the library ended the enumeration: its status for the
   * end of the store, or for an error it met.
   *
   * @return the status; empty while the library has not ended the enumeration
   */
  public OptionalInt endStatus() {
    return ended && endStatus != 0 ? OptionalInt.of(endStatus) : OptionalInt.empty();
  }

  /**
   * Ends the enumeration: its position is forgotten and no further step is made. The library has
   * no call for this, so none is made. Only the first call does anything.
   */
  @Override
  public void close() {
    closed = true;
    next = null;
    position.handle = 0;
  }
}
