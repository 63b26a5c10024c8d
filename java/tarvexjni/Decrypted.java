package tarvexjni;

import Norv1.LocalIface.decrypt_result_t;
import Norv1.LocalIface.mem_blk_t;
import java.util.Arrays;
import java.util.Objects;
import java.util.Optional;

/**
 * A decrypted envelope: its content and the certificate of its sender. The content array is
 * the result's own and is returned without a copy.
 *
 * @param content the decrypted content
 * @param sender the sender's certificate; empty when the library names no sender
 */
public record Decrypted(byte[] content, Optional<Certificate> sender) {
  /**
   * Makes the record, checked: no component is null.
   *
   * @param content the decrypted content; not null
   * @param sender the sender's certificate, or empty; not null
   * @throws NullPointerException when a component is null
   */
  public Decrypted {
    Objects.requireNonNull(content, "content");
    Objects.requireNonNull(sender, "sender");
  }

  /**
   * The decryption as {@code LocalIface} returned it, as this API returns it: what {@link
   * Tarvex#decrypt(byte[])} makes of the records its call filled, for a decryption made through
   * {@link Tarvex#call(String, LibraryCall)} (with options or a family the API leaves to {@code
   * LocalIface}). The sender is empty when the record names none: no certificate, or one with
   * neither an encoding nor a subject, issuer or serial number. The arrays are taken without a
   * copy.
   *
   * @param content the content block the call filled; null for none
   * @param result the result record the call filled
   * @return the decryption
   */
  public static Decrypted from(mem_blk_t content, decrypt_result_t result) {
    Objects.requireNonNull(result, "result");
    return new Decrypted(Records.bytes(content), Records.sender(result.sender));
  }

  /**
   * Whether another object is a result with the same content and sender, the content compared
   * by its bytes.
   *
   * @param o the other object
   * @return true when equal
   */
  @Override
  public boolean equals(Object o) {
    return o instanceof Decrypted d && Arrays.equals(content, d.content) && sender.equals(d.sender);
  }

  /**
   * A hash code consistent with {@link #equals}.
   *
   * @return the hash code
   */
  @Override
  public int hashCode() {
    return 31 * Arrays.hashCode(content) + sender.hashCode();
  }

  /**
   * A short description: the content's size and the sender.
   *
   * @return the description
   */
  @Override
  public String toString() {
    return (
      "Decrypted[content=" +
      content.length +
      " bytes, sender=" +
      sender.map(Certificate::toString).orElse("none") +
      "]"
    );
  }
}
