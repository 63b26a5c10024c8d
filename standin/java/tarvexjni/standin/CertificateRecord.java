package tarvexjni.standin;

import java.io.DataOutputStream;
import java.io.IOException;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Objects;
import tarvexjni.internal.NativeLoader;

/**
 * A certificate for programmed results ({@link VerificationAnswer} signers, {@link Store}
 * contents), as the library describes one in its record: Java sees it as a
 * {@code LocalIface.certificate_t} with these values (and the Java API as a
 * {@code tarvexjni.Certificate}, whose name this one keeps apart from). Immutable; built with
 * {@link #builder()} (or {@link #withSubject(String)}),
 * every field named as in {@code certificate_t}:
 *
 * <pre>{@code
 * CertificateRecord alice = CertificateRecord.builder()
 *     .subject("CN=Alice,O=Example").issuer("CN=Example CA").serialNumber("01:A7")
 *     .notBeforeEx(0x65000000L).notAfterEx(0x70000000L)
 *     .extKeyUsage("1.3.6.1.5.5.7.3.4")
 *     .certEncoded(aliceDer)
 *     .build();
 * }</pre>
 *
 * <p>A field not set is empty: a text null, a number 0, a list empty, a block without bytes.
 * The builder refuses what the library's record cannot carry: a text that holds a NUL, or a
 * character outside the encoding of the library's texts (they reach Java one byte per
 * character: where the system property {@code tarvexjni.codeset} names the encoding, its
 * characters; otherwise ASCII, the only characters that reach Java the same in the codeset of
 * every locale; an empty text reaches Java as null), and a time outside the unsigned 32 bits of
 * the library's times (0 to 4294967295).
 */
public final class CertificateRecord {

  /** The names of the fields of an {@code altname_t}, as {@link Builder#subjectAltName} takes them. */
  static final List<String> ALT_NAMES = List.of(
    "emailAddress",
    "DNS",
    "URI",
    "IP",
    "organizationName",
    "registredAddress",
    "surname",
    "businessCategory",
    "telephoneNumber",
    "description",
    "account_number",
    "bank_id",
    "physicalDelivery",
    "exchange_address"
  );

  private record Policy(String oid, String orgName, int noticeNumber, String text) {}

  private record Extension(String oid, int type, boolean critical, byte[] data) {}

  private final Builder b;

  private CertificateRecord(Builder builder) {
    b = builder.copy();
  }

  /**
   * A builder of an empty certificate.
   *
   * @return the builder
   */
  public static Builder builder() {
    return new Builder();
  }

  /**
   * A certificate with only its subject set.
   *
   * @param subject the subject name, of the characters the class description names
   * @return the certificate
   * @throws IllegalArgumentException for a subject with another character, or a NUL
   */
  public static CertificateRecord withSubject(String subject) {
    return builder().subject(subject).build();
  }

  /**
   * A builder that starts from this certificate's values.
   *
   * @return the builder
   */
  public Builder toBuilder() {
    return b.copy();
  }

  /**
   * Its subject, issuer and serial number, where set.
   *
   * @return a short description
   */
  @Override
  public String toString() {
    List<String> parts = new ArrayList<>();
    if (b.subject != null) parts.add("subject=" + b.subject);
    if (b.issuer != null) parts.add("issuer=" + b.issuer);
    if (b.serialNumber != null) parts.add("serialNumber=" + b.serialNumber);
    return "CertificateRecord" + parts;
  }

