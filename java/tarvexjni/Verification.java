package tarvexjni;

import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.sign_status_t;
import Norv1.LocalIface.verify_result_t;
import java.util.List;
import java.util.Objects;
import java.util.Optional;

/**
 * The outcome of a signature verification: the overall status, the content the library returned,
 * and every signature found, each with its own status, signing time and signer's certificate.
 *
 * <h2>What the overall status promises, and what it does not</h2>
 * The overall {@link #status()} is the library's verdict on the message under the verification's
 * requirements ({@link VerifyOptions}): 0 means the library accepted the message as a whole.
 * It does <b>not</b> promise that every signature verified: under requirements such as a
 * minimum number of signatures, a message can be accepted while one of its signatures failed;
 * and a message can be refused while some of its signatures verified. Each signer's own
 * {@link Signer#status()} is the library's verdict on that one signature. Before trusting the
 * content, decide which you need; {@link #isValid()} requires both: the overall status 0, at
 * least one signature, and every signature's status 0.
 *
 * <p>The content array is the result's own and is returned without a copy; it is empty when
 * the library returned no content (always for a verification from files, which writes the
 * content to its file). The list of signers is unmodifiable.
 *
 * @param status the overall status: 0 when the library accepted the message, else its failure
 *     code
 * @param content the content the library returned; never null
 * @param signers every signature found, in the library's order
 * @param libraryText the library's text for the status that {@link #requireValid()} reports (the
 *     overall status, else the first failing signature's), as the library gave it when the
 *     verification was made; empty when that status is 0 or the library has no text for it
 */
public record Verification(
  int status,
  byte[] content,
  List<Signer> signers,
  Optional<String> libraryText
) {
  /**
   * Makes the record, checked: a component that must not be null is not, and lists become
   * unmodifiable copies.
   *
   * @param status the overall status: 0 when the library accepted the message, else its failure
   *     code
   * @param content the content the library returned; never null
   * @param signers every signature found, in the library's order
   * @param libraryText the library's text for the status {@link #requireValid()} reports, or empty
   * @throws NullPointerException when a component that must not be null, or an element of a
   *     list, is null
   */
  public Verification {
    Objects.requireNonNull(content, "content");
    signers = List.copyOf(signers);
    Objects.requireNonNull(libraryText, "libraryText");
  }

  /**
   * Makes the record without the library's text, as a verification built by hand has none.
   *
   * @param status the overall status: 0 when the library accepted the message, else its failure
   *     code
   * @param content the content the library returned; never null
   * @param signers every signature found, in the library's order
   * @throws NullPointerException when a component, or an element of the list, is null
   */
  public Verification(int status, byte[] content, List<Signer> signers) {
    this(status, content, signers, Optional.empty());
  }

  /**
   * This verification with the library's text for the status {@link #requireValid()} reports.
   *
   * @param text the library's text, or empty
   * @return the verification with that text
   */
  public Verification withLibraryText(Optional<String> text) {
    return new Verification(status, content, signers, text);
  }

  /**
   * The verification as {@code LocalIface} returned it, as this API returns it: what {@link
   * Tarvex#verify(byte[])} makes of its call's status and records, for a verification made
   * through {@link Tarvex#callForStatus(String, LibraryCall)} (a family the API leaves to {@code
   * LocalIface}, or an input it does not pass). The arrays are taken without a copy.
   *
   * @param status the call's status: 0, or the library's failure code
   * @param content the content block the call filled; null for none
   * @param result the result record the call filled
   * @return the verification
   */
  public static Verification from(int status, mem_blk_t content, verify_result_t result) {
    return Records.verification(status, content, Objects.requireNonNull(result, "result"));
  }

  /**
   * Whether the message verified without exception: the overall status is 0, the library found
   * at least one signature, and every signature's own status is 0.
   *
   * @return true when valid
   */
  public boolean isValid() {
    if (status != 0 || signers.isEmpty()) return false;
    for (Signer s : signers) {
      if (!s.isValid()) return false;
    }
    return true;
  }

  /**
   * This verification, if {@linkplain #isValid() valid}; otherwise an exception naming why: the
   * overall status when it is not 0, else the first signature whose status is not 0.
   *
   * <pre>{@code
   * byte[] content = tarvex.verify(signed).requireValid().content();
   * }</pre>
   *
   * @return this verification
   * @throws TarvexException with operation {@code "Verification"} when the verification is not
   *     valid; its status is the overall status, or the first failing signature's (0 when the
   *     library found no signature); its message names the failing signer's subject, and, for a
   *     verification the API made, the library's text for the status (also {@link
   *     TarvexException#libraryText()}), as the library gave it when the verification was made
   */
  public Verification requireValid() {
    if (isValid()) return this;
    int reported = reportedStatus();
    String why = "the message carries no signature";
    if (status != 0) {
      why = "the message does not verify";
    } else {
      for (Signer s : signers) {
        if (s.isValid()) continue;
        why =
          "the signature of " +
          s.certificate().map(Certificate::subject).orElse("a signer") +
          " does not verify";
        break;
      }
    }
    throw new TarvexException(
      why,
      "Verification",
      reported,
      reported == 0 ? null : libraryText.orElse(null),
      null
    );
  }

  // The status requireValid() reports: the overall status, else the first failing signature's;
  // 0 when valid or without a signature.
  int reportedStatus() {
    if (status != 0) return status;
    for (Signer s : signers) {
      if (!s.isValid()) return s.status();
    }
    return 0;
  }

  /**
   * Whether another object is a verification with the same status, content (by its bytes),
   * signers and library text.
   *
   * @param o the other object
   * @return true when equal
   */
  @Override
  public boolean equals(Object o) {
    return (
      o instanceof Verification v &&
      status == v.status &&
      java.util.Arrays.equals(content, v.content) &&
      signers.equals(v.signers) &&
      libraryText.equals(v.libraryText)
    );
  }

  /**
   * A hash code consistent with {@link #equals}.
   *
   * @return the hash code
   */
  @Override
  public int hashCode() {
    return Objects.hash(status, java.util.Arrays.hashCode(content), signers, libraryText);
  }

  /**
   * A short description: status, the content's size, the signers.
   *
   * @return the description
   */
  @Override
  public String toString() {
    return (
      "Verification[status=" +
      Status.toString(status) +
      ", content=" +
      content.length +
      " bytes, signers=" +
      signers +
      "]"
    );
  }

  /**
   * One signature of a verified message.
   *
   * @param status the library's verdict on this signature: 0 when it verified, else the library's
   *     code
   * @param signingTime the signing time, a time value of the library (unsigned 32-bit, as a
   *     non-negative {@code long})
   * @param certificate the signer's certificate; empty when the library gives none
   */
  public record Signer(int status, long signingTime, Optional<Certificate> certificate) {
    /**
     * Makes the record, checked.
     *
     * @param status the library's verdict on this signature
     * @param signingTime the signing time, a time value of the library
     * @param certificate the signer's certificate, or empty; not null
     * @throws NullPointerException when {@code certificate} is null
     */
    public Signer {
      Objects.requireNonNull(certificate, "certificate");
    }

    /**
     * One signature as {@code LocalIface} returned it (an element of {@code
     * verify_result_t.signs}), as this API returns it.
     *
     * @param record a signature's record
     * @return the signature
     */
    public static Signer from(sign_status_t record) {
      return Records.signer(Objects.requireNonNull(record, "record"));
    }

    /**
     * Whether this signature verified.
     *
     * @return true when its status is 0
     */
    public boolean isValid() {
      return status == 0;
    }
  }
}
