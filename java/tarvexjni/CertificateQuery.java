package tarvexjni;

/**
 * What a certificate search in the library's store looks for: a template whose filled fields
 * describe the certificates sought, with the search's option words. How the library matches a
 * template is the library's. Immutable: the factories and {@code with...} methods make new
 * queries.
 *
 * <pre>{@code
 * List<Certificate> mine = tarvex.findCertificates(CertificateQuery.bySubject("CN=Signer"));
 * }</pre>
 *
 * @param flags the search options, the library's bits
 * @param subject the subject's name, or null
 * @param issuer the issuer's name, or null
 * @param serialNumber the serial number, as text, or null
 * @param keyId the key identifier, as text, or null
 * @param email the subject's e-mail address (an alternative name), or null
 * @param info further search options, the library's
 */
public record CertificateQuery(
  int flags,
  String subject,
  String issuer,
  String serialNumber,
  String keyId,
  String email,
  int info
) {
  /**
   * A query whose template is empty: which certificates match it is the library's rule.
   *
   * @return the query
   */
  public static CertificateQuery any() {
    return new CertificateQuery(0, null, null, null, null, null, 0);
  }

  /**
   * The certificates of a subject.
   *
   * @param subject the subject's name, as the library writes it
   * @return the query
   */
  public static CertificateQuery bySubject(String subject) {
    return any().withSubject(subject);
  }

  /**
   * The certificate an issuer gave a serial number.
   *
   * @param issuer the issuer's name, as the library writes it
   * @param serialNumber the serial number, as the library writes it
   * @return the query
   */
  public static CertificateQuery byIssuerAndSerial(String issuer, String serialNumber) {
    return new CertificateQuery(0, null, issuer, serialNumber, null, null, 0);
  }

  /**
   * The certificates of a key.
   *
   * @param keyId the key identifier, as the library writes it
   * @return the query
   */
  public static CertificateQuery byKeyId(String keyId) {
    return new CertificateQuery(0, null, null, null, keyId, null, 0);
  }

  /**
   * The certificates of an e-mail address.
   *
   * @param email the subject's e-mail address
   * @return the query
   */
  public static CertificateQuery byEmail(String email) {
    return new CertificateQuery(0, null, null, null, null, email, 0);
  }

  /**
   * This query with another subject.
   *
   * @param subject the subject's name, or null
   * @return the changed copy
   */
  public CertificateQuery withSubject(String subject) {
    return new CertificateQuery(flags, subject, issuer, serialNumber, keyId, email, info);
  }

  /**
   * This query with other search options.
   *
   * @param flags the search options, the library's bits
   * @return the changed copy
   */
  public CertificateQuery withFlags(int flags) {
    return new CertificateQuery(flags, subject, issuer, serialNumber, keyId, email, info);
  }

  /**
   * This query with other further options.
   *
   * @param info further search options, the library's
   * @return the changed copy
   */
  public CertificateQuery withInfo(int info) {
    return new CertificateQuery(flags, subject, issuer, serialNumber, keyId, email, info);
  }
}
