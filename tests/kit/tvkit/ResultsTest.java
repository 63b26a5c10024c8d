package tvkit;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static tarvexjni.standin.LibraryFunction.CmsBlkAttVerifyMem;
import static tarvexjni.standin.LibraryFunction.EnumStoreObjectsEx;
import static tarvexjni.standin.LibraryFunction.FindCert;
import static tarvexjni.standin.LibraryFunction.VerifyFile;
import static tarvexjni.standin.LibraryFunction.VerifyMem;

import Norv1.LocalIface;
import Norv1.LocalIface.certificate_t;
import Norv1.LocalIface.find_param_t;
import Norv1.LocalIface.find_result_t;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.strhandle_t;
import Norv1.LocalIface.verify_param_t;
import Norv1.LocalIface.verify_result_t;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.FutureTask;
import org.junit.jupiter.api.Test;
import tarvexjni.standin.CertificateRecord;
import tarvexjni.standin.StandIn;
import tarvexjni.standin.StandInTest;
import tarvexjni.standin.Store;
import tarvexjni.standin.VerificationAnswer;

// Programmed results as Java receives them through the bridge; the extension's check of the
// ledger after each test proves that the bridge gave back every block they were made of.
@StandInTest
class ResultsTest extends WithLib {

  static final int UNTRUSTED = 0x800B0109;
  static final byte[] DOCUMENT = "pay on delivery".getBytes(
    java.nio.charset.StandardCharsets.US_ASCII
  );

  verify_result_t verifyMem(int expectedStatus, mem_blk_t content) throws Exception {
    verify_result_t result = new verify_result_t();
    assertEquals(
      expectedStatus,
      LocalIface.QUMENJNI_VerifyMem(
        lib.lib,
        new verify_param_t(),
        new mem_blk_t(new byte[] { 9 }),
        null,
        content,
        result
      )
    );
    return result;
  }

  // The case an application must not take for a success: the library says 0, one signer failed.
  @Test
  void aVerificationThatPassesWithAFailingSigner() throws Exception {
    CertificateRecord alice = CertificateRecord.builder()
      .subject("CN=Alice")
      .issuer("CN=Example CA")
      .serialNumber("01:A7")
      .notAfterEx(0xFFFFFFFFL)
      .certEncoded(new byte[] { 0x30, 1, 2 })
      .build();
    StandIn.on(VerifyMem).answer(
      VerificationAnswer.status(0)
        .signer(0, 0x80000001L, alice)
        .signer(UNTRUSTED, CertificateRecord.withSubject("CN=Mallory"))
        .signer(UNTRUSTED, null)
        .content(DOCUMENT)
    );
    mem_blk_t content = new mem_blk_t();
    verify_result_t result = verifyMem(0, content);
    assertArrayEquals(DOCUMENT, content.bytes());
    assertEquals(3, result.sign_num);
    assertEquals(0, result.signs[0].status);
    assertEquals(0x80000001L, result.signs[0].timeEx, "unsigned");
    certificate_t signer = result.signs[0].cert;
    assertEquals("CN=Alice", signer.subject);
    assertEquals("CN=Example CA", signer.issuer);
    assertEquals("01:A7", signer.serialNumber);
    assertEquals(4294967295L, signer.notAfterEx);
    assertArrayEquals(new byte[] { 0x30, 1, 2 }, signer.certEncoded.bytes());
    assertEquals(UNTRUSTED, result.signs[1].status);
    assertEquals("CN=Mallory", result.signs[1].cert.subject);
    assertNull(result.signs[1].cert.issuer);
    assertEquals(UNTRUSTED, result.signs[2].status);
    assertNull(result.signs[2].cert, "the library named no certificate");
  }

  // A verification answers every function that fills one; without content the block stays empty.
  @Test
  void verificationsForOtherFunctions() throws Exception {
    VerificationAnswer failed = VerificationAnswer.status(StandIn.MISMATCH).signer(
      1,
      CertificateRecord.withSubject("CN=Bob")
    );
    StandIn.on(VerifyFile).answer(failed);
    StandIn.on(CmsBlkAttVerifyMem).answer(failed);
    verify_result_t result = new verify_result_t();
    assertEquals(
      StandIn.MISMATCH,
      LocalIface.QUMENJNI_VerifyFile(lib.lib, null, "a", null, null, result)
    );
    assertEquals("CN=Bob", result.signs[0].cert.subject);
    mem_blk_t content = new mem_blk_t(new byte[] { 1 });
    assertEquals(
      StandIn.MISMATCH,
      LocalIface.QUMENJNI_CmsBlkAttVerifyMem(
        lib.lib,
        null,
        new mem_blk_t(DOCUMENT),
        content,
        result
      )
    );
    assertEquals(0, content.len);
    assertEquals(1, result.signs[0].status);
  }

