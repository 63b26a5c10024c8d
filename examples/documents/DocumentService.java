package documents;

import Norv1.LocalIface;
import Norv1.LocalIface.certificate_t;
import Norv1.LocalIface.find_param_t;
import Norv1.LocalIface.find_result_t;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.sign_param_t;
import Norv1.LocalIface.strhandle_t;
import Norv1.LocalIface.tsp_request_param_t;
import Norv1.LocalIface.verify_param_t;
import Norv1.LocalIface.verify_result_t;
import documents.DocumentException.Failure;
import java.io.IOException;
import java.io.InputStream;

/**
 * A small application service over the native library: signs and verifies documents, has them
 * time-stamped, and hashes streams. One native context per service; not for concurrent use.
 */
public final class DocumentService implements AutoCloseable {
  private static final int PIECE = 64 * 1024;

  private final String signer;
  private LocalIface lib = new LocalIface();

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
    check(LocalIface.QUMENJNI_InitMinimal(lib), Failure.LIBRARY_ERROR, "the library did not start");
  }

  /**
   * The certificate the service signs with, from the library's store.
   *
   * @return the first certificate the store finds for the signer
   * @throws DocumentException NO_CERTIFICATE when the store has none
   */
  public certificate_t signingCertificate() throws DocumentException {
    find_param_t search = new find_param_t();
    search.certTemplate = new certificate_t();
    search.certTemplate.subject = signer;
    find_result_t found = new find_result_t();
    check(LocalIface.QUMENJNI_FindCert(lib, search, found), Failure.LIBRARY_ERROR, "the store cannot be searched");
    if (found.num == 0) throw new DocumentException(Failure.NO_CERTIFICATE, "no certificate for " + signer, 0);
    return found.certs[0];
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
    mem_blk_t signed = new mem_blk_t();
    check(LocalIface.QUMENJNI_SignMem(lib, new sign_param_t(), new mem_blk_t(document), null, signed),
        Failure.LIBRARY_ERROR, "the document cannot be signed");
    return signed.bytes();
  }

  /**
   * Verifies a signed document.
   *
   * @param signedDocument a document as {@link #sign} returned it
   * @return its content and signer
   * @throws DocumentException INVALID_SIGNATURE when it does not verify
   */
  public Verified verify(byte[] signedDocument) throws DocumentException {
    mem_blk_t content = new mem_blk_t();
    verify_result_t result = new verify_result_t();
    int status = LocalIface.QUMENJNI_VerifyMem(lib, new verify_param_t(), new mem_blk_t(signedDocument), null,
        content, result);
    String who = result.sign_num > 0 && result.signs[0].cert != null ? result.signs[0].cert.subject : null;
    check(status, Failure.INVALID_SIGNATURE, who == null ? "the signature is invalid" : "the signature of " + who
        + " is invalid");
    return new Verified(content.bytes(), who);
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
    mem_blk_t stamped = new mem_blk_t();
    check(LocalIface.QUMENJNI_TspBlkUrlStampCmsMem(lib, new tsp_request_param_t(), authority,
        new mem_blk_t(signedDocument), stamped), Failure.TIMESTAMP_UNAVAILABLE, "no time stamp from " + authority);
    check(LocalIface.QUMENJNI_TspBlkVerifyCmsMem(lib, new LocalIface.tsp_verify_param_t(), stamped,
        new LocalIface.tsp_verify_result_t()), Failure.TIMESTAMP_UNAVAILABLE, "the stamp of " + authority
        + " does not verify");
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
    strhandle_t stream = new strhandle_t();
    check(LocalIface.QUMENJNI_StrHashInitMem(lib, null, stream), Failure.LIBRARY_ERROR, "cannot start a hash");
    try {
      byte[] piece = new byte[PIECE];
      for (int n; (n = in.read(piece)) > 0; ) {
        mem_blk_t block = new mem_blk_t(piece);
        block.len = n;
        check(LocalIface.QUMENJNI_StrHashUpdateMem(lib, stream, block), Failure.LIBRARY_ERROR, "cannot hash");
      }
      mem_blk_t digest = new mem_blk_t();
      check(LocalIface.QUMENJNI_StrHashFinalMem(lib, stream, digest), Failure.LIBRARY_ERROR, "cannot hash");
      return digest.bytes();
    } finally {
      // A failed stage ended the stream already (its handle is 0); otherwise end it here.
      if (stream.handle != 0) LocalIface.QUMENJNI_StrHashFinalMem(lib, stream, new mem_blk_t());
    }
  }

  /** Ends the library's context. */
  @Override
  public void close() {
    LocalIface.QUMENJNI_Uninitialize(lib);
  }

  private static boolean isFault(int status) {
    return (status & 0xF0000000) == 0xC0000000 || status == 0x80000002;
  }

  // A fault leaves the library's state for this context undefined: the service starts afresh.
  private void check(int status, Failure failure, String message) throws DocumentException {
    if (status == 0) return;
    if (isFault(status)) {
      LocalIface.QUMENJNI_Uninitialize(lib);
      lib = new LocalIface();
      LocalIface.QUMENJNI_InitMinimal(lib);
      throw new DocumentException(Failure.LIBRARY_FAULT, message + ": the library crashed", status);
    }
    throw new DocumentException(failure, message, status);
  }
}
