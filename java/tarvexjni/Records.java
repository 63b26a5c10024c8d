package tarvexjni;

import Norv1.LocalIface.altname_t;
import Norv1.LocalIface.certificate_t;
import Norv1.LocalIface.crl_t;
import Norv1.LocalIface.extension_t;
import Norv1.LocalIface.extkeyusage_t;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.policy_t;
import Norv1.LocalIface.sign_status_t;
import Norv1.LocalIface.verify_param_t;
import Norv1.LocalIface.verify_result_t;
import java.util.Arrays;
import java.util.List;
import java.util.Optional;
import java.util.function.Function;

// Between the API's immutable results and LocalIface's record classes. Byte arrays cross
// without a copy in both directions: an input array becomes a block's buf as it is, and an
// output block's buf (a new array of exactly len bytes that the bridge made for this result)
// becomes the result's array. The public conversions (Certificate.from, Verification.from, ...)
// are these.
final class Records {

  private Records() {}

  static final byte[] EMPTY = new byte[0];

  // ---- Blocks ----------------------------------------------------------------------------------

  static mem_blk_t in(byte[] bytes) {
    return new mem_blk_t(bytes);
  }

  static byte[] bytes(mem_blk_t block) {
    if (block == null || block.buf == null || block.len <= 0) return EMPTY;
    return block.buf.length == block.len
      ? block.buf
      : Arrays.copyOf(block.buf, Math.min(block.len, block.buf.length));
  }

  // ---- Certificates into Java ------------------------------------------------------------------

  static Certificate certificate(certificate_t c) {
    return new Certificate(
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
      altNames(c.issuerAltName),
      altNames(c.subjectAltName),
      c.keyId,
      list(c.policies, p -> new Certificate.Policy(p.oid, p.org_name, p.not_num, p.text)),
      list(c.extKeyUsage, e -> e.oid),
      list(c.extensions, e ->
        new Certificate.Extension(e.oid, e.type, e.critical, extensionValue(e))
      ),
      bytes(c.certEncoded),
      bytes(c.certHash)
    );
  }

  static List<Certificate> certificates(certificate_t[] certs) {
    return list(certs, Records::certificate);
  }

  private static byte[] extensionValue(extension_t e) {
    if (e.data == null || e.len <= 0) return EMPTY;
    return e.data.length == e.len ? e.data : Arrays.copyOf(e.data, Math.min(e.len, e.data.length));
  }

  private static Certificate.AltNames altNames(altname_t a) {
    if (a == null) return Certificate.AltNames.NONE;
    return new Certificate.AltNames(
      a.emailAddress,
      a.DNS,
      a.URI,
      a.IP,
      a.organizationName,
      a.registredAddress,
      a.surname,
      a.businessCategory,
      a.telephoneNumber,
      a.description,
      a.account_number,
      a.bank_id,
      a.physicalDelivery,
      a.exchange_address
    );
  }

  // The elements of a record array the bridge filled (null elements, which it never makes, are
  // skipped); an absent array is an empty list.
  @SuppressWarnings("unchecked")
  static <R, T> List<T> list(R[] records, Function<R, T> convert) {
    if (records == null || records.length == 0) return List.of();
    Object[] out = new Object[records.length];
    int n = 0;
    for (R r : records) {
      if (r != null) out[n++] = convert.apply(r);
    }
    return (List<T>) List.of(n == out.length ? out : Arrays.copyOf(out, n));
  }

  // A certificate the library may leave out (a sender, a signer's): absent when the bridge gave
  // none, or a record that names nobody, with neither an encoding nor a subject, issuer or serial
  // number (the library fills an empty record when it names no sender).
  static Optional<Certificate> sender(certificate_t c) {
    if (c == null) return Optional.empty();
    boolean encoded = c.certEncoded != null && c.certEncoded.buf != null && c.certEncoded.len > 0;
    if (
      !encoded && c.subject == null && c.issuer == null && c.serialNumber == null
    ) return Optional.empty();
    return Optional.of(certificate(c));
  }

  // A text as the API returns it: never null (the bridge gives an empty text as null).
  static String text(String s) {
    return s == null ? "" : s;
  }

  // ---- Certificates into the library -------------------------------------------------------------

