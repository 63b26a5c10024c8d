package tvfuzz;

import Norv1.LocalIface;
import java.lang.reflect.Array;
import java.lang.reflect.Field;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Comparator;
import java.util.List;

/**
 * The Java side of the fuzzer: LocalIface's native methods in a fixed order, and arguments of
 * every shape for one of them, each choice drawn from the fuzzer's bytes. Records are built
 * field by field from their declarations, so every method is covered by one way of building.
 */
public final class Shapes {

  private Shapes() {}

  private static final Method[] METHODS = nativeMethods();

  private static Method[] nativeMethods() {
    List<Method> out = new ArrayList<>();
    for (Method m : LocalIface.class.getDeclaredMethods())
      if (Modifier.isNative(m.getModifiers())) out.add(m);
    out.sort(Comparator.comparing(Method::getName));
    return out.toArray(new Method[0]);
  }

  /** The native methods' names, sorted: the fuzzer's method numbers index this list. */
  public static String[] names() {
    String[] names = new String[METHODS.length];
    for (int i = 0; i < names.length; ++i) names[i] = METHODS[i].getName();
    return names;
  }

  /** The JNI descriptor of method number i. */
  public static String descriptor(int i) {
    StringBuilder b = new StringBuilder("(");
    for (Class<?> p : METHODS[i].getParameterTypes()) b.append(signature(p));
    return b.append(')').append(signature(METHODS[i].getReturnType())).toString();
  }

  /** The checked exceptions method number i declares, by class name, separated by spaces. */
  public static String declared(int i) {
    StringBuilder b = new StringBuilder();
    for (Class<?> e : METHODS[i].getExceptionTypes()) b.append(e.getName()).append(' ');
    return b.toString();
  }

  private static String signature(Class<?> c) {
    if (c == int.class) return "I";
    if (c == long.class) return "J";
    if (c == byte.class) return "B";
    if (c.isArray()) return c.getName().replace('.', '/');
    return "L" + c.getName().replace('.', '/') + ";";
  }

  /**
   * Arguments for method number i, self first: ints and longs boxed. `self` holds a live
   * context; `handles` are handle values the library issued earlier in this input.
   */
  public static Object[] arguments(int i, byte[] data, LocalIface self, long[] handles) {
    Draw d = new Draw(data, handles);
    Class<?>[] types = METHODS[i].getParameterTypes();
    Object[] out = new Object[types.length];
    for (int k = 0; k < types.length; ++k) {
      out[k] = k == 0 ? d.self(self) : d.value(types[k], 0, "");
    }
    return out;
  }

  /** Choices drawn from the fuzzer's bytes; zeros once they run out. */
  private static final class Draw {

    private final byte[] data;
    private int pos;
    private final long[] handles;

    Draw(byte[] data, long[] handles) {
      this.data = data;
      this.handles = handles;
    }

    int below(int n) {
      if (n <= 1) return 0;
      int v = 0;
      for (int b = 0; b < (n > 256 ? 2 : 1); ++b) v =
        (v << 8) | (pos < data.length ? data[pos++] & 0xFF : 0);
      return v % n;
    }

    boolean oneIn(int n) {
      return below(n) == 0;
    }

    LocalIface self(LocalIface live) {
      switch (below(16)) {
        case 0:
          return null;
        case 1: {
          LocalIface other = new LocalIface();
          other.handle = oneIn(2) ? 0 : 0x1234567; // no context, or one the library never made
          return other;
        }
        default:
          return live;
      }
    }

    private static final int[] INTS = {
      0,
      1,
      -1,
      2,
      3,
      4,
      5,
      101,
      0x7FFFFFFF,
      0x80000000,
      1 << 30,
      4096,
    };
    private static final long[] LONGS = {
      0,
      1,
      -1,
      0xFFFFFFFFL,
      0x100000000L,
      Long.MIN_VALUE,
      1L << 40,
    };

    int anInt(List<Integer> lengths) {
      if (!lengths.isEmpty() && oneIn(2)) {
        int n = lengths.get(below(lengths.size()));
        return n + below(3) - 1; // below, at or above an array's length
      }
      return INTS[below(INTS.length)];
    }

