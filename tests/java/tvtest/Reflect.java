package tvtest;

import java.lang.reflect.Field;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.net.URL;
import java.net.URLClassLoader;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;

/** Descriptors of LocalIface's methods and of record fields, for the C++ side of the tests. */
public final class Reflect {

  private Reflect() {}

  public static String signature(Class<?> c) {
    if (c == int.class) return "I";
    if (c == long.class) return "J";
    if (c == byte.class) return "B";
    if (c == boolean.class) return "Z";
    if (c == void.class) return "V";
    if (c.isArray()) return c.getName().replace('.', '/');
    return "L" + c.getName().replace('.', '/') + ";";
  }

  /** The JNI descriptor of the LocalIface method of this name, or null. */
  public static String methodDescriptor(String name) throws ClassNotFoundException {
    for (Method m : Class.forName("Norv1.LocalIface").getDeclaredMethods()) {
      if (!m.getName().equals(name)) continue;
      StringBuilder b = new StringBuilder("(");
      for (Class<?> p : m.getParameterTypes()) b.append(signature(p));
      return b.append(')').append(signature(m.getReturnType())).toString();
    }
    return null;
  }

  /** The JNI signature of a field of an object's class, or null. */
  public static String fieldSignature(Class<?> c, String name) {
    for (Class<?> k = c; k != null; k = k.getSuperclass()) {
      for (Field f : k.getDeclaredFields()) {
        if (f.getName().equals(name) && !Modifier.isStatic(f.getModifiers())) return signature(
          f.getType()
        );
      }
    }
    return null;
  }

  /** The names of LocalIface's native methods. */
  public static String[] nativeMethods() throws ClassNotFoundException {
    List<String> names = new ArrayList<>();
    for (Method m : Class.forName("Norv1.LocalIface").getDeclaredMethods()) {
      if (Modifier.isNative(m.getModifiers())) names.add(m.getName());
    }
    return names.toArray(new String[0]);
  }

  /**
   * The nested classes of the LocalIface that a jar holds, by simple name, sorted, each followed
   * by " final" when it is. Read in a loader of their own, without initialising the class.
   */
  public static String[] nestedClasses(String jar) throws Exception {
    URL[] path = { Path.of(jar).toUri().toURL() };
    try (URLClassLoader loader = new URLClassLoader(path, null)) {
      List<String> out = new ArrayList<>();
      for (Class<?> c : Class.forName("Norv1.LocalIface", false, loader).getDeclaredClasses()) {
        out.add(c.getSimpleName() + (Modifier.isFinal(c.getModifiers()) ? " final" : ""));
      }
      Collections.sort(out);
      return out.toArray(new String[0]);
    }
  }
}
