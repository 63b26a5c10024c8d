package tarvexjni;

import static tarvexjni.Records.text;

import Norv1.LocalIface.crl_t;
import java.util.Arrays;
import java.util.List;
import java.util.Objects;

/**
 * A certificate revocation list as the library describes it. A text the library left empty is
 * {@code ""}. Times are the library's own time values (unsigned 32-bit, as a non-negative {@code
 * long}). The list of revoked certificates is
 * unmodifiable; the arrays are the list's own and returned without a copy (see {@link
 * Certificate}); {@link #equals}, {@link #hashCode} and {@link #toString} use their contents.
 *
 * @param fields selector or presence bits defined by the library
 * @param issuer the issuer's name, as text
 * @param lastUpdate the time of this update, a time value of the library
 * @param nextUpdate the time of the next update, a time value of the library
 * @param number the CRL number
 * @param revoked the revoked certificates
 * @param encoded the encoded CRL
 * @param hash the CRL's hash
 */
public record Crl(
  int fields,
  String issuer,
  long lastUpdate,
  long nextUpdate,
  int number,
  List<Revoked> revoked,
  byte[] encoded,
  byte[] hash
) {
  /**
   * Makes the record, checked: a null text is taken as {@code ""}, the list becomes an
   * unmodifiable copy, and the other components must not be null.
   *
   * @param fields selector or presence bits defined by the library
   * @param issuer the issuer's name, as text
   * @param lastUpdate the time of this update, a time value of the library
   * @param nextUpdate the time of the next update, a time value of the library
   * @param number the CRL number
   * @param revoked the revoked certificates
   * @param encoded the encoded CRL; not null
   * @param hash the CRL's hash; not null
   * @throws NullPointerException when a component that must not be null, or an element of a
   *     list, is null
   */
  public Crl {
    issuer = text(issuer);
    revoked = List.copyOf(revoked);
    Objects.requireNonNull(encoded, "encoded");
    Objects.requireNonNull(hash, "hash");
  }

  /**
   * The CRL as {@code LocalIface} returned it, as this API returns it (what {@link
   * Tarvex#parseCrl(byte[])} makes of its record), for a call made through {@link
   * Tarvex#call(String, LibraryCall)}. The arrays are taken without a copy.
   *
   * @param record a CRL record
   * @return the CRL
   */
  public static Crl from(crl_t record) {
    return Records.crl(Objects.requireNonNull(record, "record"));
  }

  /**
   * Whether another object is a CRL with the same fields, the arrays compared by content.
   *
   * @param o the other object
   * @return true when equal
   */
  @Override
  public boolean equals(Object o) {
    return (
      o instanceof Crl c &&
      fields == c.fields &&
      Objects.equals(issuer, c.issuer) &&
      lastUpdate == c.lastUpdate &&
      nextUpdate == c.nextUpdate &&
      number == c.number &&
      revoked.equals(c.revoked) &&
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
    return Objects.hash(issuer, number, revoked, Arrays.hashCode(encoded));
  }

  /**
   * A short description: issuer, number, how many are revoked, the encoding's size.
   *
   * @return the description
   */
  @Override
  public String toString() {
    return (
      "Crl[issuer=" +
      issuer +
      ", number=" +
      number +
      ", revoked=" +
      revoked.size() +
      ", encoded=" +
      encoded.length +
      " bytes]"
    );
  }

  /**
   * One revoked certificate.
   *
   * @param serialNumber the serial number of the revoked certificate, as text
   * @param revocationTime the time of revocation, a time value of the library
   * @param reason the revocation reason code, the library's
   */
  public record Revoked(String serialNumber, long revocationTime, int reason) {
    /**
     * Makes the record; a null serial number is taken as {@code ""}.
     *
     * @param serialNumber the serial number of the revoked certificate, as text
     * @param revocationTime the time of revocation, a time value of the library
     * @param reason the revocation reason code, the library's
     */
    public Revoked {
      serialNumber = text(serialNumber);
    }
  }
}
