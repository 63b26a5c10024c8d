package tvkit;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import tarvexjni.standin.StandIn;

// A JVM of its own that tries the kit and prints what it says. With "bridge-first" it uses the
// bridge before the kit; with a path, it loads that library first.
final class Refusal {

  private Refusal() {}

  public static void main(String[] args) throws Exception {
    try {
      if (args.length > 0 && args[0].equals("bridge-first")) {
        try {
          Class.forName("Norv1.LocalIface");
        } catch (LinkageError expected) {
          // no libtarvex.so yet: the bridge's loading fails for good
        }
        StandIn.checkUsable();
      } else {
        if (args.length > 0) System.load(args[0]);
        StandIn.reset();
      }
      System.out.println("accepted");
    } catch (LinkageError | IllegalStateException e) {
      System.out.println(e.getMessage());
    }
  }

  // Runs main in a new JVM like this one, with `options` and this JVM's class path; returns
  // what it printed.
  static String run(List<String> options, String argument)
    throws IOException, InterruptedException {
    List<String> all = new ArrayList<>(options);
    all.addAll(List.of("-cp", System.getProperty("java.class.path")));
    return runWith(all, "ALL-UNNAMED", argument);
  }

  // The same with exactly these options (class path included), native access granted to `access`.
  static String runWith(List<String> options, String access, String argument)
    throws IOException, InterruptedException {
    List<String> command = new ArrayList<>();
    // This JVM's launcher, from java.home: ProcessHandle's info() reads the whole command line
    // through more local references than -Xcheck:jni allows a native method without a warning.
    command.add(Path.of(System.getProperty("java.home"), "bin", "java").toString());
    if (Runtime.version().feature() >= 24) command.add("--enable-native-access=" + access);
    command.addAll(options);
    command.add(Refusal.class.getName());
    if (argument != null) command.add(argument);
    Process p = new ProcessBuilder(command).redirectErrorStream(true).start();
    String out = new String(p.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
    p.waitFor();
    return out;
  }
}
