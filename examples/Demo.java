import Norv1.LocalIface;
import Norv1.LocalIface.certificate_t;
import Norv1.LocalIface.cms_certid_t;
import Norv1.LocalIface.cms_msginf_t;
import Norv1.LocalIface.cms_siginf_t;
import Norv1.LocalIface.decrypt_param_t;
import Norv1.LocalIface.decrypt_result_t;
import Norv1.LocalIface.encrypt_param_t;
import Norv1.LocalIface.find_param_t;
import Norv1.LocalIface.find_result_t;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.sign_param_t;
import Norv1.LocalIface.sign_status_t;
import Norv1.LocalIface.strhandle_t;
import Norv1.LocalIface.tsp_request_param_t;
import Norv1.LocalIface.tsp_verify_param_t;
import Norv1.LocalIface.tsp_verify_result_t;
import Norv1.LocalIface.verify_param_t;
import Norv1.LocalIface.verify_result_t;
import java.io.CharConversionException;
import java.nio.charset.StandardCharsets;
import java.time.Instant;

/**
 * A short tour of the bridge. Run over the project's stand-in library, whose results are
 * deterministic and plausible but not cryptographic.
 */
public final class Demo {

  public static void main(String[] args) throws Exception {
    System.out.printf(
      "tarvexjni %s, bridge %s%n",
      tarvexjni.Native.version(),
      tarvexjni.Native.bridgeVersion()
    );
    LocalIface lib = new LocalIface();
    check("InitMinimal", LocalIface.QUMENJNI_InitMinimal(lib));
    System.out.printf("context:   %#x%n", lib.handle);

    byte[] message = "The quick brown fox jumps over the lazy dog".getBytes(
      StandardCharsets.US_ASCII
    );
    mem_blk_t hash = new mem_blk_t();
    check("HashMem", LocalIface.QUMENJNI_HashMem(lib, new mem_blk_t(message), hash));
    System.out.printf("HashMem:   %s (%d bytes)%n", hex(hash.bytes()), hash.len);

    // Sign the message, then verify it: the signer's certificate crosses back into Java.
    mem_blk_t signed = new mem_blk_t();
    check(
      "SignMem",
      LocalIface.QUMENJNI_SignMem(lib, new sign_param_t(), new mem_blk_t(message), null, signed)
    );
    System.out.printf("SignMem:   %d bytes%n", signed.len);
    mem_blk_t content = new mem_blk_t();
    verify_result_t result = new verify_result_t();
    check(
      "VerifyMem",
      LocalIface.QUMENJNI_VerifyMem(lib, new verify_param_t(), signed, null, content, result)
    );
    System.out.printf(
      "VerifyMem: %d signature(s), content \"%s\"%n",
      result.sign_num,
      new String(content.bytes(), StandardCharsets.US_ASCII)
    );
    for (sign_status_t s : result.signs) {
      System.out.printf("  status %d, signed %s%n", s.status, Instant.ofEpochSecond(s.timeEx));
      print(s.cert);
    }

    // Encrypt for one receiver, whose certificate travels from Java into the library, and back.
    certificate_t receiver = new certificate_t();
    receiver.subject = "CN=Receiver";
    receiver.certEncoded = new mem_blk_t(new byte[] { 0x30, 0x03, 0x02, 0x01, 0x07 });
    encrypt_param_t encrypt = new encrypt_param_t();
    encrypt.receiver_num = 1;
    encrypt.receivers = new certificate_t[] { receiver };
    mem_blk_t sealed = new mem_blk_t();
    check(
      "EncryptMem",
      LocalIface.QUMENJNI_EncryptMem(lib, encrypt, new mem_blk_t(message), sealed)
    );
    mem_blk_t opened = new mem_blk_t();
    decrypt_result_t sender = new decrypt_result_t();
    check(
      "DecryptMem",
      LocalIface.QUMENJNI_DecryptMem(lib, new decrypt_param_t(), sealed, opened, sender)
    );
    System.out.printf(
      "Encrypt/DecryptMem: %d bytes sealed, round trip %s, sender %s%n",
      sealed.len,
      java.util.Arrays.equals(opened.bytes(), message) ? "intact" : "BROKEN",
      sender.sender.subject
    );

    // Parse an encoded certificate.
    certificate_t parsed = new certificate_t();
    check("ParseCert", LocalIface.QUMENJNI_ParseCert(lib, receiver.certEncoded, 0, parsed));
    System.out.printf(
      "ParseCert: %d policies, %d extensions, encoding %s%n",
      parsed.policy_num,
      parsed.extension_num,
      hex(parsed.certEncoded.bytes())
    );
    print(parsed);

    streams(lib, message);
    cms(lib);
    stores(lib);
    timeStamps(lib, message);
    tls(lib);

    check("Uninitialize", LocalIface.QUMENJNI_Uninitialize(lib));
    System.out.println("context ended");
  }