  // The encoding answers.cpp reads.
  void writeTo(DataOutputStream out) throws IOException {
    out.writeInt(b.fields);
    text(out, b.issuer);
    text(out, b.serialNumber);
    text(out, b.subject);
    text(out, b.algorithm);
    out.writeInt((int) b.notBeforeEx);
    out.writeInt((int) b.notAfterEx);
    out.writeInt(b.keyUsage);
    out.writeInt((int) b.notBeforePrivateEx);
    out.writeInt((int) b.notAfterPrivateEx);
    for (Map<String, String> names : List.of(b.issuerAltName, b.subjectAltName)) {
      for (String field : ALT_NAMES) text(out, names.get(field));
    }
    text(out, b.keyId);
    out.writeInt(b.policies.size());
    for (Policy p : b.policies) {
      text(out, p.oid);
      text(out, p.orgName);
      out.writeInt(p.noticeNumber);
      text(out, p.text);
    }
    out.writeInt(b.extKeyUsage.size());
    for (String oid : b.extKeyUsage) text(out, oid);
    out.writeInt(b.extensions.size());
    for (Extension e : b.extensions) {
      text(out, e.oid);
      out.writeInt(e.type);
      out.writeInt(e.critical ? 1 : 0);
      bytes(out, e.data);
    }
    bytes(out, b.certEncoded);
    bytes(out, b.certHash);
  }

  static void text(DataOutputStream out, String text) throws IOException {
    NativeLoader.NarrowCodeset named = NativeLoader.codeset();
    if (text == null) {
      out.writeInt(-1);
    } else if (named == null) {
      out.writeInt(text.length());
      out.writeBytes(text); // ASCII: one byte per character
    } else {
      byte[] bytes = text.getBytes(named.charset()); // one byte per character, each of the encoding's
      out.writeInt(bytes.length);
      out.write(bytes);
    }
  }

  static void bytes(DataOutputStream out, byte[] bytes) throws IOException {
    if (bytes == null) {
      out.writeInt(-1);
    } else {
      out.writeInt(bytes.length);
      out.write(bytes);
    }
  }

  // A text of a certificate: no NUL, and each character one the library's texts can hold, those
  // of the encoding tarvexjni.codeset names, else ASCII; null passes.
  static String field(String what, String text) {
    NativeLoader.NarrowCodeset named = NativeLoader.codeset();
    if (text == null || named == null) return checkedText(what, text, true);
    for (int i = 0; i < text.length(); i++) {
      char c = text.charAt(i);
      if (c == 0 || !named.has(c)) {
        throw new IllegalArgumentException(
          what +
            " \"" +
            text +
            "\" has " +
            (c == 0 ? "a NUL" : "'" + c + "'") +
            " at " +
            i +
            ", which the library's texts cannot hold: they end at a NUL, and are in " +
            named.charset().name() +
            ", as " +
            named.source() +
            " says"
        );
      }
    }
    return text;
  }

  // A text the library could give: ASCII, no NUL; null passes where allowed.
  static String checkedText(String what, String text, boolean emptyAllowed) {
    if (text == null) return null;
    if (text.isEmpty() && !emptyAllowed) throw new IllegalArgumentException(what + " is empty");
    for (int i = 0; i < text.length(); i++) {
      char c = text.charAt(i);
      if (c == 0 || c > 0x7F) {
        throw new IllegalArgumentException(
          what +
            " \"" +
            text +
            "\" has " +
            (c == 0 ? "a NUL" : "the non-ASCII '" + c + "'") +
            " at " +
            i +
            ": the library's texts end at a NUL and reach Java one byte per character, so" +
            " only ASCII reaches Java the same everywhere"
        );
      }
    }
    return text;
  }

  // A time the library could give: unsigned 32 bits.
  static long checkedTime(String what, long time) {
    if (time < 0 || time > 0xFFFFFFFFL) {
      throw new IllegalArgumentException(
        what +
          " " +
          time +
          " is out of range: the library's times are unsigned" +
          " 32-bit values, 0 to 4294967295"
      );
    }
    return time;
  }

  /**
   * Builds a {@link CertificateRecord}; each method sets the field of {@code certificate_t} it is named
   * after, and refuses a value the library could not give with {@link IllegalArgumentException}.
   */
  public static final class Builder {

