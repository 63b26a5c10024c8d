package tarvexjni.standin;

import java.io.ByteArrayOutputStream;
import java.io.DataOutputStream;
import java.io.IOException;
import java.io.UncheckedIOException;
import java.util.ArrayList;
import java.util.List;
import java.util.Objects;

/**
 * What a verification answers, for {@link Programming#answer(VerificationAnswer)} (the Java API
 * gives it to the application as a {@code tarvexjni.Verification}): the status the
 * function returns, one {@code sign_status_t} per signature (its status, signing time and the
 * signer's certificate) and the content in the output block. Immutable; each method returns a new
 * verification:
 *
 * <pre>{@code
 * // The library says yes overall, but one of the two signatures does not verify.
 * StandIn.on(VerifyMem).answer(VerificationAnswer.status(0)
 *     .signer(0, CertificateRecord.withSubject("CN=Alice"))
 *     .signer(UNTRUSTED, CertificateRecord.withSubject("CN=Mallory"))
 *     .content(document));
 * }</pre>
 *
 * Java then sees {@code sign_num} 2, {@code signs[0].status} 0 and {@code signs[1].status}
 * {@code UNTRUSTED}, each with its {@code cert}.
 */
public final class VerificationAnswer {

  private record Signer(int status, long timeEx, CertificateRecord certificate) {}

  private final int status;
  private final List<Signer> signers;
  private final byte[] content;

  private VerificationAnswer(int status, List<Signer> signers, byte[] content) {
    this.status = status;
    this.signers = List.copyOf(signers);
    this.content = content;
  }

  /**
   * A verification that returns this status, with no signers and no content yet.
   *
   * @param status what the function returns: 0, or the library's failure code
   * @return the verification
   */
  public static VerificationAnswer status(int status) {
    return new VerificationAnswer(status, List.of(), null);
  }

  /**
   * This verification with one more signature, signed at time 0.
   *
   * @param status the signature's own status ({@code sign_status_t.status}): 0 when it
   *     verified, else the library's code for why not
   * @param certificate the signer's certificate, or null when the library names none
   * @return the new verification
   */
  public VerificationAnswer signer(int status, CertificateRecord certificate) {
    return signer(status, 0, certificate);
  }

  /**
   * This verification with one more signature.
   *
   * @param status the signature's own status ({@code sign_status_t.status})
   * @param timeEx its signing time, one of the library's times (0 to 4294967295)
   * @param certificate the signer's certificate, or null when the library names none
   * @return the new verification
   * @throws IllegalArgumentException for a time out of range
   */
  public VerificationAnswer signer(int status, long timeEx, CertificateRecord certificate) {
    List<Signer> more = new ArrayList<>(signers);
    more.add(new Signer(status, CertificateRecord.checkedTime("timeEx", timeEx), certificate));
    return new VerificationAnswer(this.status, more, content);
  }

  /**
   * This verification with the content the function returns in its output block: what was
   * signed. Without it the block stays empty.
   *
   * @param content the bytes (copied)
   * @return the new verification
   */
  public VerificationAnswer content(byte[] content) {
    return new VerificationAnswer(
      status,
      signers,
      Objects.requireNonNull(content, "content").clone()
    );
  }

  boolean hasContent() {
    return content != null;
  }

  /**
   * The status, the signers' statuses and subjects, and the content's length.
   *
   * @return a short description
   */
  @Override
  public String toString() {
    StringBuilder text = new StringBuilder("VerificationAnswer.status(")
      .append(StandIn.status(status))
      .append(")");
    for (Signer s : signers) {
      text
        .append(".signer(")
        .append(StandIn.status(s.status))
        .append(", ")
        .append(s.certificate == null ? "no certificate" : s.certificate)
        .append(")");
    }
    if (content != null) text.append(".content(").append(content.length).append(" bytes)");
    return text.toString();
  }

  // The encoding answers.cpp reads.
  byte[] encode() {
    ByteArrayOutputStream bytes = new ByteArrayOutputStream();
    try (DataOutputStream out = new DataOutputStream(bytes)) {
      out.writeInt(status);
      out.writeInt(signers.size());
      for (Signer s : signers) {
        out.writeInt(s.status);
        out.writeInt((int) s.timeEx);
        out.writeByte(s.certificate == null ? 0 : 1);
        if (s.certificate != null) s.certificate.writeTo(out);
      }
      CertificateRecord.bytes(out, content);
    } catch (IOException e) {
      throw new UncheckedIOException(e);
    }
    return bytes.toByteArray();
  }
}
