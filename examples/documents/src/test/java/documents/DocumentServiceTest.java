package documents;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static tarvexjni.standin.LibraryFunction.FindCert;
import static tarvexjni.standin.LibraryFunction.SignMem;
import static tarvexjni.standin.LibraryFunction.StrHashFinalMem;
import static tarvexjni.standin.LibraryFunction.StrHashUpdateMem;
import static tarvexjni.standin.LibraryFunction.TspBlkUrlStampCmsMem;
import static tarvexjni.standin.LibraryFunction.TspBlkVerifyCmsMem;
import static tarvexjni.standin.LibraryFunction.VerifyMem;
import static tarvexjni.standin.Times.never;
import static tarvexjni.standin.Times.times;

import documents.DocumentException.Failure;
import java.io.ByteArrayInputStream;
import java.io.IOException;
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.util.List;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import tarvexjni.standin.CertificateRecord;
import tarvexjni.standin.StandIn;
import tarvexjni.standin.StandInTest;
import tarvexjni.standin.VerificationAnswer;

// The application's behaviour when the library says yes, and each way it can say no. The
// extension resets the stand-in before each test and checks after it that every block the
// library handed out came back.
@StandInTest
class DocumentServiceTest {

  // The vendor's codes for these failures would go here; any non-zero status will do.
  static final int UNTRUSTED_SIGNER = 0x800B0109;
  static final int HOST_UNREACHABLE = 0x80072EE7;
  static final String TSA = "http://tsa.example.invalid";

  static final byte[] DOCUMENT = "Contract: the buyer pays on delivery.".getBytes(
    StandardCharsets.UTF_8
  );

  DocumentService service;

  @BeforeEach
  void open() throws DocumentException {
    service = new DocumentService("CN=Signer");
  }

  @AfterEach
  void close() {
    service.close();
  }

  @Test
  void signsAndVerifies() throws DocumentException {
    DocumentService.Verified verified = service.verify(service.sign(DOCUMENT));
    assertArrayEquals(DOCUMENT, verified.content());
    assertEquals("CN=Signer 1,O=Stand-in", verified.signer());
    assertEquals(
      List.of(FindCert, SignMem, VerifyMem),
      StandIn.recordedCalls().of(FindCert, SignMem, VerifyMem).functions()
    );
    assertEquals(
      "CN=Signer",
      StandIn.recordedCalls()
        .of(FindCert)
        .single()
        .record("find_param_t")
        .get("certTemplate.subject"),
      "the store is asked for the service's signer"
    );
  }

  @Test
  void rejectsAChangedDocument() throws DocumentException {
    byte[] signed = service.sign(DOCUMENT);
    signed[signed.length - 1] ^= 1;
    DocumentException e = assertThrows(DocumentException.class, () -> service.verify(signed));
    assertEquals(Failure.INVALID_SIGNATURE, e.failure());
    assertEquals(StandIn.MISMATCH, e.status());
    assertTrue(e.getMessage().contains("CN=Signer 1"), e.getMessage());
  }

  @Test
  void rejectsWhatTheLibraryRejects() throws DocumentException {
    byte[] signed = service.sign(DOCUMENT);
    StandIn.on(VerifyMem).fail(UNTRUSTED_SIGNER);
    for (int i = 0; i < 2; i++) {
      DocumentException e = assertThrows(DocumentException.class, () -> service.verify(signed));
      assertEquals(Failure.INVALID_SIGNATURE, e.failure());
      assertEquals(UNTRUSTED_SIGNER, e.status());
    }
  }

  // The library accepts the message as a whole (status 0) while one of its two signatures failed:
  // the service must not take that for a valid document.
  @Test
  void rejectsAnAcceptedMessageOneOfWhoseSignaturesFails() throws DocumentException {
    byte[] signed = service.sign(DOCUMENT);
    StandIn.on(VerifyMem).answer(
      VerificationAnswer.status(0)
        .signer(0, CertificateRecord.withSubject("CN=Alice"))
        .signer(UNTRUSTED_SIGNER, CertificateRecord.withSubject("CN=Mallory"))
        .content(DOCUMENT)
    );
    DocumentException e = assertThrows(DocumentException.class, () -> service.verify(signed));
    assertEquals(Failure.INVALID_SIGNATURE, e.failure());
    assertEquals(UNTRUSTED_SIGNER, e.status());
    assertTrue(e.getMessage().contains("the signature of CN=Mallory is invalid"), e.getMessage());

    StandIn.on(VerifyMem).answer(
      VerificationAnswer.status(0)
        .signer(0, CertificateRecord.withSubject("CN=Alice"))
        .signer(0, CertificateRecord.withSubject("CN=Bob"))
        .content(DOCUMENT)
    );
    assertEquals(
      "CN=Alice",
      service.verify(signed).signer(),
      "both verified: accepted, by the first"
    );
  }

