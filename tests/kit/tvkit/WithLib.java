package tvkit;

import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;

// Tests that each have a context of the library, ended after the test (before the extension
// checks the ledger).
abstract class WithLib {

  Lib lib;

  @BeforeEach
  void open() {
    lib = new Lib();
  }

  @AfterEach
  void close() {
    lib.close();
  }
}
