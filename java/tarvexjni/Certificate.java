package tarvexjni;

import static tarvexjni.Records.text;

import Norv1.LocalIface.certificate_t;
import java.io.ByteArrayInputStream;
import java.security.cert.CertificateEncodingException;
import java.security.cert.CertificateException;
import java.security.cert.CertificateFactory;
import java.security.cert.X509Certificate;
import java.util.Arrays;
import java.util.List;
import java.util.Objects;

/**
 * One X.509 certificate as the library describes it: names, serial number, algorithm, validity,
 * key usage, alternative names, key identifier, policies, extended key usages, extensions, and
 * the encoding with its hash. The library fills every field; a field it left empty is empty:
 * {@code ""} for a text, an empty list or array, or 0. No component is ever null.
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
 * <h2>The JDK's certificates</h2>
 * {@link #toX509Certificate()} gives the JDK's {@link X509Certificate} of the same encoding,
 * through the JDK's {@link CertificateFactory}, for {@code KeyStore}s, {@code CertPath}
 * validation, TLS and whatever else takes one; {@link #from(X509Certificate)} makes a certificate
 * of the JDK's one, known by its encoding ({@link Tarvex#parseCertificate(byte[])} reads its
 * other fields as the library does).
 *
 * <pre>{@code
 * X509Certificate signer = verification.signers().get(0).certificate().orElseThrow().toX509Certificate();
 * signer.checkValidity();
 * }</pre>
 *
 * <p>To name a recipient of an envelope, pass a certificate as the library returned it (from
 * {@link Tarvex#parseCertificate}, {@link Tarvex#findCertificates}, ...), one made with
 * {@link #ofEncoded(byte[])} or {@link #from(X509Certificate)}, or the JDK's certificates to the
 * methods that take them ({@link Tarvex#encrypt(byte[], java.util.Collection)}, ...).
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
 * @param issuerAltNames the issuer's alternative names
 * @param subjectAltNames the subject's alternative names
 * @param keyId the key identifier, as text
 * @param policies the certificate policies
 * @param extendedKeyUsages the extended key usages, as dotted OID texts
 * @param extensions the raw extensions
 * @param encoded the encoded certificate
 * @param hash the certificate's hash
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
  byte[] hash
) {
  /**
   * Makes the record, checked: a null text is taken as {@code ""}, lists become unmodifiable
   * copies, and the other components must not be null.
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
   * @param issuerAltNames the issuer's alternative names; not null
   * @param subjectAltNames the subject's alternative names; not null
   * @param keyId the key identifier, as text
   * @param policies the certificate policies; not null
   * @param extendedKeyUsages the extended key usages, as dotted OID texts; not null
   * @param extensions the raw extensions; not null
   * @param encoded the encoded certificate; not null
   * @param hash the certificate's hash; not null
   * @throws NullPointerException when a component that must not be null, or an element of a
   *     list, is null
   */
  public Certificate {
    issuer = text(issuer);
    serialNumber = text(serialNumber);
    subject = text(subject);
    algorithm = text(algorithm);
    keyId = text(keyId);
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
    return new Certificate(
      0,
      "",
      "",
      "",
      "",
      0,
      0,
      0,
      0,
      0,
      AltNames.NONE,
      AltNames.NONE,
      "",
      List.of(),
      List.of(),
      List.of(),
      encoded,
      new byte[0]
    );
  }

  /**
   * A certificate of the JDK's one, known by its encoding as {@link #ofEncoded(byte[])} makes
   * it: to name a recipient, or to have the library read it ({@link
   * Tarvex#parseCertificate(byte[])}).
   *
   * @param certificate the JDK's certificate
   * @return the certificate, its encoding that of {@code certificate}
   * @throws IllegalArgumentException when {@code certificate} cannot give its encoding (the
   *     cause is the {@link CertificateEncodingException})
   */
  public static Certificate from(X509Certificate certificate) {
    Objects.requireNonNull(certificate, "certificate");
    try {
      return ofEncoded(certificate.getEncoded());
    } catch (CertificateEncodingException e) {
      throw new IllegalArgumentException(
        "the certificate of " + certificate.getSubjectX500Principal() + " cannot give its encoding",
        e
      );
    }
  }

  /**
   * The certificate as {@code LocalIface} returned it, as this API returns it: what {@link
   * Tarvex#parseCertificate(byte[])} makes of the record its call filled, for a call made
   * through {@link Tarvex#call(String, LibraryCall)}. The arrays are taken without a copy: the
   * result shares them with the record.
   *
   * @param record a certificate record
   * @return the certificate
   */
  public static Certificate from(certificate_t record) {
    return Records.certificate(Objects.requireNonNull(record, "record"));
  }

  /**
   * The certificate as a record of {@code LocalIface}, for a call made through {@link
   * Tarvex#call(String, LibraryCall)} that takes one. The arrays are passed without a copy.
   *
   * @return a new record with every field of this certificate
   */
  public certificate_t toRecord() {
    return Records.certificate(this);
  }

  /**
   * The JDK's certificate of the same encoding, made by the JDK's {@link CertificateFactory}
   * for X.509.
   *
   * @return a new {@link X509Certificate}
   * @throws CertificateException when the JDK cannot read the encoding as an X.509 certificate
   *     (an empty one included)
   */
  public X509Certificate toX509Certificate() throws CertificateException {
    return (X509Certificate) CertificateFactory.getInstance("X.509").generateCertificate(
      new ByteArrayInputStream(encoded)
    );
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
    return (
      o instanceof Certificate c &&
      fields == c.fields &&
      Objects.equals(issuer, c.issuer) &&
      Objects.equals(serialNumber, c.serialNumber) &&
      Objects.equals(subject, c.subject) &&
      Objects.equals(algorithm, c.algorithm) &&
      notBefore == c.notBefore &&
      notAfter == c.notAfter &&
      keyUsage == c.keyUsage &&
      privateKeyNotBefore == c.privateKeyNotBefore &&
      privateKeyNotAfter == c.privateKeyNotAfter &&
      issuerAltNames.equals(c.issuerAltNames) &&
      subjectAltNames.equals(c.subjectAltNames) &&
      Objects.equals(keyId, c.keyId) &&
      policies.equals(c.policies) &&
      extendedKeyUsages.equals(c.extendedKeyUsages) &&
      extensions.equals(c.extensions) &&
      Arrays.equals(encoded, c.encoded) &&
      Arrays.equals(hash, c.hash)
    );
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
    return (
      "Certificate[subject=" +
      subject +
      ", issuer=" +
      issuer +
      ", serialNumber=" +
      serialNumber +
      ", encoded=" +
      encoded.length +
      " bytes]"
    );
  }

  /**
   * The alternative names of a certificate's issuer or subject, one text each; {@code ""} for a
   * name the certificate does not carry (a null given to the constructor is taken as {@code ""}).
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
    String exchangeAddress
  ) {
    /** No alternative names at all. */
    public static final AltNames NONE = new AltNames(
      null,
      null,
      null,
      null,
      null,
      null,
      null,
      null,
      null,
      null,
      null,
      null,
      null,
      null
    );

    /**
     * Makes the record; a null text is taken as {@code ""}.
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
    public AltNames {
      email = text(email);
      dns = text(dns);
      uri = text(uri);
      ip = text(ip);
      organizationName = text(organizationName);
      registeredAddress = text(registeredAddress);
      surname = text(surname);
      businessCategory = text(businessCategory);
      telephoneNumber = text(telephoneNumber);
      description = text(description);
      accountNumber = text(accountNumber);
      bankId = text(bankId);
      physicalDelivery = text(physicalDelivery);
      exchangeAddress = text(exchangeAddress);
    }
  }

  /**
   * A certificate policy with its user-notice qualifier; a text it does not carry is {@code ""}.
   *
   * @param oid the policy identifier, as dotted OID text
   * @param organization the notice's organisation name
   * @param noticeNumber the notice number
   * @param noticeText the notice's explicit text
   */
  public record Policy(String oid, String organization, int noticeNumber, String noticeText) {
    /**
     * Makes the record; a null text is taken as {@code ""}.
     *
     * @param oid the policy identifier, as dotted OID text
     * @param organization the notice's organisation name
     * @param noticeNumber the notice number
     * @param noticeText the notice's explicit text
     */
    public Policy {
      oid = text(oid);
      organization = text(organization);
      noticeText = text(noticeText);
    }
  }

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
     * Makes the record, checked: a null identifier is taken as {@code ""}, and the value must not
     * be null.
     *
     * @param oid the extension identifier, as dotted OID text
     * @param type the extension's type code, the library's
     * @param critical the criticality flag, the library's (0 for not critical)
     * @param value the extension value's bytes; not null
     * @throws NullPointerException when the value is null
     */
    public Extension {
      oid = text(oid);
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
      return (
        o instanceof Extension e &&
        Objects.equals(oid, e.oid) &&
        type == e.type &&
        critical == e.critical &&
        Arrays.equals(value, e.value)
      );
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
      return (
        "Extension[oid=" +
        oid +
        ", type=" +
        type +
        ", critical=" +
        critical +
        ", value=" +
        value.length +
        " bytes]"
      );
    }
  }
}