  static certificate_t certificate(Certificate c) {
    certificate_t t = new certificate_t();
    t.fields = c.fields();
    t.issuer = c.issuer();
    t.serialNumber = c.serialNumber();
    t.subject = c.subject();
    t.algorithm = c.algorithm();
    t.notBeforeEx = c.notBefore();
    t.notAfterEx = c.notAfter();
    t.keyUsage = c.keyUsage();
    t.notBeforePrivateEx = c.privateKeyNotBefore();
    t.notAfterPrivateEx = c.privateKeyNotAfter();
    t.issuerAltName = altNames(c.issuerAltNames());
    t.subjectAltName = altNames(c.subjectAltNames());
    t.keyId = c.keyId();
    t.policies = c
      .policies()
      .stream()
      .map(Records::policy)
      .toArray(policy_t[]::new);
    t.policy_num = t.policies.length;
    t.extKeyUsage = extendedKeyUsages(c.extendedKeyUsages());
    t.extkeyusage_num = t.extKeyUsage.length;
    t.extensions = c
      .extensions()
      .stream()
      .map(Records::extension)
      .toArray(extension_t[]::new);
    t.extension_num = t.extensions.length;
    t.certEncoded = in(c.encoded());
    t.certHash = in(c.hash());
    return t;
  }

  static certificate_t[] certificates(List<Certificate> certs) {
    return certs
      .stream()
      .map(Records::certificate)
      .toArray(certificate_t[]::new);
  }

  private static altname_t altNames(Certificate.AltNames a) {
    altname_t t = new altname_t();
    t.emailAddress = a.email();
    t.DNS = a.dns();
    t.URI = a.uri();
    t.IP = a.ip();
    t.organizationName = a.organizationName();
    t.registredAddress = a.registeredAddress();
    t.surname = a.surname();
    t.businessCategory = a.businessCategory();
    t.telephoneNumber = a.telephoneNumber();
    t.description = a.description();
    t.account_number = a.accountNumber();
    t.bank_id = a.bankId();
    t.physicalDelivery = a.physicalDelivery();
    t.exchange_address = a.exchangeAddress();
    return t;
  }

  private static policy_t policy(Certificate.Policy p) {
    policy_t t = new policy_t();
    t.oid = p.oid();
    t.org_name = p.organization();
    t.not_num = p.noticeNumber();
    t.text = p.noticeText();
    return t;
  }

  private static extension_t extension(Certificate.Extension e) {
    extension_t t = new extension_t();
    t.oid = e.oid();
    t.type = e.type();
    t.critical = e.critical();
    t.data = e.value();
    t.len = e.value().length;
    return t;
  }

  private static extkeyusage_t[] extendedKeyUsages(List<String> oids) {
    extkeyusage_t[] out = new extkeyusage_t[oids.size()];
    for (int i = 0; i < out.length; i++) {
      out[i] = new extkeyusage_t();
      out[i].oid = oids.get(i);
    }
    return out;
  }

  // ---- Verification --------------------------------------------------------------------------

  static verify_param_t verifyParam(VerifyOptions o) {
    verify_param_t p = new verify_param_t();
    p.flag = o.flags();
    p.keyUsage = o.keyUsage();
    p.policies = o
      .policies()
      .stream()
      .map(oid -> policy(new Certificate.Policy(oid, null, 0, null)))
      .toArray(policy_t[]::new);
    p.policy_num = p.policies.length;
    p.extKeyUsage = extendedKeyUsages(o.extendedKeyUsages());
    p.extkeyusage_num = p.extKeyUsage.length;
    p.minsigns = o.minimumSignatures();
    p.info = o.info();
    return p;
  }

  static Verification verification(int status, mem_blk_t content, verify_result_t result) {
    return new Verification(status, bytes(content), list(result.signs, Records::signer));
  }

  static Verification.Signer signer(sign_status_t s) {
    return new Verification.Signer(s.status, s.timeEx, sender(s.cert));
  }

  // ---- CRLs --------------------------------------------------------------------------------------

  static Crl crl(crl_t c) {
    return new Crl(
      c.fields,
      c.issuer,
      c.lastUpdateEx,
      c.nextUpdateEx,
      c.number,
      list(c.revcerts, r -> new Crl.Revoked(r.serialNumber, r.revtimeEx, r.reason)),
      bytes(c.crlEncoded),
      bytes(c.crlHash)
    );
  }
}
