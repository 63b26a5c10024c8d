package tvapi;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertInstanceOf;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import Norv1.LocalIface;
import java.io.CharConversionException;
import java.util.List;
import java.util.Optional;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.parallel.ResourceLock;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.MethodSource;
import tarvexjni.Certificate;
import tarvexjni.CertificateQuery;
import tarvexjni.Decrypted;
import tarvexjni.Status;
import tarvexjni.TarvexException;
import tarvexjni.Verification;
import tarvexjni.VerifyOptions;
import tarvexjni.standin.StandIn;

// The one-shot operations: what they return, how each failure and each fault shows.
@ResourceLock(StandIn.RESOURCE_LOCK)
class OperationsTest extends Kit {

  static List<Operation> all() {
    return operations();
  }

  @ParameterizedTest
  @MethodSource("all")
  void aRefusalCarriesTheStatusAndTheLibrarysText(Operation op) throws Exception {
    StandIn.failNext(op.function(), STATUS);
    if (op.shows() == Shows.IN_RESULT) {
      Verification v = op.function().equals("VerifyMem")
        ? tarvex.verify(tarvex.sign(DATA))
        : tarvex.verify(FILE, DIR.resolve("content"));
      assertEquals(STATUS, v.status());
      assertFalse(v.isValid());
      return;
    }
    TarvexException e = assertThrows(TarvexException.class, () -> op.action().run(tarvex));
    assertEquals(op.function(), e.operation());
    assertEquals(STATUS, e.status());
    assertEquals(Optional.of(STATUS_TEXT), e.libraryText());
    assertFalse(e.isFault());
    op.action().run(tarvex); // the context works on
  }

  @ParameterizedTest
  @MethodSource("all")
  void aFaultLeavesAContextThatOnlyCloses(Operation op) {
    StandIn.faultNext(op.function(), "FPE");
    TarvexException e = assertThrows(TarvexException.class, () -> op.action().run(tarvex));
    assertTrue(e.isFault());
    assertEquals(Status.INT_DIVIDE_BY_ZERO, e.status());
    assertEquals(Optional.of("INT_DIVIDE_BY_ZERO"), e.statusName());
    assertEquals(Optional.empty(), e.libraryText(), "the crashed library is not asked");
    assertFalse(StandIn.calls().contains("GetErrorText"));
    IllegalStateException refused = assertThrows(IllegalStateException.class, () ->
      tarvex.hash(DATA)
    );
    assertTrue(refused.getMessage().contains(op.function()), refused.getMessage());
    assertTrue(tarvex.isOpen(), "open until closed");
  }

  @Test
  void aFileNameTheCodesetCannotCarryFailsWithTheBridgesException() {
    assumeTrue(
      "UTF-8".equals(System.getProperty("sun.jnu.encoding")),
      "a single-byte codeset carries it"
    );
    TarvexException e = assertThrows(TarvexException.class, () ->
      tarvex.hash(DIR.resolve("r\u00e9sum\u00e9.pdf"))
    );
    assertEquals(Status.PENDING_EXCEPTION, e.status());
    assertInstanceOf(CharConversionException.class, e.getCause());
    assertArrayEquals(
      tarvex.hash(DATA),
      tarvex.hash(FILE),
      "the context works on, files and bytes alike"
    );
  }

  // A call of LocalIface in the context: a checked exception the bridge raises there, which the
  // method declares, is the cause of the API's exception, whatever the locale.
  @Test
  void aCheckedExceptionOfACallInTheContextIsTheCause() {
    TarvexException e = assertThrows(TarvexException.class, () ->
      tarvex.call("StrHashUpdateMem", lib ->
        LocalIface.QUMENJNI_StrHashUpdateMem(lib, "no handle field", new LocalIface.mem_blk_t(DATA))
      )
    );
    assertEquals("StrHashUpdateMem", e.operation());
    assertEquals(Status.PENDING_EXCEPTION, e.status());
    assertInstanceOf(NoSuchFieldException.class, e.getCause());
    assertFalse(StandIn.calls().contains("StrHashUpdateMem"), "refused before the library");
    assertArrayEquals(tarvex.hash(DATA), tarvex.hash(FILE), "the context works on");
  }

  @Test
  void aSignatureThatDoesNotVerifyIsAnAnswer() {
    byte[] signed = tarvex.sign(DATA);
    Verification good = tarvex.verify(signed);
    assertTrue(good.isValid());
    assertArrayEquals(DATA, good.content());
    assertSame(good, good.requireValid());
    assertEquals(
      "CN=Signer 1,O=Stand-in",
      good.signers().get(0).certificate().orElseThrow().subject()
    );

    signed[signed.length - 1] ^= 1;
    Verification bad = tarvex.verify(signed);
    assertFalse(bad.isValid());
    assertEquals(StandIn.MISMATCH, bad.status());
    assertFalse(bad.signers().get(0).isValid());
    TarvexException e = assertThrows(TarvexException.class, bad::requireValid);
    assertEquals(StandIn.MISMATCH, e.status());
  }

