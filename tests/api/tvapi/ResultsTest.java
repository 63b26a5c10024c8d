package tvapi;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import Norv1.LocalIface;
import java.io.ByteArrayInputStream;
import java.nio.charset.StandardCharsets;
import java.security.cert.CertificateException;
import java.security.cert.CertificateFactory;
import java.security.cert.X509Certificate;
import java.util.List;
import java.util.Optional;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.parallel.ResourceLock;
import tarvexjni.Certificate;
import tarvexjni.CertificateQuery;
import tarvexjni.Decrypted;
import tarvexjni.Verification;
import tarvexjni.standin.StandIn;

// Results as the JDK and LocalIface know them: X509Certificate both ways, LocalIface's records
// turned into the API's exactly as the API's own operations turn them, and absent values.
@ResourceLock(StandIn.RESOURCE_LOCK)
class ResultsTest extends Kit {

  // A self-signed EC certificate, CN=Recipient,O=Example, valid from 2024 for a hundred years.
  static final String PEM = """
  -----BEGIN CERTIFICATE-----
  MIIBZzCCAQygAwIBAgIJANWKPiEZVQzQMAoGCCqGSM49BAMCMCYxEDAOBgNVBAoT
  B0V4YW1wbGUxEjAQBgNVBAMTCVJlY2lwaWVudDAgFw0yNDAxMDExNjU2MDVaGA8y
  MTIzMTIwODE2NTYwNVowJjEQMA4GA1UEChMHRXhhbXBsZTESMBAGA1UEAxMJUmVj
  aXBpZW50MFkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDQgAE2IDrrhbtroyPFeeiIjff
  WsRi9nu4hmoBE5SiWoRXLy6wCXplLV95SDaxuZg/onKvdR4IayMd+7Suqfs43PKU
  sqMhMB8wHQYDVR0OBBYEFD/G4maRaC2HMdfsblTg62fR2pCbMAoGCCqGSM49BAMC
  A0kAMEYCIQD4I//K0ogsjpxpRbJy/q/kB+NQuYIGuzDoVzzIWiM4XAIhALZggV9M
  SxSrRfyrTKj5CPRKfTEvvHbq25987gziI7is
  -----END CERTIFICATE-----
  """;

  static X509Certificate recipient() throws CertificateException {
    return (X509Certificate) CertificateFactory.getInstance("X.509").generateCertificate(
      new ByteArrayInputStream(PEM.getBytes(StandardCharsets.US_ASCII))
    );
  }

  @Test
  void certificatesCrossToAndFromTheJdk() throws Exception {
    X509Certificate jdk = recipient();
    Certificate ours = Certificate.from(jdk);
    assertArrayEquals(jdk.getEncoded(), ours.encoded());
    assertEquals(jdk, ours.toX509Certificate());
    assertThrows(
      CertificateException.class,
      () -> RECIPIENTS.get(0).toX509Certificate(),
      "not X.509"
    );
    assertThrows(CertificateException.class, () ->
      Certificate.ofEncoded(new byte[0]).toX509Certificate()
    );

    byte[] sealed = tarvex.encrypt(DATA, List.of(jdk));
    Object received = StandIn.recordedCalls()
      .of("EncryptMem")
      .single()
      .record("encrypt_param_t")
      .get("receivers[0].certEncoded.len");
    assertEquals(
      jdk.getEncoded().length,
      received,
      "the recipient went to the library as its encoding"
    );
    assertArrayEquals(DATA, tarvex.decrypt(sealed).content());
  }

  @Test
  void recordsOfLocalIfaceBecomeWhatTheApiReturns() {
    Certificate signer = tarvex.findCertificates(CertificateQuery.bySubject("CN=Signer")).get(0);
    LocalIface.certificate_t parsed = new LocalIface.certificate_t();
    tarvex.call("ParseCert", lib ->
      LocalIface.QUMENJNI_ParseCert(lib, new LocalIface.mem_blk_t(signer.encoded()), 0, parsed)
    );
    assertEquals(tarvex.parseCertificate(signer.encoded()), Certificate.from(parsed));
    assertEquals(signer, Certificate.from(signer.toRecord()), "every field there and back");

    byte[] sealed = tarvex.encrypt(DATA, List.of(signer));
    LocalIface.mem_blk_t content = new LocalIface.mem_blk_t();
    LocalIface.decrypt_result_t opened = new LocalIface.decrypt_result_t();
    tarvex.call("DecryptMem", lib ->
      LocalIface.QUMENJNI_DecryptMem(
        lib,
        new LocalIface.decrypt_param_t(),
        new LocalIface.mem_blk_t(sealed),
        content,
        opened
      )
    );
    assertEquals(tarvex.decrypt(sealed), Decrypted.from(content, opened));
  }

  @Test
  void whatTheLibraryLeavesOutIsEmptyNeverNull() {
    StandIn.on("VerifyMem").answer(tarvexjni.standin.VerificationAnswer.status(0).signer(0, null));
    Verification.Signer anonymous = tarvex.verify(tarvex.sign(DATA)).signers().get(0);
    assertEquals(Optional.empty(), anonymous.certificate());
    assertTrue(anonymous.isValid());

    LocalIface.decrypt_result_t nobody = new LocalIface.decrypt_result_t();
    nobody.sender = new LocalIface.certificate_t(); // what the library fills when it names no one
    assertEquals(Optional.empty(), Decrypted.from(null, nobody).sender());

    Certificate blank = Certificate.from(new LocalIface.certificate_t());
    assertEquals(
      List.of("", "", "", "", ""),
      List.of(
        blank.subject(),
        blank.issuer(),
        blank.serialNumber(),
        blank.keyId(),
        blank.subjectAltNames().email()
      )
    );
    assertEquals(0, blank.encoded().length);
    assertFalse(blank.toString().contains("null"), blank.toString());
  }
}
