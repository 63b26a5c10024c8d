package tvfuzz;

import java.io.IOException;
import java.lang.reflect.Field;
import java.lang.reflect.Modifier;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;

/**
 * Writes the look-alike record classes the fuzzer passes where the bridge expects a record of
 * LocalIface: for every record class, four classes in tvfuzz.alike.&lt;record&gt;: Same (the same
 * fields), NoFirst and NoLast (a field missing), Retyped (its middle field of another type).
 * Run at build time: java -cp tarvexjni.jar Generate.java &lt;source folder&gt;.
 */
public final class Generate {

  private Generate() {}

  public static void main(String[] args) throws IOException, ClassNotFoundException {
    Path out = Path.of(args[0], "tvfuzz", "alike");
    Files.createDirectories(out);
    for (Class<?> record : Class.forName(
      "Norv1.LocalIface",
      false,
      Generate.class.getClassLoader()
    ).getDeclaredClasses()) {
      List<Field> fields = new ArrayList<>();
      for (Field f : record.getDeclaredFields())
        if (!Modifier.isStatic(f.getModifiers())) fields.add(f);
      if (fields.isEmpty()) continue;
      String name = record.getSimpleName();
      StringBuilder s = new StringBuilder("package tvfuzz.alike;\n\n");
      s.append("/** Look-alikes of LocalIface.").append(name).append(" (generated). */\n");
      s.append("public final class ").append(name).append(" {\n");
      s.append("  private ").append(name).append("() {}\n");
      s.append(variant("Same", fields, -1, -1));
      s.append(variant("NoFirst", fields, 0, -1));
      s.append(variant("NoLast", fields, fields.size() - 1, -1));
      s.append(variant("Retyped", fields, -1, fields.size() / 2));
      s.append("}\n");
      Files.writeString(out.resolve(name + ".java"), s.toString());
    }
  }

  private static String variant(String name, List<Field> fields, int dropped, int retyped) {
    StringBuilder s = new StringBuilder("\n  public static final class " + name + " {\n");
    for (int i = 0; i < fields.size(); ++i) {
      if (i == dropped) continue;
      Class<?> t = fields.get(i).getType();
      String type = i == retyped ? other(t) : t.getCanonicalName();
      s.append("    public ")
        .append(type)
        .append(' ')
        .append(fields.get(i).getName())
        .append(";\n");
    }
    return s.append("  }\n").toString();
  }

  private static String other(Class<?> t) {
    if (t == int.class) return "long";
    if (t == long.class) return "int";
    if (t == String.class) return "byte[]";
    return "String";
  }
}
