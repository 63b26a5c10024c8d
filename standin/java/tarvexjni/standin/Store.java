package tarvexjni.standin;

import java.io.ByteArrayOutputStream;
import java.io.DataOutputStream;
import java.io.IOException;
import java.io.UncheckedIOException;
import java.util.List;
import java.util.Objects;

/**
 * The certificates of a store, for {@link StandIn#store(Store)} and
 * {@link Programming#answer(Store)}: {@code FindCert} finds them all (its {@code find_result_t}
 * holds them in this order), and each step of an enumeration gives the next one's
 * {@code certEncoded}. Immutable.
 */
public final class Store {

  private final List<CertificateRecord> certificates;

  private Store(List<CertificateRecord> certificates) {
    this.certificates = List.copyOf(certificates);
  }

  /**
   * A store with these certificates.
   *
   * @param certificates the certificates, in order
   * @return the store
   */
  public static Store of(CertificateRecord... certificates) {
    for (CertificateRecord c : certificates) Objects.requireNonNull(c, "certificate");
    return new Store(List.of(certificates));
  }

  /**
   * A store without certificates: {@code FindCert} finds none, an enumeration ends at once.
   *
   * @return the store
   */
  public static Store empty() {
    return new Store(List.of());
  }

  /**
   * Its certificates.
   *
   * @return a short description
   */
  @Override
  public String toString() {
    return "Store" + certificates;
  }

  // The encoding answers.cpp reads.
  byte[] encode() {
    ByteArrayOutputStream bytes = new ByteArrayOutputStream();
    try (DataOutputStream out = new DataOutputStream(bytes)) {
      out.writeInt(certificates.size());
      for (CertificateRecord c : certificates) c.writeTo(out);
    } catch (IOException e) {
      throw new UncheckedIOException(e);
    }
    return bytes.toByteArray();
  }
}