    private int fields;
    private String issuer;
    private String serialNumber;
    private String subject;
    private String algorithm;
    private long notBeforeEx;
    private long notAfterEx;
    private int keyUsage;
    private long notBeforePrivateEx;
    private long notAfterPrivateEx;
    private Map<String, String> issuerAltName = new LinkedHashMap<>();
    private Map<String, String> subjectAltName = new LinkedHashMap<>();
    private String keyId;
    private List<Policy> policies = new ArrayList<>();
    private List<String> extKeyUsage = new ArrayList<>();
    private List<Extension> extensions = new ArrayList<>();
    private byte[] certEncoded;
    private byte[] certHash;

    private Builder() {}

    private Builder copy() {
      Builder c = new Builder();
      c.fields = fields;
      c.issuer = issuer;
      c.serialNumber = serialNumber;
      c.subject = subject;
      c.algorithm = algorithm;
      c.notBeforeEx = notBeforeEx;
      c.notAfterEx = notAfterEx;
      c.keyUsage = keyUsage;
      c.notBeforePrivateEx = notBeforePrivateEx;
      c.notAfterPrivateEx = notAfterPrivateEx;
      c.issuerAltName = new LinkedHashMap<>(issuerAltName);
      c.subjectAltName = new LinkedHashMap<>(subjectAltName);
      c.keyId = keyId;
      c.policies = new ArrayList<>(policies);
      c.extKeyUsage = new ArrayList<>(extKeyUsage);
      c.extensions = new ArrayList<>(extensions);
      c.certEncoded = certEncoded == null ? null : certEncoded.clone();
      c.certHash = certHash == null ? null : certHash.clone();
      return c;
    }

    /**
     * Sets {@code fields}, the library's selector or presence bits.
     *
     * @param fields the bits
     * @return this builder
     */
    public Builder fields(int fields) {
      this.fields = fields;
      return this;
    }

    /**
     * Sets {@code issuer}.
     *
     * @param issuer the issuer name, or null (see the class description for its characters)
     * @return this builder
     */
    public Builder issuer(String issuer) {
      this.issuer = field("issuer", issuer);
      return this;
    }

    /**
     * Sets {@code serialNumber}.
     *
     * @param serialNumber the serial number as text, or null (see the class description for its characters)
     * @return this builder
     */
    public Builder serialNumber(String serialNumber) {
      this.serialNumber = field("serialNumber", serialNumber);
      return this;
    }

    /**
     * Sets {@code subject}.
     *
     * @param subject the subject name, or null (see the class description for its characters)
     * @return this builder
     */
    public Builder subject(String subject) {
      this.subject = field("subject", subject);
      return this;
    }

    /**
     * Sets {@code algorithm}.
     *
     * @param algorithm the algorithm as text, or null (see the class description for its characters)
     * @return this builder
     */
    public Builder algorithm(String algorithm) {
      this.algorithm = field("algorithm", algorithm);
      return this;
    }

    /**
     * Sets {@code notBeforeEx}, the start of validity.
     *
     * @param time one of the library's times, 0 to 4294967295
     * @return this builder
     */
    public Builder notBeforeEx(long time) {
      notBeforeEx = checkedTime("notBeforeEx", time);
      return this;
    }

    /**
     * Sets {@code notAfterEx}, the end of validity.
     *
     * @param time one of the library's times, 0 to 4294967295
     * @return this builder
     */
    public Builder notAfterEx(long time) {
      notAfterEx = checkedTime("notAfterEx", time);
      return this;
    }

    /**
     * Sets {@code keyUsage}, the key usage bits.
     *
     * @param keyUsage the bits
     * @return this builder
     */
    public Builder keyUsage(int keyUsage) {
      this.keyUsage = keyUsage;
      return this;
    }

    /**
     * Sets {@code notBeforePrivateEx}, the start of the private key's usage period.
     *
     * @param time one of the library's times, 0 to 4294967295
     * @return this builder
     */
    public Builder notBeforePrivateEx(long time) {
      notBeforePrivateEx = checkedTime("notBeforePrivateEx", time);
      return this;
    }

    /**
     * Sets {@code notAfterPrivateEx}, the end of the private key's usage period.
     *
     * @param time one of the library's times, 0 to 4294967295
     * @return this builder
     */
    public Builder notAfterPrivateEx(long time) {
      notAfterPrivateEx = checkedTime("notAfterPrivateEx", time);
      return this;
    }

