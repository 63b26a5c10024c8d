package tarvexjni;

import java.util.Objects;

/**
 * A decrypted envelope: its content and the certificate of its sender. The content array is
 * the result's own and is returned without a copy.
 *
 * @param content the decrypted content; never null
 * @param sender the sender's certificate, as the library reports it (its fields are empty when
 *     the library names no sender); never null
 */
public record Decrypted(byte[] content, Certificate sender) {
  /**
   * Makes the record, checked: a component that must not be null is not, and lists become
   * unmodifiable copies.
   *
   * @param content the decrypted content; never null
   * @param sender the sender's certificate, as the library reports it (its fields are empty when
   *     the library names no sender); never null
   * @throws NullPointerException when a component that must not be null, or an element of a
   *     list, is null
   */
  public Decrypted {
    Objects.requireNonNull(content, "content");
    Objects.requireNonNull(sender, "sender");
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
    return o instanceof Decrypted d && java.util.Arrays.equals(content, d.content) && sender.equals(d.sender);
  }

  /**
   * A hash code consistent with {@link #equals}.
   *
   * @return the hash code
   */
  @Override
  public int hashCode() {
    return 31 * java.util.Arrays.hashCode(content) + sender.hashCode();
  }

  /**
   * A short description: the content's size and the sender.
   *
   * @return the description
   */
  @Override
  public String toString() {
    return "Decrypted[content=" + content.length + " bytes, sender=" + sender + "]";
  }
}