  @Test
  void rejectsAMessageWithoutASignature() throws DocumentException {
    byte[] signed = service.sign(DOCUMENT);
    StandIn.on(VerifyMem).answer(VerificationAnswer.status(0).content(DOCUMENT));
    DocumentException e = assertThrows(DocumentException.class, () -> service.verify(signed));
    assertEquals(Failure.INVALID_SIGNATURE, e.failure());
    assertTrue(e.getMessage().contains("not signed"), e.getMessage());
  }

  @Test
  void timeStamps() throws DocumentException {
    byte[] stamped = service.timestamp(service.sign(DOCUMENT), TSA);
    assertTrue(stamped.length > DOCUMENT.length);
    assertEquals(List.of(TSA), StandIn.recordedCalls().of(TspBlkUrlStampCmsMem).single().texts());
  }

  @Test
  void reportsAnUnreachableTimeStampAuthority() throws DocumentException {
    byte[] signed = service.sign(DOCUMENT);
    StandIn.on(TspBlkUrlStampCmsMem).onCall(1).fail(HOST_UNREACHABLE, "host unreachable");
    DocumentException e = assertThrows(DocumentException.class, () ->
      service.timestamp(signed, TSA)
    );
    assertEquals(Failure.TIMESTAMP_UNAVAILABLE, e.failure());
    assertEquals(HOST_UNREACHABLE, e.status());
    assertTrue(
      e.getCause().getMessage().contains("host unreachable"),
      "the library's text reaches the log"
    );
    StandIn.verify(TspBlkVerifyCmsMem, never()); // nothing to verify
    service.timestamp(signed, TSA); // reachable again
    StandIn.verify(TspBlkUrlStampCmsMem, times(2));
  }

  @Test
  void rejectsAGarbledTimeStamp() throws DocumentException {
    byte[] signed = service.sign(DOCUMENT);
    StandIn.on(TspBlkUrlStampCmsMem)
      .onCall(1)
      .output("<html>proxy error</html>".getBytes(StandardCharsets.US_ASCII));
    DocumentException e = assertThrows(DocumentException.class, () ->
      service.timestamp(signed, TSA)
    );
    assertEquals(Failure.TIMESTAMP_UNAVAILABLE, e.failure());
  }

  @Test
  void refusesToSignWithoutACertificate() {
    StandIn.emptyStore();
    DocumentException e = assertThrows(DocumentException.class, () -> service.sign(DOCUMENT));
    assertEquals(Failure.NO_CERTIFICATE, e.failure());
    StandIn.verify(SignMem, never());
  }

  @Test
  void survivesACrashInsideTheLibrary() throws DocumentException {
    StandIn.on(SignMem).onCall(1).fault(StandIn.Fault.SEGV);
    DocumentException e = assertThrows(DocumentException.class, () -> service.sign(DOCUMENT));
    assertEquals(Failure.LIBRARY_FAULT, e.failure());
    assertEquals(0xC0000005, e.status());
    assertArrayEquals(DOCUMENT, service.verify(service.sign(DOCUMENT)).content());
  }

  @Test
  void hashesAStreamPieceByPiece() throws Exception {
    byte[] content = new byte[200_000];
    for (int i = 0; i < content.length; i++) content[i] = (byte) i;
    byte[] digest = service.hash(new ByteArrayInputStream(content));
    assertEquals(32, digest.length);
    assertArrayEquals(digest, service.hash(new ByteArrayInputStream(content)), "deterministic");
    StandIn.verify(StrHashUpdateMem, times(8)); // 4 pieces each

    byte[] expected = new byte[32];
    StandIn.on(StrHashFinalMem).onCall(1).output(expected);
    assertArrayEquals(expected, service.hash(new ByteArrayInputStream(content)));
  }

  @Test
  void endsTheLibrarysStreamWhenHashingFails() {
    int before = StandIn.openHandles();
    StandIn.on(StrHashUpdateMem).onCall(1).fail(0x8009000B);
    DocumentException e = assertThrows(DocumentException.class, () ->
      service.hash(new ByteArrayInputStream(new byte[100_000]))
    );
    assertEquals(0x8009000B, e.status());
    assertEquals(before, StandIn.openHandles());

    InputStream broken = new InputStream() {
      int reads;

      @Override
      public int read() throws IOException {
        throw new IOException("disk gone");
      }

      @Override
      public int read(byte[] b, int off, int len) throws IOException {
        if (reads++ > 0) throw new IOException("disk gone");
        return len;
      }
    };
    assertThrows(IOException.class, () -> service.hash(broken));
    assertEquals(before, StandIn.openHandles());
  }
}
