package tvbench;

import Norv1.LocalIface;

/** Hand-written JNI for the same calls, and a bare static native no-op. */
final class Floor {
  static {
    System.loadLibrary("tvjbench");
  }

  private Floor() {}

  static native void noop();

  static native int hashMem(LocalIface self, LocalIface.mem_blk_t data, LocalIface.mem_blk_t hash);
}
