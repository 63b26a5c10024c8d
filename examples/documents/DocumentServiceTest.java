package documents;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import documents.DocumentException.Failure;
import java.io.ByteArrayInputStream;
import java.io.IOException;
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.util.List;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.parallel.ResourceLock;
import tarvexjni.standin.StandIn;

// The application's behaviour when the library says yes, and each way it can say no.
@ResourceLock(StandIn.RESOURCE_LOCK)
class DocumentServiceTest {
  // The vendor's codes for these failures would go here; any non-zero status will do.
  static final int UNTRUSTED_SIGNER = 0x800B0109;
  static final int HOST_UNREACHABLE = 0x80072EE7;

  static final byte[] DOCUMENT = "Contract: the buyer pays on delivery.".getBytes(StandardCharsets.UTF_8);

  DocumentService service;

  @BeforeAll
  static void standIn() {
    StandIn.reset();  // loads the stand-in before anything loads the bridge
  }

  @BeforeEach
  void open() throws DocumentException {
    StandIn.reset();
    service = new DocumentService("CN=Signer");
  }

  @AfterEach
  void close() {
    service.close();
    StandIn.assertBalanced();
  }

  @Test
  void signsAndVerifies() throws DocumentException {
    DocumentService.Verified verified = service.verify(service.sign(DOCUMENT));
    assertArrayEquals(DOCUMENT, verified.content());
    assertEquals("CN=Signer 1,O=Stand-in", verified.signer());
    assertEquals(List.of("FindCert", "SignMem", "VerifyMem"),
        StandIn.calls().stream().filter(c -> !c.startsWith("Free") && !c.equals("InitMinimal")).toList());
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
    StandIn.fail("VerifyMem", UNTRUSTED_SIGNER);
    for (int i = 0; i < 2; i++) {
      DocumentException e = assertThrows(DocumentException.class, () -> service.verify(signed));
      assertEquals(Failure.INVALID_SIGNATURE, e.failure());
      assertEquals(UNTRUSTED_SIGNER, e.status());
    }
  }

  @Test
  void timeStamps() throws DocumentException {
    byte[] stamped = service.timestamp(service.sign(DOCUMENT), "http://tsa.example.invalid");
    assertTrue(stamped.length > DOCUMENT.length);
  }

  @Test
  void reportsAnUnreachableTimeStampAuthority() throws DocumentException {
    byte[] signed = service.sign(DOCUMENT);
    StandIn.failNext("TspBlkUrlStampCmsMem", HOST_UNREACHABLE);
    DocumentException e = assertThrows(DocumentException.class,
        () -> service.timestamp(signed, "http://tsa.example.invalid"));
    assertEquals(Failure.TIMESTAMP_UNAVAILABLE, e.failure());
    assertEquals(HOST_UNREACHABLE, e.status());
    assertFalse(StandIn.calls().contains("TspBlkVerifyCmsMem"), "nothing to verify");
    service.timestamp(signed, "http://tsa.example.invalid");  // reachable again
  }

  @Test
  void rejectsAGarbledTimeStamp() throws DocumentException {
    byte[] signed = service.sign(DOCUMENT);
    StandIn.nextOutput("TspBlkUrlStampCmsMem", "<html>proxy error</html>".getBytes(StandardCharsets.US_ASCII));
    DocumentException e = assertThrows(DocumentException.class,
        () -> service.timestamp(signed, "http://tsa.example.invalid"));
    assertEquals(Failure.TIMESTAMP_UNAVAILABLE, e.failure());
  }

  @Test
  void refusesToSignWithoutACertificate() {
    StandIn.emptyStore();
    DocumentException e = assertThrows(DocumentException.class, () -> service.sign(DOCUMENT));
    assertEquals(Failure.NO_CERTIFICATE, e.failure());
    assertFalse(StandIn.calls().contains("SignMem"));
  }

  @Test
  void survivesACrashInsideTheLibrary() throws DocumentException {
    StandIn.faultNext("SignMem", "SEGV");
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
    assertEquals(8, StandIn.calls().stream().filter("StrHashUpdateMem"::equals).count(), "4 pieces each");

    byte[] expected = new byte[32];
    StandIn.nextOutput("StrHashFinalMem", expected);
    assertArrayEquals(expected, service.hash(new ByteArrayInputStream(content)));
  }

  @Test
  void endsTheLibrarysStreamWhenHashingFails() {
    int before = StandIn.openHandles();
    StandIn.failNext("StrHashUpdateMem", 0x8009000B);
    DocumentException e = assertThrows(DocumentException.class,
        () -> service.hash(new ByteArrayInputStream(new byte[100_000])));
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
