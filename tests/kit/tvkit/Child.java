package tvkit;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.concurrent.TimeUnit;

// A JVM of its own for what one JVM cannot show: the kit used without JUnit, with settings that
// are read once. Like this one: -Xcheck:jni with libjsig preloaded, this class path, native
// access granted on JDK 24 and later.
final class Child {

  private Child() {}

  // Runs `main` with these JVM options, environment variables and arguments; what it printed
  // (stdout and stderr together). Fails when it does not end within two minutes.
  static String run(
    List<String> options,
    Map<String, String> environment,
    Class<?> main,
    String... args
  ) throws IOException, InterruptedException {
    Path javaHome = Path.of(System.getProperty("java.home"));
    List<String> command = new ArrayList<>(
      List.of(javaHome.resolve("bin/java").toString(), "-Xcheck:jni")
    );
    if (Runtime.version().feature() >= 24) command.add("--enable-native-access=ALL-UNNAMED");
    command.addAll(options);
    command.addAll(List.of("-cp", System.getProperty("java.class.path"), main.getName()));
    command.addAll(List.of(args));
    ProcessBuilder builder = new ProcessBuilder(command).redirectErrorStream(true);
    builder.environment().put("LD_PRELOAD", javaHome.resolve("lib/libjsig.so").toString());
    builder.environment().putAll(environment);
    Process p = builder.start();
    String out = new String(p.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
    if (!p.waitFor(2, TimeUnit.MINUTES)) {
      p.destroyForcibly();
      throw new AssertionError("the child JVM did not end: " + out);
    }
    return out;
  }
}
