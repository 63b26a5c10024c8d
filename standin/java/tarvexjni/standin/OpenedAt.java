package tarvexjni.standin;

import java.util.ArrayList;
import java.util.List;

// Where a call into the library came from, as the stand-in kept its Java frames (innermost first,
// each "class<TAB>method<TAB>file<TAB>line"): the first frame of code that is not the library's
// Java side, the kit's, the JDK's or JUnit's, and the test's own frame where that is further out.
final class OpenedAt {

  private static final List<String> NOT_THE_CALLER = List.of(
    "Norv1.",
    "tarvexjni.",
    "java.",
    "javax.",
    "jdk.",
    "sun.",
    "com.sun.",
    "org.junit.",
    "org.opentest4j."
  );

  private OpenedAt() {}

  // "at app.Service.open(Service.java:40), from tvkit.ServiceTest.leaks(ServiceTest.java:88)";
  // "" when no frame was kept.
  static String describe(List<String> frames, Class<?> test) {
    List<StackTraceElement> kept = new ArrayList<>();
    for (String f : frames) {
      String[] field = f.split("\t", -1);
      if (field.length == 4) {
        String file = field[2].isEmpty() ? null : field[2];
        kept.add(new StackTraceElement(field[0], field[1], file, Integer.parseInt(field[3])));
      }
    }
    StackTraceElement caller = null;
    for (StackTraceElement e : kept) {
      if (!library(e.getClassName()) && e.getLineNumber() >= 0) {
        caller = e;
        break;
      }
    }
    if (caller == null) return "";
    String at = "at " + caller;
    if (test == null || ofTest(caller.getClassName(), test)) return at;
    for (StackTraceElement e : kept.subList(kept.indexOf(caller), kept.size())) {
      if (ofTest(e.getClassName(), test)) return at + ", from " + e;
    }
    return at;
  }

  private static boolean library(String className) {
    for (String prefix : NOT_THE_CALLER) {
      if (className.startsWith(prefix)) return true;
    }
    return false;
  }

  // The test class, a class it extends, or one nested in either.
  private static boolean ofTest(String className, Class<?> test) {
    for (Class<?> c = test; c != null && c != Object.class; c = c.getSuperclass()) {
      for (Class<?> outer = c; outer != null; outer = outer.getEnclosingClass()) {
        if (
          className.equals(outer.getName()) || className.startsWith(outer.getName() + "$")
        ) return true;
      }
    }
    return false;
  }
}
