package tvkit;

import static tarvexjni.standin.LibraryFunction.HashMem;
import static tarvexjni.standin.Times.times;

import Norv1.LocalIface;
import tarvexjni.standin.StandIn;

// Run by RecordingTest in a JVM of its own, where a setting chose the log's size: makes `calls`
// hashes (each with its FreeMem) and prints what the log keeps of them.
final class CallLog {

  private CallLog() {}

  public static void main(String[] args) throws Exception {
    StandIn.reset();
    LocalIface lib = new LocalIface();
    if (LocalIface.QUMENJNI_InitMinimal(lib) != 0) throw new AssertionError("InitMinimal");
    int calls = Integer.parseInt(args[0]);
    for (int i = 0; i < calls; i++) {
      LocalIface.QUMENJNI_HashMem(
        lib,
        new LocalIface.mem_blk_t(Lib.DATA),
        new LocalIface.mem_blk_t()
      );
    }
    StandIn.verify(HashMem, times(calls));
    System.out.println("keeps " + StandIn.logLimit() + ", holds " + StandIn.calls().size());
    LocalIface.QUMENJNI_Uninitialize(lib);
  }
}
