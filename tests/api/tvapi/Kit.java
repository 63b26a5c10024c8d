package tvapi;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import Norv1.LocalIface;
import java.io.ByteArrayInputStream;
import java.io.IOException;
import java.io.UncheckedIOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.List;
import java.util.concurrent.CountDownLatch;
import java.util.function.BooleanSupplier;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.BeforeEach;
import tarvexjni.Certificate;
import tarvexjni.Tarvex;
import tarvexjni.standin.StandIn;

// What every test of the API shares: a fresh stand-in and an open context before each test, and
// after it the context closed, every block the library handed out given back, and no stream of
// the library left open.
abstract class Kit {

  static final int STATUS = StandIn.MISMATCH; // a failure the stand-in has a text for
  static final String STATUS_TEXT = "stand-in: verification found a difference";
  static final byte[] DATA = "Contract: the buyer pays on delivery.".getBytes(
    StandardCharsets.US_ASCII
  );

  static final Path DIR = temporaryFolder();
  static final Path FILE = DIR.resolve("data.bin");
  static final List<Certificate> RECIPIENTS = List.of(
    Certificate.ofEncoded(new byte[] { 0x30, 0x03, 0x02, 0x01, 0x07 })
  );

  Tarvex tarvex;
  int handlesBefore;

  @BeforeAll
  static void standIn() {
    StandIn.reset(); // loads the stand-in before anything loads the bridge
  }

  @BeforeEach
  void open() {
    StandIn.reset();
    handlesBefore = StandIn.openHandles();
    tarvex = Tarvex.openMinimal();
  }

  @AfterEach
  void close() {
    tarvex.close();
    StandIn.assertBalanced();
    assertEquals(handlesBefore, StandIn.openHandles(), "streams of the library left open");
  }

  // What a test does with a context; the function it reaches first in the library.
  interface Action {
    void run(Tarvex tarvex) throws Exception;
  }

  // How a failure of the function shows: thrown, or as the status of a verification.
  enum Shows {
    THROWN,
    IN_RESULT,
  }

  record Operation(String function, Shows shows, Action action) {
    @Override
    public String toString() {
      return function;
    }
  }

  // One call of every operation of the API that reaches the library at once.
  static List<Operation> operations() {
    Shows t = Shows.THROWN;
    return List.of(
      new Operation("GenRandom", t, x -> x.random(8)),
      new Operation("UpdateCRLs", t, Tarvex::updateCrls),
      new Operation("ExportToSystemStore", t, x -> x.exportToSystemStore(0)),
      new Operation("HashMem", t, x -> x.hash(DATA)),
      new Operation("BlkHashMem", t, x -> x.hash("text", DATA)),
      new Operation("HashFile", t, x -> x.hash(FILE)),
      new Operation("BlkHashFile", t, x -> x.hash("text", FILE)),
      new Operation("SignMem", t, x -> x.sign(DATA)),
      new Operation("SignFile", t, x -> x.sign(FILE, DIR.resolve("signed"))),
      new Operation("VerifyMem", Shows.IN_RESULT, x -> x.verify(x.sign(DATA))),
      new Operation("VerifyFile", Shows.IN_RESULT, x -> x.verify(FILE, DIR.resolve("content"))),
      new Operation("EncryptMem", t, x -> x.encrypt(DATA, RECIPIENTS)),
      new Operation("EncryptFile", t, x -> x.encrypt(FILE, DIR.resolve("sealed"), RECIPIENTS)),
      new Operation("DecryptMem", t, x -> x.decrypt(x.encrypt(DATA, RECIPIENTS))),
      new Operation("DecryptFile", t, x -> {
        x.encrypt(FILE, DIR.resolve("sealed"), RECIPIENTS);
        x.decrypt(DIR.resolve("sealed"), DIR.resolve("opened"));
      }),
      new Operation("ParseCert", t, x -> x.parseCertificate(DATA)),
      new Operation("VerifyCert", t, x -> x.verifyCertificate(DATA)),
      new Operation("ParseCrl", t, x -> x.parseCrl(DATA)),
      new Operation("ParseAltnameEx", t, x -> x.parseAltNameExtension(DATA)),
      new Operation("ParseBasicConstraintsEx", t, x -> x.parseBasicConstraints(DATA)),
      new Operation("ParseKeyIdentifierEx", t, x -> x.parseKeyIdentifier(DATA)),
      new Operation("FindCert", t, x ->
        x.findCertificates(tarvexjni.CertificateQuery.bySubject("CN=Signer"))
      ),
      new Operation("AddCertificate", t, x -> x.addCertificate(DATA)),
      new Operation("AddCRL", t, x -> x.addCrl(DATA)),
      new Operation("StrHashInitMem", t, x -> x.hashing().close()),
      new Operation("StrSignInitMem", t, x -> x.signing().close()),
      new Operation("StrVerifyInitMem", t, x -> x.verifying().close()),
      new Operation("StrEncryptInitMem", t, x ->
        x.encrypting(new ByteArrayInputStream(DATA), RECIPIENTS).close()
      ),
      new Operation("StrDecryptInitMem", t, x ->
        x.decrypting(new ByteArrayInputStream(DATA)).close()
      )
    );
  }

  private static Path temporaryFolder() {
    try {
      Path dir = Files.createTempDirectory("tarvexjni-api-test");
      dir.toFile().deleteOnExit();
      Files.write(dir.resolve("data.bin"), DATA);
      dir.resolve("data.bin").toFile().deleteOnExit();
      return dir;
    } catch (IOException e) {
      throw new UncheckedIOException(e);
    }
  }

  static long count(String function) {
    return StandIn.calls().stream().filter(function::equals).count();
  }

  // Another thread inside a call of a context until letGo(): a long call of the library, as the
  // threads that wait for the context see it.
  static final class Holder {

    private final CountDownLatch inCall = new CountDownLatch(1);
    private final CountDownLatch release = new CountDownLatch(1);
    private final Thread thread;

    Holder(Tarvex tarvex) throws InterruptedException {
      thread = new Thread(() ->
        tarvex.call("HashMem", lib -> {
          inCall.countDown();
          try {
            release.await();
          } catch (InterruptedException e) {
            throw new AssertionError(e);
          }
          return LocalIface.QUMENJNI_HashMem(lib, new LocalIface.mem_blk_t(DATA), null);
        })
      );
      thread.start();
      inCall.await();
    }

    // Lets the call finish, and waits for it.
    void letGo() throws InterruptedException {
      release.countDown();
      thread.join();
    }
  }

  // Waits for the garbage collector's cleaner to do what `done` checks, at most 10 s.
  static void awaitCleaner(BooleanSupplier done) throws InterruptedException {
    for (int i = 0; i < 200 && !done.getAsBoolean(); i++) {
      System.gc();
      Thread.sleep(50);
    }
    assertTrue(done.getAsBoolean(), "the cleaner did not run within 10 s");
  }
}
