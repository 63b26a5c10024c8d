package tvkit;

import static org.junit.jupiter.api.Assertions.assertEquals;

import org.junit.jupiter.api.Test;
import tarvexjni.standin.LibraryFunction;
import tarvexjni.standin.StandIn;
import tarvexjni.standin.StandInTest;

// A test over the kit; see OrderPlain.
@StandInTest
class OrderKit {

  @Test
  void programsTheStandIn() {
    StandIn.failNext(LibraryFunction.HashMem, 7);
    try (Lib lib = new Lib()) {
      assertEquals(7, lib.hash());
    }
  }
}
