/**
 * The test kit for Java teams: the project's stand-in for the native library, programmable
 * from tests through {@link tarvexjni.standin.StandIn}. Nothing in it is cryptographic.
 */
module tarvexjni.standin {
  requires tarvexjni;

  exports tarvexjni.standin;
}
