/**
 * tarvexjni: Java programs use the native cryptographic library tarvex through the class
 * {@link Norv1.LocalIface}. The jar carries the native bridge and loads it itself.
 */
module tarvexjni {
  exports Norv1;
  exports tarvexjni;
  // The loader, shared with the test kit that carries the stand-in library the same way.
  exports tarvexjni.internal to tarvexjni.standin;
}