    String text() {
      switch (below(9)) {
        case 0:
        case 1:
          return null;
        case 2:
          return "";
        case 3:
          return "x".repeat(250 + below(300)); // around and past the stack buffer
        case 4:
          return "caf\u00e9"; // outside ASCII
        case 5:
          return "\u20ac\ud800"; // outside Latin-1, a lone surrogate
        case 6:
          return "/nonexistent/" + below(100);
        default:
          return "t" + below(1000);
      }
    }

    byte[] bytes() {
      switch (below(5)) {
        case 0:
          return null;
        case 1:
          return new byte[0];
        default: {
          byte[] b = new byte[below(oneIn(8) ? 5000 : 24)];
          for (int i = 0; i < b.length; ++i) b[i] = (byte) below(256);
          return b;
        }
      }
    }

    /** A value of type t: null often, records built field by field up to a depth. */
    Object value(Class<?> t, int depth, String name) {
      if (t == int.class) return anInt(List.of());
      if (t == long.class) return LONGS[below(LONGS.length)];
      if (t == String.class) return text();
      if (t == byte[].class) return bytes();
      if (t == int[].class) return oneIn(4) ? null : new int[below(4)];
      if (t == Object.class) return handle();
      if (t.isArray()) {
        if (oneIn(3) || depth > 3) return null;
        Object a = Array.newInstance(t.getComponentType(), below(5));
        for (int k = 0; k < Array.getLength(a); ++k) if (!oneIn(5)) Array.set(
          a,
          k,
          value(t.getComponentType(), depth + 1, name)
        );
        return a;
      }
      if (t.getDeclaringClass() == LocalIface.class) {
        if (oneIn(5) || depth > 3) return null;
        // A look-alike where a method declares the final block class would break the method's
        // type (the bridge relies on it there); other records, and blocks of a host whose
        // classes are not final, may be any class with the fields.
        boolean finalBlock = t == LocalIface.mem_blk_t.class && Modifier.isFinal(t.getModifiers());
        if (depth == 0 && oneIn(6) && !finalBlock) return alike(t);
        return record(t, depth);
      }
      return null;
    }

    Object handle() {
      switch (below(8)) {
        case 0:
          return null;
        case 1:
          return alike(LocalIface.strhandle_t.class);
        case 2:
          return Integer.valueOf(7); // no handle field at all
        default: {
          LocalIface.strhandle_t h = new LocalIface.strhandle_t();
          h.handle =
            handles.length > 0 && !oneIn(3)
              ? handles[below(handles.length)]
              : LONGS[below(LONGS.length)];
          return h;
        }
      }
    }

    /** A record: arrays and nested records first, then ints, counts among them drawn near the lengths. */
    Object record(Class<?> t, int depth) {
      try {
        Object o = t.getDeclaredConstructor().newInstance();
        Field[] fields = t.getDeclaredFields();
        List<Integer> lengths = new ArrayList<>();
        for (Field f : fields) {
          if (Modifier.isStatic(f.getModifiers()) || f.getType().isPrimitive()) continue;
          Object v = value(f.getType(), depth + 1, f.getName());
          f.set(o, v);
          if (v != null && v.getClass().isArray()) lengths.add(Array.getLength(v));
        }
        for (Field f : fields) {
          if (Modifier.isStatic(f.getModifiers())) continue;
          if (f.getType() == int.class) f.setInt(o, anInt(lengths));
          else if (f.getType() == long.class) f.setLong(o, LONGS[below(LONGS.length)]);
        }
        return o;
      } catch (ReflectiveOperationException e) {
        throw new IllegalStateException(e);
      }
    }

    /** A look-alike of record class t: one of its generated tvfuzz.alike classes, filled likewise. */
    Object alike(Class<?> t) {
      String[] variants = { "Same", "NoFirst", "NoLast", "Retyped" };
      try {
        Class<?> c = Class.forName("tvfuzz.alike." + t.getSimpleName() + "$" + variants[below(4)]);
        return record(c, 1);
      } catch (ClassNotFoundException e) {
        throw new IllegalStateException(e);
      }
    }
  }

  /** The elements, for a reproducer's description. */
  public static String describe(Object[] args) {
    return Arrays.deepToString(args);
  }
}
