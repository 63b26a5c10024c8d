import Norv1.LocalIface;
import Norv1.LocalIface.certificate_t;
import Norv1.LocalIface.decrypt_param_t;
import Norv1.LocalIface.decrypt_result_t;
import Norv1.LocalIface.encrypt_param_t;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.sign_param_t;
import Norv1.LocalIface.sign_status_t;
import Norv1.LocalIface.verify_param_t;
import Norv1.LocalIface.verify_result_t;
import java.nio.charset.StandardCharsets;
import java.time.Instant;

/**
 * A short tour of the bridge. Run over the project's stand-in library, whose results are
 * deterministic and plausible but not cryptographic.
 */
public final class Demo {
  public static void main(String[] args) {
    LocalIface lib = new LocalIface();
    check("InitMinimal", LocalIface.QUMENJNI_InitMinimal(lib));
    System.out.printf("context:   %#x%n", lib.handle);

    byte[] message = "The quick brown fox jumps over the lazy dog".getBytes(StandardCharsets.US_ASCII);
    mem_blk_t hash = new mem_blk_t();
    check("HashMem", LocalIface.QUMENJNI_HashMem(lib, new mem_blk_t(message), hash));
    System.out.printf("HashMem:   %s (%d bytes)%n", hex(hash.bytes()), hash.len);

    // Sign the message, then verify it: the signer's certificate crosses back into Java.
    mem_blk_t signed = new mem_blk_t();
    check("SignMem", LocalIface.QUMENJNI_SignMem(lib, new sign_param_t(), new mem_blk_t(message), null, signed));
    System.out.printf("SignMem:   %d bytes%n", signed.len);
    mem_blk_t content = new mem_blk_t();
    verify_result_t result = new verify_result_t();
    check("VerifyMem", LocalIface.QUMENJNI_VerifyMem(lib, new verify_param_t(), signed, null, content, result));
    System.out.printf("VerifyMem: %d signature(s), content \"%s\"%n", result.sign_num,
        new String(content.bytes(), StandardCharsets.US_ASCII));
    for (sign_status_t s : result.signs) {
      System.out.printf("  status %d, signed %s%n", s.status, Instant.ofEpochSecond(s.timeEx));
      print(s.cert);
    }

    // Encrypt for one receiver, whose certificate travels from Java into the library, and back.
    certificate_t receiver = new certificate_t();
    receiver.subject = "CN=Receiver";
    receiver.certEncoded = new mem_blk_t(new byte[] {0x30, 0x03, 0x02, 0x01, 0x07});
    encrypt_param_t encrypt = new encrypt_param_t();
    encrypt.receiver_num = 1;
    encrypt.receivers = new certificate_t[] {receiver};
    mem_blk_t sealed = new mem_blk_t();
    check("EncryptMem", LocalIface.QUMENJNI_EncryptMem(lib, encrypt, new mem_blk_t(message), sealed));
    mem_blk_t opened = new mem_blk_t();
    decrypt_result_t sender = new decrypt_result_t();
    check("DecryptMem", LocalIface.QUMENJNI_DecryptMem(lib, new decrypt_param_t(), sealed, opened, sender));
    System.out.printf("Encrypt/DecryptMem: %d bytes sealed, round trip %s, sender %s%n", sealed.len,
        java.util.Arrays.equals(opened.bytes(), message) ? "intact" : "BROKEN", sender.sender.subject);

    // Parse an encoded certificate.
    certificate_t parsed = new certificate_t();
    check("ParseCert", LocalIface.QUMENJNI_ParseCert(lib, receiver.certEncoded, 0, parsed));
    System.out.printf("ParseCert: %d policies, %d extensions, encoding %s%n", parsed.policy_num,
        parsed.extension_num, hex(parsed.certEncoded.bytes()));
    print(parsed);

    check("Uninitialize", LocalIface.QUMENJNI_Uninitialize(lib));
    System.out.println("context ended");
  }

  static void print(certificate_t c) {
    System.out.printf("  subject  %s%n  issuer   %s%n  serial   %s, algorithm %s%n", c.subject, c.issuer,
        c.serialNumber, c.algorithm);
    System.out.printf("  valid    %s to %s (notAfterEx %d, unsigned)%n", Instant.ofEpochSecond(c.notBeforeEx),
        Instant.ofEpochSecond(c.notAfterEx), c.notAfterEx);
    System.out.printf("  key id   %s, key usage %#x, e-mail %s%n", c.keyId, c.keyUsage,
        c.subjectAltName.emailAddress);
    for (LocalIface.policy_t p : c.policies) {
      System.out.printf("  policy   %s (%s, notice %d: %s)%n", p.oid, p.org_name, p.not_num, p.text);
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
