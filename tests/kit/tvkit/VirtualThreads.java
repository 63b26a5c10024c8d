package tvkit;

import static tarvexjni.standin.LibraryFunction.HashMem;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.atomic.AtomicInteger;
import tarvexjni.standin.RecordedCall;
import tarvexjni.standin.StandIn;

// Run by ThreadsTest in a JVM whose virtual threads share one carrier (JDK 21 and later): a
// failure that one virtual thread programs for itself, and the calls of two virtual threads in
// the log. Prints what each thread got and what the log says.
final class VirtualThreads {

  private VirtualThreads() {}

  public static void main(String[] args) throws Exception {
    StandIn.reset(); // the stand-in in place before the bridge
    LocalIface lib = new LocalIface();
    if (LocalIface.QUMENJNI_InitMinimal(lib) != 0) throw new AssertionError("InitMinimal");
    AtomicInteger first = new AtomicInteger();
    AtomicInteger second = new AtomicInteger();
    CountDownLatch programmed = new CountDownLatch(1);
    CountDownLatch called = new CountDownLatch(1);
    Thread b = virtual("vt-b", () -> {
      await(programmed);
      second.set(hash(lib));
      called.countDown();
    });
    Thread a = virtual("vt-a", () -> {
      StandIn.on(HashMem).fail(7); // for this virtual thread alone
      programmed.countDown();
      await(called); // vt-b calls on the one carrier meanwhile
      first.set(hash(lib));
    });
    a.join();
    b.join();
    System.out.println("vt-a got " + first.get() + ", vt-b got " + second.get());
    for (RecordedCall c : StandIn.recordedCalls().of(HashMem)) {
      long expected = c.threadName().equals("vt-a") ? a.getId() : b.getId();
      System.out.println(
        c.threadName() + (c.thread() == expected ? " is its own thread" : " is " + c.thread())
      );
    }
    LocalIface.QUMENJNI_Uninitialize(lib);
  }

  static int hash(LocalIface lib) {
    mem_blk_t out = new mem_blk_t();
    return LocalIface.QUMENJNI_HashMem(lib, new mem_blk_t(new byte[] { 1 }), out);
  }

  static void await(CountDownLatch latch) {
    try {
      latch.await();
    } catch (InterruptedException e) {
      throw new IllegalStateException(e);
    }
  }

  // Thread.ofVirtual().name(name).start(body), through reflection: the tests compile for JDK 17.
  static Thread virtual(String name, Runnable body) throws ReflectiveOperationException {
    Class<?> builder = Class.forName("java.lang.Thread$Builder");
    Object b = Thread.class.getMethod("ofVirtual").invoke(null);
    b = builder.getMethod("name", String.class).invoke(b, name);
    return (Thread) builder.getMethod("start", Runnable.class).invoke(b, body);
  }
}
