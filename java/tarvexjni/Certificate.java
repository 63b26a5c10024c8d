package tarvexjni;

import java.util.Arrays;
import java.util.List;
import java.util.Objects;

/**
 * One X.509 certificate as the library describes it: names, serial number, algorithm, validity,
 * key usage, alternative names, key identifier, policies, extended key usages, extensions, and
 * the encoding with its hash. The library fills every field; a field it left empty is null (a
 * text), empty (a list or an array) or 0.
 *
 * <p>Times are the library's own time values (unsigned 32-bit, as a non-negative {@code long});
 * their epoch and unit are the library's. Flag and code fields ({@code fields},
 * {@code keyUsage}) are the library's bits, passed on unchanged.
 *
 * <p>The lists are unmodifiable. The arrays are the certificate's own, made for it and shared
 * with nothing else; they are returned without a copy, so a caller that changes one changes the
 * certificate it came from. {@link #equals}, {@link #hashCode} and {@link #toString} compare and
 * show the arrays' contents.
 *
 * <p>To name a recipient of an envelope, pass a certificate as the library returned it (from
 * {@link Tarvex#parseCertificate}, {@link Tarvex#findCertificates}, ...), or one made with
 * {@link #ofEncoded(byte[])}.
 *
 * @param fields selector or presence bits defined by the library
 * @param issuer the issuer's name, as text
 * @param serialNumber the serial number, as text
 * @param subject the subject's name, as text
 * @param algorithm the algorithm, as text
 * @param notBefore the start of validity, a time value of the library
 * @param notAfter the end of validity, a time value of the library
 * @param keyUsage the key usage bits
 * @param privateKeyNotBefore the start of the private key's usage period, a time value of the
 *     library
 * @param privateKeyNotAfter the end of the private key's usage period, a time value of the
 *     library
 * @param issuerAltNames the issuer's alternative names; never null
 * @param subjectAltNames the subject's alternative names; never null
 * @param keyId the key identifier, as text
 * @param policies the certificate policies
 * @param extendedKeyUsages the extended key usages, as dotted OID texts
 * @param extensions the raw extensions
 * @param encoded the encoded certificate; never null
 * @param hash the certificate's hash; never null
 */
