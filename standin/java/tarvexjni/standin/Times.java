package tarvexjni.standin;

/**
 * How often a function should have been called, for {@link StandIn#verify(LibraryFunction, Times)}
 * and {@link Calls#verify(LibraryFunction, Times)}: {@code times(2)}, {@code never()},
 * {@code atLeast(1)}.
 */
public final class Times {

  private final long least;
  private final long most;

  private Times(long least, long most) {
    this.least = least;
    this.most = most;
  }

  /**
   * Exactly {@code n} times.
   *
   * @param n how often, 0 or more
   * @return the count
   * @throws IllegalArgumentException for a negative {@code n}
   */
  public static Times times(int n) {
    return new Times(checked(n), n);
  }

  /**
   * Exactly once.
   *
   * @return the count
   */
  public static Times once() {
    return times(1);
  }

  /**
   * Not at all.
   *
   * @return the count
   */
  public static Times never() {
    return times(0);
  }

  /**
   * {@code n} times or more.
   *
   * @param n the fewest, 0 or more
   * @return the count
   * @throws IllegalArgumentException for a negative {@code n}
   */
  public static Times atLeast(int n) {
    return new Times(checked(n), Long.MAX_VALUE);
  }

  /**
   * {@code n} times or fewer.
   *
   * @param n the most, 0 or more
   * @return the count
   * @throws IllegalArgumentException for a negative {@code n}
   */
  public static Times atMost(int n) {
    return new Times(0, checked(n));
  }

  boolean matches(long calls) {
    return calls >= least && calls <= most;
  }

  /**
   * The count in words: "2 times", "never", "at least once".
   *
   * @return the words
   */
  @Override
  public String toString() {
    if (least == most) return least == 0 ? "never" : count(least);
    if (most == Long.MAX_VALUE) return "at least " + count(least);
    return "at most " + count(most);
  }

  static String count(long n) {
    return n == 0 ? "0 times" : n == 1 ? "once" : n == 2 ? "twice" : n + " times";
  }

  private static int checked(int n) {
    if (n < 0) throw new IllegalArgumentException("a negative count: " + n);
    return n;
  }
}
