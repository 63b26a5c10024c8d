package documents;

/** A document operation failed; {@link #failure()} says why, {@link #status()} the library's code. */
public final class DocumentException extends Exception {

  private static final long serialVersionUID = 1L;

  /** Why an operation failed, as the application reports it. */
  public enum Failure {
    /** The signature does not verify: the document was changed, or its signer is not trusted. */
    INVALID_SIGNATURE,
    /** The store holds no certificate to sign with. */
    NO_CERTIFICATE,
    /** The time-stamp authority could not be reached or did not answer usefully. */
    TIMESTAMP_UNAVAILABLE,
    /** The library crashed inside the call; the service started a fresh context. */
    LIBRARY_FAULT,
    /** Any other refusal of the library. */
    LIBRARY_ERROR,
  }

  /** Why the operation failed. */
  private final Failure failure;
  /** The library's status for the failed call. */
  private final int status;

  DocumentException(Failure failure, String message, int status) {
    super(String.format("%s (status %#010x)", message, status));
    this.failure = failure;
    this.status = status;
  }

  DocumentException(Failure failure, String message, tarvexjni.TarvexException cause) {
    super(String.format("%s (status %#010x)", message, cause.status()), cause);
    this.failure = failure;
    this.status = cause.status();
  }

  /**
   * Why the operation failed.
   *
   * @return the failure
   */
  public Failure failure() {
    return failure;
  }

  /**
   * The library's status for the failed call (0 when the library did not fail).
   *
   * @return the status
   */
  public int status() {
    return status;
  }
}
