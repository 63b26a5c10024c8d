/**
 * tarvexjni: Java programs use the native cryptographic library tarvex through the API of the
 * package {@code tarvexjni} (contexts that close, byte arrays in and out, streams), or through
 * the class {@link Norv1.LocalIface}, which mirrors the library method for method;
 * {@link tarvexjni.Native} tells whether the native part is available and which version runs.
 * The jar carries the native bridge and loads it itself.
 */
module tarvexjni {
  exports Norv1;
  exports tarvexjni;

  // The loader, shared with the test kit that carries the stand-in library the same way.
  exports tarvexjni.internal to tarvexjni.standin;
}
