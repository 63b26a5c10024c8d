package tvkit;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.File;
import java.util.Arrays;
import java.util.List;
import org.junit.jupiter.api.Test;

// How the kit puts itself in place, and says why it cannot, each case in a JVM of its own.
class LoadingTest {

  static String jar(String name) {
    return Arrays.stream(System.getProperty("java.class.path").split(File.pathSeparator))
      .filter(p -> p.equals(name) || p.endsWith(File.separator + name))
      .findFirst()
      .orElseThrow();
  }

  // Another libtarvex.so came first, or the vendor's library is named to the bridge.
  @Test
  void refusesAnotherLibrary() throws Exception {
    String foreign = System.getProperty("tvkit.foreign");
    assertNotNull(foreign, "-Dtvkit.foreign must name a libtarvex.so other than the kit's");
    String out = Refusal.run(List.of(), foreign);
    assertTrue(out.contains("another libtarvex.so is already loaded, from " + foreign), out);
    out = Refusal.run(List.of("-Dtarvex.library=" + foreign), null);
    assertTrue(out.contains("tarvex.library names " + foreign), out);
  }

  // Outside JUnit nothing puts the stand-in in place first: a bridge used before it cannot be
  // used afterwards, and the kit says why instead of "Could not initialize class".
  @Test
  void explainsABridgeUsedFirst() throws Exception {
    String out = Refusal.run(List.of(), "bridge-first");
    assertTrue(
      out.startsWith(
        "Norv1.LocalIface cannot be used in this JVM: something used it before the kit put" +
          " the stand-in in place"
      ),
      out
    );
    assertTrue(out.contains("Cannot find libtarvex.so"), "with the bridge's own reason: " + out);
  }

  // On the module path without JUnit: the kit's module needs JUnit only for its extension.
  @Test
  void worksOnTheModulePathWithoutJUnit() throws Exception {
    String out = Refusal.runWith(
      List.of(
        "-p",
        jar("tarvexjni.jar") + File.pathSeparator + jar("tarvexjni-standin.jar"),
        "--add-modules",
        "tarvexjni.standin",
        "-cp",
        jar("tarvexjni-standin-tests.jar")
      ),
      "tarvexjni,tarvexjni.standin",
      null
    );
    assertEquals("accepted", out.strip());
  }
}