public record Certificate(
    int fields,
    String issuer,
    String serialNumber,
    String subject,
    String algorithm,
    long notBefore,
    long notAfter,
    int keyUsage,
    long privateKeyNotBefore,
    long privateKeyNotAfter,
    AltNames issuerAltNames,
    AltNames subjectAltNames,
    String keyId,
    List<Policy> policies,
    List<String> extendedKeyUsages,
    List<Extension> extensions,
    byte[] encoded,
    byte[] hash) {

  /**
   * Makes the record, checked: a component that must not be null is not, and lists become
   * unmodifiable copies.
   *
   * @param fields selector or presence bits defined by the library
   * @param issuer the issuer's name, as text
   * @param serialNumber the serial number, as text
   * @param subject the subject's name, as text
   * @param algorithm the algorithm, as text
   * @param notBefore the start of validity, a time value of the library
   * @param notAfter the end of validity, a time value of the library
   * @param keyUsage the key usage bits
   * @param privateKeyNotBefore the start of the private key's usage period, a time value of the
   *     library
   * @param privateKeyNotAfter the end of the private key's usage period, a time value of the
   *     library
   * @param issuerAltNames the issuer's alternative names; never null
   * @param subjectAltNames the subject's alternative names; never null
   * @param keyId the key identifier, as text
   * @param policies the certificate policies
   * @param extendedKeyUsages the extended key usages, as dotted OID texts
   * @param extensions the raw extensions
   * @param encoded the encoded certificate; never null
   * @param hash the certificate's hash; never null
   * @throws NullPointerException when a component that must not be null, or an element of a
   *     list, is null
   */
  public Certificate {
    Objects.requireNonNull(issuerAltNames, "issuerAltNames");
    Objects.requireNonNull(subjectAltNames, "subjectAltNames");
    policies = List.copyOf(policies);
    extendedKeyUsages = List.copyOf(extendedKeyUsages);
    extensions = List.copyOf(extensions);
    Objects.requireNonNull(encoded, "encoded");
    Objects.requireNonNull(hash, "hash");
  }

  /**
   * A certificate known only by its encoding, for example to name a recipient of an envelope:
   * every other field is empty.
   *
   * @param encoded the encoded certificate, used without a copy
   * @return the certificate
   */
  public static Certificate ofEncoded(byte[] encoded) {
    Objects.requireNonNull(encoded, "encoded");
    return new Certificate(0, null, null, null, null, 0, 0, 0, 0, 0, AltNames.NONE, AltNames.NONE, null,
        List.of(), List.of(), List.of(), encoded, new byte[0]);
  }

  /**
   * Whether another object is a certificate with the same fields, the arrays compared by
   * content.
   *
   * @param o the other object
   * @return true when equal
   */
  @Override
  public boolean equals(Object o) {
    return o instanceof Certificate c && fields == c.fields && Objects.equals(issuer, c.issuer)
        && Objects.equals(serialNumber, c.serialNumber) && Objects.equals(subject, c.subject)
        && Objects.equals(algorithm, c.algorithm) && notBefore == c.notBefore && notAfter == c.notAfter
        && keyUsage == c.keyUsage && privateKeyNotBefore == c.privateKeyNotBefore
        && privateKeyNotAfter == c.privateKeyNotAfter && issuerAltNames.equals(c.issuerAltNames)
        && subjectAltNames.equals(c.subjectAltNames) && Objects.equals(keyId, c.keyId)
        && policies.equals(c.policies) && extendedKeyUsages.equals(c.extendedKeyUsages)
        && extensions.equals(c.extensions) && Arrays.equals(encoded, c.encoded) && Arrays.equals(hash, c.hash);
  }

  /**
   * A hash code consistent with {@link #equals}.
   *
   * @return the hash code
   */
  @Override
  public int hashCode() {
    return Objects.hash(subject, issuer, serialNumber, Arrays.hashCode(encoded));
  }

  /**
   * A short description: subject, issuer, serial number and the encoding's size.
   *
   * @return the description
   */
  @Override
  public String toString() {
    return "Certificate[subject=" + subject + ", issuer=" + issuer + ", serialNumber=" + serialNumber
        + ", encoded=" + encoded.length + " bytes]";
  }

  /**
   * The alternative names of a certificate's issuer or subject, one text each; null when absent.
   *
   * @param email e-mail address
   * @param dns DNS name
   * @param uri uniform resource identifier
   * @param ip IP address
   * @param organizationName organisation name
   * @param registeredAddress registered address
   * @param surname surname
   * @param businessCategory business category
   * @param telephoneNumber telephone number
   * @param description description
   * @param accountNumber account number
   * @param bankId bank identifier
   * @param physicalDelivery physical delivery address
   * @param exchangeAddress exchange address
   */
  public record AltNames(
      String email,
      String dns,
      String uri,
      String ip,
      String organizationName,
      String registeredAddress,
      String surname,
      String businessCategory,
      String telephoneNumber,
      String description,
      String accountNumber,
      String bankId,
      String physicalDelivery,
      String exchangeAddress) {
    /** No alternative names at all. */
    public static final AltNames NONE =
        new AltNames(null, null, null, null, null, null, null, null, null, null, null, null, null, null);
  }

  /**
   * A certificate policy with its user-notice qualifier.
   *
   * @param oid the policy identifier, as dotted OID text
   * @param organization the notice's organisation name
   * @param noticeNumber the notice number
   * @param noticeText the notice's explicit text
   */
  public record Policy(String oid, String organization, int noticeNumber, String noticeText) {}

  /**
   * One certificate extension, as raw bytes. The array is the extension's own and is returned
   * without a copy; {@link #equals}, {@link #hashCode} and {@link #toString} use its content.
   *
   * @param oid the extension identifier, as dotted OID text
   * @param type the extension's type code, the library's
   * @param critical the criticality flag, the library's (0 for not critical)
   * @param value the extension value's bytes; never null
   */
  public record Extension(String oid, int type, int critical, byte[] value) {
    /**
     * Makes the record, checked: a component that must not be null is not, and lists become
     * unmodifiable copies.
     *
     * @param oid the extension identifier, as dotted OID text
     * @param type the extension's type code, the library's
     * @param critical the criticality flag, the library's (0 for not critical)
     * @param value the extension value's bytes; never null
     * @throws NullPointerException when a component that must not be null, or an element of a
     *     list, is null
     */
    public Extension {
      Objects.requireNonNull(value, "value");
    }

    /**
     * Whether another object is an extension with the same fields, the value compared by
     * content.
     *
     * @param o the other object
     * @return true when equal
     */
    @Override
    public boolean equals(Object o) {
      return o instanceof Extension e && Objects.equals(oid, e.oid) && type == e.type && critical == e.critical
          && Arrays.equals(value, e.value);
    }

    /**
     * A hash code consistent with {@link #equals}.
     *
     * @return the hash code
     */
    @Override
    public int hashCode() {
      return Objects.hash(oid, type, critical, Arrays.hashCode(value));
    }

    /**
     * A short description: identifier, type, criticality and the value's size.
     *
     * @return the description
     */
    @Override
    public String toString() {
      return "Extension[oid=" + oid + ", type=" + type + ", critical=" + critical + ", value=" + value.length
          + " bytes]";
    }
  }
}
