package tvapi;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.Iterator;
import java.util.List;
import java.util.NoSuchElementException;
import java.util.OptionalInt;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.parallel.ResourceLock;
import tarvexjni.StoreObjects;
import tarvexjni.TarvexException;
import tarvexjni.standin.StandIn;

// Enumerations of a store: to the end, abandoned, refused, crashed.
@ResourceLock(StandIn.RESOURCE_LOCK)
class StoresTest extends Kit {

  @Test
  void walksTheStoreToItsEnd() {
    try (StoreObjects objects = tarvex.storeObjects()) {
      int n = 0;
      for (byte[] object : objects) {
        assertEquals(0x30, object[0]);
        n++;
      }
      assertEquals(3, n);
      assertEquals(OptionalInt.of(StandIn.END_OF_STORE), objects.endStatus());
      assertThrows(IllegalStateException.class, objects::iterator, "once only");
    }
    try (Stream<byte[]> objects = tarvex.storeObjects(null, null, 0).stream()) {
      assertEquals(3, objects.count());
    }
    assertEquals(
      8,
      count("EnumStoreObjects") + count("EnumStoreObjectsEx"),
      "three objects and the end, twice"
    );
  }

  @Test
  void anAbandonedEnumerationMakesNoFurtherCall() {
    StoreObjects objects = tarvex.storeObjects();
    Iterator<byte[]> it = objects.iterator();
    assertArrayEquals(new byte[] { 0x30, 0x01, 0x01 }, it.next());
    objects.close();
    objects.close();
    assertFalse(it.hasNext());
    assertThrows(NoSuchElementException.class, it::next);
    assertEquals(OptionalInt.empty(), objects.endStatus());
    assertEquals(1, count("EnumStoreObjects"));
  }

  // The library ends an enumeration the same way at the end and on an error: the end status
  // tells which.
  @Test
  void aRefusedStepEndsTheEnumerationWithItsStatus() {
    try (StoreObjects objects = tarvex.storeObjects()) {
      Iterator<byte[]> it = objects.iterator();
      it.next();
      StandIn.failNext("EnumStoreObjects", STATUS);
      assertFalse(it.hasNext());
      assertEquals(OptionalInt.of(STATUS), objects.endStatus());
    }
  }

  @Test
  void aFaultInAStepIsThrown() {
    try (StoreObjects objects = tarvex.storeObjects()) {
      Iterator<byte[]> it = objects.iterator();
      StandIn.faultNext("EnumStoreObjects", "BUS");
      assertTrue(assertThrows(TarvexException.class, it::hasNext).isFault());
      assertFalse(it.hasNext(), "ended");
    }
    assertThrows(IllegalStateException.class, () -> tarvex.storeObjects());
  }

  @Test
  void anEnumerationOfAClosedContextIsRefused() {
    StoreObjects objects = tarvex.storeObjects();
    tarvex.close();
    Iterator<byte[]> it = objects.iterator();
    assertThrows(IllegalStateException.class, it::hasNext);
    assertEquals(
      List.of(),
      StandIn.calls()
        .stream()
        .filter(c -> c.startsWith("Enum"))
        .toList()
    );
  }
}
