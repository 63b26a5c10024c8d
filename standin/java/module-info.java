/**
 * The test kit for Java teams: the project's stand-in for the native library, programmable from
 * tests through {@link tarvexjni.standin.StandIn}, and its JUnit 5 extension,
 * {@link tarvexjni.standin.StandInTest}. Nothing in it is cryptographic. JUnit is needed only to
 * use the extension; the kit declares no service here (that would require JUnit's launcher on the
 * module path), so on the module path JUnit does not put the stand-in in place at its start.
 */
module tarvexjni.standin {
  requires tarvexjni;
  requires static transitive org.junit.jupiter.api;
  requires static org.junit.platform.launcher;

  exports tarvexjni.standin;
}
