package documents;

import Norv1.LocalIface;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.tsp_request_param_t;
import Norv1.LocalIface.tsp_verify_param_t;
import Norv1.LocalIface.tsp_verify_result_t;
import documents.DocumentException.Failure;
import java.io.IOException;
import java.io.InputStream;
import java.util.List;
import java.util.function.Supplier;
import tarvexjni.Certificate;
import tarvexjni.CertificateQuery;
import tarvexjni.FinishingOutputStream;
import tarvexjni.Tarvex;
import tarvexjni.TarvexException;
import tarvexjni.Verification;

/**
 * A small application service over the native library: signs and verifies documents, has them
 * time-stamped, and hashes streams. One native context per service; not for concurrent use.
 */
public final class DocumentService implements AutoCloseable {

  private static final int PIECE = 64 * 1024;

  private final String signer;
  private Tarvex tarvex;

  /**
   * A verified document.
   *
   * @param content the document as it was signed
   * @param signer the subject of the signer's certificate, or null when the library named none
   */
  public record Verified(byte[] content, String signer) {}

  /**
   * Opens a context of the library.
   *
   * @param signer the subject of the certificate to sign with
   * @throws DocumentException when the library cannot start
   */
  public DocumentService(String signer) throws DocumentException {
    this.signer = signer;
    try {
      tarvex = Tarvex.openMinimal();
    } catch (TarvexException e) {
      throw new DocumentException(Failure.LIBRARY_ERROR, "the library did not start", e);
    }
  }

  /**
   * The certificate the service signs with, from the library's store.
   *
   * @return the first certificate the store finds for the signer
   * @throws DocumentException NO_CERTIFICATE when the store has none
   */
  public Certificate signingCertificate() throws DocumentException {
    List<Certificate> found = run(Failure.LIBRARY_ERROR, "the store cannot be searched", () ->
      tarvex.findCertificates(CertificateQuery.bySubject(signer))
    );
    if (found.isEmpty()) throw new DocumentException(
      Failure.NO_CERTIFICATE,
      "no certificate for " + signer,
      0
    );
    return found.get(0);
  }

  /**
   * Signs a document; refuses when the store has no certificate to sign with.
   *
   * @param document the bytes to sign
   * @return the signed document
   * @throws DocumentException when it cannot be signed
   */
  public byte[] sign(byte[] document) throws DocumentException {
    signingCertificate();
    return run(Failure.LIBRARY_ERROR, "the document cannot be signed", () -> tarvex.sign(document));
  }

  /**
   * Verifies a signed document: the library must accept it, and every signature in it must verify.
   *
   * @param signedDocument a document as {@link #sign} returned it
   * @return its content and signer
   * @throws DocumentException INVALID_SIGNATURE when it does not verify
   */
  public Verified verify(byte[] signedDocument) throws DocumentException {
    Verification v = run(Failure.INVALID_SIGNATURE, "the signature cannot be checked", () ->
      tarvex.verify(signedDocument)
    );
    String who = v.signers().isEmpty() ? null : subject(v.signers().get(0));
    if (v.status() != 0) {
      throw new DocumentException(
        Failure.INVALID_SIGNATURE,
        who == null ? "the signature is invalid" : "the signature of " + who + " is invalid",
        v.status()
      );
    }
    // An accepted message may still carry a signature that failed: each one must verify.
    for (Verification.Signer s : v.signers()) {
      if (!s.isValid()) {
        throw new DocumentException(
          Failure.INVALID_SIGNATURE,
          "the signature of " + subject(s) + " is invalid",
          s.status()
        );
      }
    }
    if (who == null) throw new DocumentException(
      Failure.INVALID_SIGNATURE,
      "the document is not signed",
      0
    );
    return new Verified(v.content(), who);
  }

  private static String subject(Verification.Signer s) {
    return s.certificate().map(Certificate::subject).orElse("an unknown signer");
  }

  /**
   * Has a signed document time-stamped by an authority.
   *
   * @param signedDocument the document to stamp
   * @param authority the authority's URL
   * @return the stamped document
   * @throws DocumentException TIMESTAMP_UNAVAILABLE when the authority gives no usable stamp
   */
  public byte[] timestamp(byte[] signedDocument, String authority) throws DocumentException {
    // Time stamps are not in the Java API: LocalIface's methods run in the service's context.
    mem_blk_t stamped = new mem_blk_t();
    check(Failure.TIMESTAMP_UNAVAILABLE, "no time stamp from " + authority, () ->
      tarvex.call("TspBlkUrlStampCmsMem", lib ->
        LocalIface.QUMENJNI_TspBlkUrlStampCmsMem(
          lib,
          new tsp_request_param_t(),
          authority,
          new mem_blk_t(signedDocument),
          stamped
        )
      )
    );
    check(Failure.TIMESTAMP_UNAVAILABLE, "the stamp of " + authority + " does not verify", () ->
      tarvex.call("TspBlkVerifyCmsMem", lib ->
        LocalIface.QUMENJNI_TspBlkVerifyCmsMem(
          lib,
          new tsp_verify_param_t(),
          stamped,
          new tsp_verify_result_t()
        )
      )
    );
    return stamped.bytes();
  }

  /**
   * The digest of everything a stream yields, fed to the library in 64 KiB pieces.
   *
   * @param in the stream, read to its end
   * @return the digest
   * @throws IOException when the stream fails (the library's stream is ended first)
   * @throws DocumentException when the library refuses
   */
  public byte[] hash(InputStream in) throws IOException, DocumentException {
    try (FinishingOutputStream<byte[]> hashing = tarvex.hashing()) {
      byte[] piece = new byte[PIECE];
      for (int n; (n = in.read(piece)) > 0; ) hashing.write(piece, 0, n);
      return hashing.finish();
    } catch (TarvexException e) {
      throw failed(Failure.LIBRARY_ERROR, "cannot hash", e);
    }
  }

  /** Ends the library's context. */
  @Override
  public void close() {
    tarvex.close();
  }

  private <T> T run(Failure failure, String message, Supplier<T> operation)
    throws DocumentException {
    try {
      return operation.get();
    } catch (TarvexException e) {
      throw failed(failure, message, e);
    }
  }

  private void check(Failure failure, String message, Runnable operation) throws DocumentException {
    run(failure, message, () -> {
      operation.run();
      return null;
    });
  }

  // A fault leaves the library's state for this context undefined: the service starts afresh.
  private DocumentException failed(Failure failure, String message, TarvexException e) {
    if (!e.isFault()) return new DocumentException(failure, message, e);
    try {
      tarvex.close();
    } catch (TarvexException ignored) {
      // The old context is gone either way.
    }
    tarvex = Tarvex.openMinimal();
    return new DocumentException(Failure.LIBRARY_FAULT, message + ": the library crashed", e);
  }
}
