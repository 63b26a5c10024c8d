package tarvexjni.standin.internal;

import java.util.function.LongConsumer;
import java.util.function.LongSupplier;

/**
 * What the kit does at the boundaries of JUnit's tests ({@link TestBoundaries}), apart from
 * JUnit's classes so that the kit needs no JUnit where it runs without it: take a mark of where
 * the programming stands, and drop what was programmed since a mark. For the kit's own use.
 */
public final class Boundaries {

  private static volatile LongSupplier marker = () -> 0;
  private static volatile LongConsumer dropper = mark -> {};

  private Boundaries() {}

  /**
   * Installs what the kit does.
   *
   * @param markNow gives the current mark
   * @param dropSince drops the programming made since the mark
   */
  public static void install(LongSupplier markNow, LongConsumer dropSince) {
    marker = markNow;
    dropper = dropSince;
  }

  static long mark() {
    return marker.getAsLong();
  }

  static void dropSince(long mark) {
    dropper.accept(mark);
  }
}