    /**
     * Sets one field of {@code issuerAltName}.
     *
     * @param field a field of {@code altname_t}: {@code "emailAddress"}, {@code "DNS"},
     *     {@code "URI"}, {@code "IP"}, ...
     * @param value its text, or null (see the class description for its characters)
     * @return this builder
     * @throws IllegalArgumentException for an unknown field, naming the fields
     */
    public Builder issuerAltName(String field, String value) {
      issuerAltName.put(altName(field), field("issuerAltName." + field, value));
      return this;
    }

    /**
     * Sets one field of {@code subjectAltName}.
     *
     * @param field a field of {@code altname_t}: {@code "emailAddress"}, {@code "DNS"},
     *     {@code "URI"}, {@code "IP"}, ...
     * @param value its text, or null (see the class description for its characters)
     * @return this builder
     * @throws IllegalArgumentException for an unknown field, naming the fields
     */
    public Builder subjectAltName(String field, String value) {
      subjectAltName.put(altName(field), field("subjectAltName." + field, value));
      return this;
    }

    /**
     * Sets {@code keyId}.
     *
     * @param keyId the key identifier as text, or null (see the class description for its characters)
     * @return this builder
     */
    public Builder keyId(String keyId) {
      this.keyId = field("keyId", keyId);
      return this;
    }

    /**
     * Adds an element to {@code policies} (a {@code policy_t}).
     *
     * @param oid its {@code oid}, or null (see the class description for its characters)
     * @param orgName its {@code org_name}, or null (see the class description for its characters)
     * @param noticeNumber its {@code not_num}
     * @param text its {@code text}, or null (see the class description for its characters)
     * @return this builder
     */
    public Builder policy(String oid, String orgName, int noticeNumber, String text) {
      policies.add(
        new Policy(
          field("policy oid", oid),
          field("policy org_name", orgName),
          noticeNumber,
          field("policy text", text)
        )
      );
      return this;
    }

    /**
     * Adds an element to {@code extKeyUsage}.
     *
     * @param oid its {@code oid}, or null (see the class description for its characters)
     * @return this builder
     */
    public Builder extKeyUsage(String oid) {
      extKeyUsage.add(field("extKeyUsage oid", oid));
      return this;
    }

    /**
     * Adds an element to {@code extensions} (an {@code extension_t}).
     *
     * @param oid its {@code oid}, or null (see the class description for its characters)
     * @param type its {@code type}
     * @param critical its {@code critical}
     * @param data its {@code data} (copied; its length is {@code len}), or null for none
     * @return this builder
     */
    public Builder extension(String oid, int type, boolean critical, byte[] data) {
      extensions.add(
        new Extension(
          field("extension oid", oid),
          type,
          critical,
          data == null ? null : data.clone()
        )
      );
      return this;
    }

    /**
     * Sets {@code certEncoded}, the encoded certificate, which a store enumeration hands out.
     *
     * @param encoded the bytes (copied), or null for none
     * @return this builder
     */
    public Builder certEncoded(byte[] encoded) {
      certEncoded = encoded == null ? null : encoded.clone();
      return this;
    }

    /**
     * Sets {@code certHash}, the certificate's hash.
     *
     * @param hash the bytes (copied), or null for none
     * @return this builder
     */
    public Builder certHash(byte[] hash) {
      certHash = hash == null ? null : hash.clone();
      return this;
    }

    /**
     * The certificate with the values set so far; the builder may go on.
     *
     * @return the certificate
     */
    public CertificateRecord build() {
      return new CertificateRecord(this);
    }

    private static String altName(String field) {
      if (!ALT_NAMES.contains(Objects.requireNonNull(field, "field"))) {
        throw new IllegalArgumentException(
          "altname_t has no field \"" + field + "\"; its fields are " + ALT_NAMES
        );
      }
      return field;
    }
  }
}
