package tvkit;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import tarvexjni.standin.StandIn;

// A JVM of its own that loads `args[0]` (if given) and then tries the kit; prints the refusal.
final class Refusal {
  private Refusal() {}

  public static void main(String[] args) {
    if (args.length > 0) System.load(args[0]);
    try {
      StandIn.reset();
      System.out.println("accepted");
    } catch (LinkageError e) {
      System.out.println(e.getMessage());
    }
  }

  // Runs main in a new JVM like this one, with `options`; returns what it printed.
  static String run(List<String> options, String preload) throws IOException, InterruptedException {
    List<String> command = new ArrayList<>();
    command.add(ProcessHandle.current().info().command().orElseThrow());
    if (Runtime.version().feature() >= 24) command.add("--enable-native-access=ALL-UNNAMED");
    command.addAll(options);
    command.addAll(List.of("-cp", System.getProperty("java.class.path"), Refusal.class.getName()));
    if (preload != null) command.add(preload);
    Process p = new ProcessBuilder(command).redirectErrorStream(true).start();
    String out = new String(p.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
    p.waitFor();
    return out;
  }
}