  // Hash a file in 64 KiB pieces through a stream, and in one call: the digests agree.
  static void streams(LocalIface lib, byte[] message) throws Exception {
    java.nio.file.Path file = java.nio.file.Files.createTempFile("tarvexjni-demo", ".bin");
    try {
      byte[] content = new byte[200_000];
      for (int i = 0; i < content.length; i++) content[i] = message[i % message.length];
      java.nio.file.Files.write(file, content);
      strhandle_t stream = new strhandle_t();
      check("StrHashInitMem", LocalIface.QUMENJNI_StrHashInitMem(lib, null, stream));
      int pieces = 0;
      try (java.io.InputStream in = java.nio.file.Files.newInputStream(file)) {
        byte[] piece = new byte[64 * 1024];
        for (int n; (n = in.read(piece)) > 0; pieces++) {
          mem_blk_t block = new mem_blk_t(piece);
          block.len = n;
          check("StrHashUpdateMem", LocalIface.QUMENJNI_StrHashUpdateMem(lib, stream, block));
        }
      }
      mem_blk_t streamed = new mem_blk_t();
      check("StrHashFinalMem", LocalIface.QUMENJNI_StrHashFinalMem(lib, stream, streamed));
      mem_blk_t whole = new mem_blk_t();
      check("HashFile", LocalIface.QUMENJNI_HashFile(lib, file.toString(), whole));
      System.out.printf(
        "StrHash:   %d pieces of 64 KiB -> %s, handle now %d; HashFile agrees: %s%n",
        pieces,
        hex(streamed.bytes()),
        stream.handle,
        java.util.Arrays.equals(streamed.bytes(), whole.bytes())
      );
    } finally {
      java.nio.file.Files.delete(file);
    }
  }

  // A CMS message information tree, as it crossed the bridge.
  static void cms(LocalIface lib) throws CharConversionException {
    cms_msginf_t info = new cms_msginf_t();
    check(
      "CmsBlkMsgInfMem",
      LocalIface.QUMENJNI_CmsBlkMsgInfMem(lib, new mem_blk_t(new byte[] { 0x30 }), info, 0)
    );
    System.out.printf(
      "CmsMsgInf: type %d, %d signers, cipher %s, unprotected %s%n",
      info.type,
      info.signer_num,
      info.cipherAlg,
      String.join(",", info.unprotAttrs)
    );
    for (cms_siginf_t s : info.signers) {
      cms_certid_t id = s.signerId;
      String who = id.type == 1 ? id.issuer + " / " + id.serialNum : "subject key " + id.subjKeyId;
      System.out.printf(
        "  signer   %s, %s with %s, signed %s, attributes %s%n",
        who,
        s.digestAlg,
        s.signatureAlg,
        Instant.ofEpochSecond(s.signingTimeEx),
        java.util.Arrays.toString(s.authAttrs)
      );
    }
  }

  // Search the store, then walk through it one object at a time.
  static void stores(LocalIface lib) throws CharConversionException, NoSuchFieldException {
    find_param_t search = new find_param_t();
    search.certTemplate = new certificate_t();
    search.certTemplate.subject = "CN=Signer";
    find_result_t found = new find_result_t();
    check("FindCert", LocalIface.QUMENJNI_FindCert(lib, search, found));
    for (certificate_t c : found.certs)
      System.out.printf("FindCert:  %s (serial %s)%n", c.subject, c.serialNumber);
    strhandle_t position = new strhandle_t();
    int objects = 0;
    for (
      mem_blk_t object = new mem_blk_t();
      LocalIface.QUMENJNI_EnumStoreObjects(lib, null, position, object, 0) == 0;
      objects++
    ) {
      System.out.printf(
        "EnumStore: object %d, %d bytes, position %#x%n",
        objects,
        object.len,
        position.handle
      );
    }
    System.out.printf("EnumStore: end after %d objects, position %d%n", objects, position.handle);
  }