  // Every field a builder sets reaches Java as set; an empty certificate arrives empty.
  @Test
  void everyFieldOfACertificateReachesJava() throws Exception {
    CertificateRecord full = CertificateRecord.builder()
      .fields(0x3FF)
      .issuer("CN=CA")
      .serialNumber("7")
      .subject("CN=Full")
      .algorithm("1.2.840.113549.1.1.11")
      .notBeforeEx(1)
      .notAfterEx(0xFFFFFFFEL)
      .keyUsage(0x86)
      .notBeforePrivateEx(3)
      .notAfterPrivateEx(0x80000000L)
      .issuerAltName("DNS", "ca.example")
      .subjectAltName("emailAddress", "full@example")
      .subjectAltName("exchange_address", "x400")
      .keyId("key-7")
      .policy("1.3.6.1.4.1.1", "Org", 12, "notice")
      .policy("1.3.6.1.4.1.2", null, 0, null)
      .extKeyUsage("1.3.6.1.5.5.7.3.4")
      .extension("2.5.29.15", 3, true, new byte[] { 3, 2, 1 })
      .extension("2.5.29.19", 0, false, null)
      .certEncoded(new byte[] { 0x30, 0x01 })
      .certHash(new byte[32])
      .build();
    StandIn.store(Store.of(full, CertificateRecord.builder().build()));
    find_result_t found = new find_result_t();
    assertEquals(0, LocalIface.QUMENJNI_FindCert(lib.lib, new find_param_t(), found));
    assertEquals(2, found.num);
    certificate_t c = found.certs[0];
    assertEquals(
      List.of(
        0x3FF,
        "CN=CA",
        "7",
        "CN=Full",
        "1.2.840.113549.1.1.11",
        1L,
        0xFFFFFFFEL,
        0x86,
        3L,
        0x80000000L,
        "key-7"
      ),
      List.of(
        c.fields,
        c.issuer,
        c.serialNumber,
        c.subject,
        c.algorithm,
        c.notBeforeEx,
        c.notAfterEx,
        c.keyUsage,
        c.notBeforePrivateEx,
        c.notAfterPrivateEx,
        c.keyId
      )
    );
    assertEquals("ca.example", c.issuerAltName.DNS);
    assertEquals("full@example", c.subjectAltName.emailAddress);
    assertEquals("x400", c.subjectAltName.exchange_address);
    assertNull(c.subjectAltName.DNS);
    assertEquals(2, c.policy_num);
    assertEquals(
      List.of("1.3.6.1.4.1.1", "Org", 12, "notice"),
      List.of(c.policies[0].oid, c.policies[0].org_name, c.policies[0].not_num, c.policies[0].text)
    );
    assertNull(c.policies[1].org_name);
    assertEquals("1.3.6.1.5.5.7.3.4", c.extKeyUsage[0].oid);
    assertEquals(
      List.of("2.5.29.15", 3, 1, 3),
      List.of(
        c.extensions[0].oid,
        c.extensions[0].type,
        c.extensions[0].critical,
        c.extensions[0].len
      )
    );
    assertArrayEquals(new byte[] { 3, 2, 1 }, c.extensions[0].data);
    assertEquals(0, c.extensions[1].len);
    assertArrayEquals(new byte[] { 0x30, 0x01 }, c.certEncoded.bytes());
    assertEquals(32, c.certHash.len);

    certificate_t empty = found.certs[1];
    assertNull(empty.subject);
    assertEquals(0, empty.policy_num);
    assertNull(empty.policies);
    assertNull(empty.extensions);
    assertEquals(0, empty.certEncoded.len);
  }

  // An enumeration walks the store's encodings and ends; a search finds them all.
  @Test
  void storesAnswerSearchesAndEnumerations() throws Exception {
    CertificateRecord a = CertificateRecord.builder()
      .subject("CN=A")
      .certEncoded(new byte[] { 1 })
      .build();
    CertificateRecord b = CertificateRecord.builder()
      .subject("CN=B")
      .certEncoded(new byte[] { 2, 2 })
      .build();
    StandIn.store(Store.of(a, b));
    List<byte[]> walked = new ArrayList<>();
    strhandle_t position = new strhandle_t();
    mem_blk_t object = new mem_blk_t();
    int status;
    while (
      (status = LocalIface.QUMENJNI_EnumStoreObjectsEx(
        lib.lib,
        null,
        "My",
        null,
        position,
        object,
        0
      )) == 0
    ) {
      walked.add(object.bytes());
    }
    assertEquals(StandIn.END_OF_STORE, status);
    assertEquals(2, walked.size());
    assertArrayEquals(new byte[] { 2, 2 }, walked.get(1));
    find_result_t found = new find_result_t();
    FutureTask<Integer> onWorker = new FutureTask<>(() ->
      LocalIface.QUMENJNI_FindCert(lib.lib, null, found)
    );
    new Thread(onWorker).start();
    assertEquals(0, onWorker.get());
    assertEquals("CN=B", found.certs[1].subject, "the store is every thread's");

    StandIn.emptyStore();
    assertEquals(0, LocalIface.QUMENJNI_FindCert(lib.lib, new find_param_t(), found));
    assertEquals(0, found.num);
    assertEquals(
      StandIn.END_OF_STORE,
      LocalIface.QUMENJNI_EnumStoreObjects(lib.lib, null, new strhandle_t(), new mem_blk_t(), 0)
    );
  }

  // An answer keeps to its window; outside it the defaults answer; a dead context still fails.
  @Test
  void answersKeepToTheirWindow() throws Exception {
    StandIn.on(FindCert)
      .onCall(2)
      .answer(Store.of(CertificateRecord.withSubject("CN=Only")));
    StandIn.on(EnumStoreObjectsEx).lenient().answer(Store.empty());
    find_result_t found = new find_result_t();
    List<Integer> counts = new ArrayList<>();
    for (int i = 0; i < 3; i++) {
      assertEquals(0, LocalIface.QUMENJNI_FindCert(lib.lib, null, found));
      counts.add(found.num);
    }
    assertEquals(List.of(2, 1, 2), counts);
    StandIn.on(VerifyMem).answer(VerificationAnswer.status(0).content(DOCUMENT));
    LocalIface ended = new LocalIface();
    assertEquals(0, LocalIface.QUMENJNI_InitMinimal(ended));
    assertEquals(0, LocalIface.QUMENJNI_Uninitialize(ended));
    mem_blk_t content = new mem_blk_t();
    assertEquals(
      StandIn.BAD_CONTEXT,
      LocalIface.QUMENJNI_VerifyMem(
        ended,
        null,
        new mem_blk_t(DOCUMENT),
        null,
        content,
        new verify_result_t()
      )
    );
    assertEquals(0, content.len);
  }
}
