package tvtest;

import java.lang.ref.WeakReference;

/**
 * The JVM's own use of signals, exercised from Java: compiled code takes implicit null checks
 * and integer division checks as SIGSEGV and SIGFPE, stack overflows hit guard pages. Each
 * probe returns true when Java saw exactly the exception it should.
 */
public final class Health {

  private Health() {}

  private static volatile int sink;
  private static volatile Object nothing;
  private static volatile int zero;

  public static boolean nullPointers() {
    int caught = 0;
    for (int i = 0; i < 200_000; i++) {
      try {
        sink += nothing.hashCode();
      } catch (NullPointerException e) {
        caught++;
      }
    }
    return caught == 200_000;
  }

  public static boolean divisions() {
    int caught = 0;
    for (int i = 0; i < 200_000; i++) {
      try {
        sink += i / zero;
      } catch (ArithmeticException e) {
        caught++;
      }
    }
    return caught == 200_000;
  }

  private static int depth(int n) {
    return n == Integer.MAX_VALUE ? n : depth(n + 1) + 1;
  }

  public static boolean stackOverflow() {
    try {
      sink = depth(0);
      return false;
    } catch (StackOverflowError e) {
      return true;
    }
  }

  public static boolean collection() {
    WeakReference<Object> ref = new WeakReference<>(new Object());
    for (int i = 0; i < 20 && ref.get() != null; i++) {
      byte[][] garbage = new byte[64][];
      for (int k = 0; k < garbage.length; k++) garbage[k] = new byte[1 << 16];
      sink += garbage.length;
      System.gc();
    }
    return ref.get() == null;
  }

  public static boolean all() {
    return nullPointers() && divisions() && stackOverflow() && collection();
  }
}