  // Stamp a message through a time-stamp authority at a URL, then verify the stamp.
  static void timeStamps(LocalIface lib, byte[] message) throws CharConversionException {
    mem_blk_t stamped = new mem_blk_t();
    check(
      "TspBlkUrlStampCmsMem",
      LocalIface.QUMENJNI_TspBlkUrlStampCmsMem(
        lib,
        new tsp_request_param_t(),
        "http://tsa.example.invalid/stamp",
        new mem_blk_t(message),
        stamped
      )
    );
    tsp_verify_result_t verified = new tsp_verify_result_t();
    check(
      "TspBlkVerifyCmsMem",
      LocalIface.QUMENJNI_TspBlkVerifyCmsMem(lib, new tsp_verify_param_t(), stamped, verified)
    );
    System.out.printf(
      "TspStamp:  %d bytes stamped; verified: time %s, authority %s%n",
      stamped.len,
      Instant.ofEpochSecond(verified.timeEx),
      verified.cert.subject
    );
  }

  // A short TLS exchange with a session that lives inside the library.
  static void tls(LocalIface lib) throws CharConversionException, NoSuchFieldException {
    strhandle_t session = new strhandle_t();
    check(
      "TlsSessionCreate",
      LocalIface.QUMENJNI_TlsSessionCreate(lib, "server.example.invalid", session, 0)
    );
    mem_blk_t hello = new mem_blk_t();
    check(
      "TlsSessionHandshake",
      LocalIface.QUMENJNI_TlsSessionHandshake(lib, session, null, hello)
    );
    mem_blk_t record = new mem_blk_t();
    check(
      "TlsSessionWrite",
      LocalIface.QUMENJNI_TlsSessionWrite(
        lib,
        session,
        new mem_blk_t("GET / HTTP/1.1".getBytes(StandardCharsets.US_ASCII)),
        record
      )
    );
    mem_blk_t plain = new mem_blk_t();
    check("TlsSessionRead", LocalIface.QUMENJNI_TlsSessionRead(lib, session, record, plain));
    mem_blk_t name = new mem_blk_t();
    check("TlsSessionQuery", LocalIface.QUMENJNI_TlsSessionQuery(lib, session, 0, name));
    check("TlsSessionDestroy", LocalIface.QUMENJNI_TlsSessionDestroy(lib, session));
    System.out.printf(
      "TLS:       \"%s\", %s; wrote %d bytes, read back \"%s\"; handle now %d%n",
      new String(hello.bytes(), StandardCharsets.US_ASCII),
      new String(name.bytes(), StandardCharsets.US_ASCII),
      record.len,
      new String(plain.bytes(), StandardCharsets.US_ASCII),
      session.handle
    );
  }

  static void print(certificate_t c) {
    System.out.printf(
      "  subject  %s%n  issuer   %s%n  serial   %s, algorithm %s%n",
      c.subject,
      c.issuer,
      c.serialNumber,
      c.algorithm
    );
    System.out.printf(
      "  valid    %s to %s (notAfterEx %d, unsigned)%n",
      Instant.ofEpochSecond(c.notBeforeEx),
      Instant.ofEpochSecond(c.notAfterEx),
      c.notAfterEx
    );
    System.out.printf(
      "  key id   %s, key usage %#x, e-mail %s%n",
      c.keyId,
      c.keyUsage,
      c.subjectAltName.emailAddress
    );
    for (LocalIface.policy_t p : c.policies) {
      System.out.printf(
        "  policy   %s (%s, notice %d: %s)%n",
        p.oid,
        p.org_name,
        p.not_num,
        p.text
      );
    }
    for (LocalIface.extension_t e : c.extensions) {
      System.out.printf("  ext      %s critical=%d %s%n", e.oid, e.critical, hex(e.data));
    }
    System.out.printf("  encoded  %d bytes, hash %s%n", c.certEncoded.len, hex(c.certHash.bytes()));
  }

  static void check(String what, int status) {
    if (status != 0) {
      throw new IllegalStateException(String.format("%s failed: status %#010x", what, status));
    }
  }

  static String hex(byte[] bytes) {
    StringBuilder b = new StringBuilder();
    for (byte x : bytes) b.append(String.format("%02x", x & 0xff));
    return b.toString();
  }
}
