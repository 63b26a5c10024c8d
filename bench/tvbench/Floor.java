package tvbench;

import Norv1.LocalIface;

/** Hand-written JNI for the same calls, and a bare static native no-op. */
final class Floor {

  static {
    System.loadLibrary("tvjbench");
  }

  private Floor() {}

  static native void noop();

  /** Sets the stand-in's answers the benchmark compares (VerifyMem, FindCert). */
  static native void program();

  static native int hashMem(LocalIface self, LocalIface.mem_blk_t data, LocalIface.mem_blk_t hash);

  static native int verifyMem(
    LocalIface self,
    LocalIface.verify_param_t param,
    LocalIface.mem_blk_t in1,
    LocalIface.mem_blk_t in2,
    LocalIface.mem_blk_t content,
    LocalIface.verify_result_t result
  );

  static native int findCert(
    LocalIface self,
    LocalIface.find_param_t param,
    LocalIface.find_result_t result
  );

  static native int parseCert(
    LocalIface self,
    LocalIface.mem_blk_t encoded,
    int flag,
    LocalIface.certificate_t cert
  );
}