  // A call the API leaves to LocalIface whose failure is an answer: its status comes back, and
  // its records become the verification the API itself would have made.
  @Test
  void aCallForItsStatusReturnsTheAnswerAndThrowsOnlyForAFault() {
    byte[] signed = tarvex.sign(DATA);
    LocalIface.mem_blk_t content = new LocalIface.mem_blk_t();
    LocalIface.verify_result_t result = new LocalIface.verify_result_t();
    int status = tarvex.callForStatus("VerifyMem", lib ->
      LocalIface.QUMENJNI_VerifyMem(
        lib,
        VerifyOptions.DEFAULT.withMinimumSignatures(1).toRecord(),
        new LocalIface.mem_blk_t(signed),
        null,
        content,
        result
      )
    );
    assertEquals(tarvex.verify(signed), Verification.from(status, content, result));
    assertEquals(
      1,
      StandIn.recordedCalls().of("VerifyMem").get(0).record("verify_param_t").get("minsigns")
    );

    StandIn.failNext("VerifyMem", STATUS);
    LocalIface.verify_result_t refused = new LocalIface.verify_result_t();
    status = tarvex.callForStatus("VerifyMem", lib ->
      LocalIface.QUMENJNI_VerifyMem(
        lib,
        null,
        new LocalIface.mem_blk_t(signed),
        new LocalIface.mem_blk_t(DATA),
        null,
        refused
      )
    );
    assertEquals(STATUS, status);
    assertFalse(Verification.from(status, null, refused).isValid());

    StandIn.faultNext("VerifyMem", "SEGV");
    assertTrue(
      assertThrows(TarvexException.class, () ->
        tarvex.callForStatus("VerifyMem", lib ->
          LocalIface.QUMENJNI_VerifyMem(
            lib,
            null,
            new LocalIface.mem_blk_t(signed),
            null,
            null,
            new LocalIface.verify_result_t()
          )
        )
      ).isFault()
    );
    assertThrows(IllegalStateException.class, () -> tarvex.callForStatus("HashMem", lib -> 0));
  }

  // The kit cannot yet make the library accept a message while a signature failed; the rule
  // that decides it is the result's own.
  @Test
  void everySignerMustVerifyNotOnlyTheMessage() {
    Certificate alice = Certificate.ofEncoded(new byte[] { 1 });
    Certificate bob = new Certificate(
      0,
      null,
      null,
      "CN=Bob",
      null,
      0,
      0,
      0,
      0,
      0,
      Certificate.AltNames.NONE,
      Certificate.AltNames.NONE,
      null,
      List.of(),
      List.of(),
      List.of(),
      new byte[] { 2 },
      new byte[0]
    );
    Verification accepted = new Verification(
      0,
      DATA,
      List.of(
        new Verification.Signer(0, 1, Optional.of(alice)),
        new Verification.Signer(STATUS, 1, Optional.of(bob))
      )
    );
    assertFalse(accepted.isValid());
    TarvexException e = assertThrows(TarvexException.class, accepted::requireValid);
    assertEquals(STATUS, e.status());
    assertTrue(e.getMessage().contains("CN=Bob"), e.getMessage());
    assertFalse(new Verification(0, DATA, List.of()).isValid(), "no signature at all");
  }

  @Test
  void certificatesGoBackIntoTheLibraryWhole() {
    List<Certificate> found = tarvex.findCertificates(CertificateQuery.bySubject("CN=Signer"));
    assertEquals(2, found.size());
    Certificate signer = found.get(0);
    assertFalse(
      signer.policies().isEmpty() || signer.extensions().isEmpty(),
      "a complete certificate"
    );
    assertArrayEquals(signer.encoded(), tarvex.parseCertificate(signer.encoded()).encoded());
    Decrypted opened = tarvex.decrypt(tarvex.encrypt(DATA, found));
    assertArrayEquals(DATA, opened.content());
    assertTrue(opened.sender().orElseThrow().encoded().length > 0);

    StandIn.emptyStore();
    assertEquals(List.of(), tarvex.findCertificates(CertificateQuery.any()));
  }

  @Test
  void errorTexts() {
    assertEquals(Optional.of(STATUS_TEXT), tarvex.errorText(STATUS));
    assertEquals(Optional.empty(), tarvex.errorText(0x12345678));
  }

  // What the example application's mask of 0xC0000000 got wrong, both ways.
  @Test
  void faultsAreToldFromTheLibrarysCodes() {
    assertTrue(Status.isFault(Status.DATATYPE_MISALIGNMENT), "a fault outside 0xC0000000");
    assertFalse(Status.isFault(0xC0001234), "a library's code in the fault range");
    assertFalse(Status.isFault(Status.PENDING_EXCEPTION));
    assertEquals("0x7E570003", Status.toString(StandIn.MISMATCH), "no name for the library's own");
  }
}
