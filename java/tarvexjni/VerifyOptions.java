package tarvexjni;

import Norv1.LocalIface.verify_param_t;
import java.util.List;

/**
 * What a verification requires of a message and its signers, passed to the library as it
 * stands; what each requirement means, and how the library weighs it against each signature, is
 * the library's. Immutable: the {@code with...} methods return a changed copy.
 *
 * <pre>{@code
 * VerifyOptions twoSigners = VerifyOptions.DEFAULT.withMinimumSignatures(2);
 * }</pre>
 *
 * @param flags the verification options, the library's bits
 * @param keyUsage the key usage bits a signer's certificate must carry
 * @param policies the certificate policies a signer's certificate must carry, as dotted OID texts
 * @param extendedKeyUsages the extended key usages a signer's certificate must carry, as dotted
 *     OID texts
 * @param minimumSignatures the minimum number of signatures, the library's
 * @param info further options, the library's
 */
public record VerifyOptions(
  int flags,
  int keyUsage,
  List<String> policies,
  List<String> extendedKeyUsages,
  int minimumSignatures,
  int info
) {
  /** No requirement: every value 0, no policy, no extended key usage. */
  public static final VerifyOptions DEFAULT = new VerifyOptions(0, 0, List.of(), List.of(), 0, 0);

  /**
   * Makes the record, checked: a component that must not be null is not, and lists become
   * unmodifiable copies.
   *
   * @param flags the verification options, the library's bits
   * @param keyUsage the key usage bits a signer's certificate must carry
   * @param policies the certificate policies a signer's certificate must carry, as dotted OID
   *     texts
   * @param extendedKeyUsages the extended key usages a signer's certificate must carry, as dotted
   *     OID texts
   * @param minimumSignatures the minimum number of signatures, the library's
   * @param info further options, the library's
   * @throws NullPointerException when a component that must not be null, or an element of a
   *     list, is null
   */
  public VerifyOptions {
    policies = List.copyOf(policies);
    extendedKeyUsages = List.copyOf(extendedKeyUsages);
  }

  /**
   * These options as the record of {@code LocalIface} that {@link Tarvex#verify(byte[],
   * VerifyOptions)} passes, for a verification made through {@link Tarvex#callForStatus(String,
   * LibraryCall)}.
   *
   * @return a new record
   */
  public verify_param_t toRecord() {
    return Records.verifyParam(this);
  }

  /**
   * These options with other flags.
   *
   * @param flags the verification options, the library's bits
   * @return the changed copy
   */
  public VerifyOptions withFlags(int flags) {
    return new VerifyOptions(flags, keyUsage, policies, extendedKeyUsages, minimumSignatures, info);
  }

  /**
   * These options with other required key usage bits.
   *
   * @param keyUsage the key usage bits
   * @return the changed copy
   */
  public VerifyOptions withKeyUsage(int keyUsage) {
    return new VerifyOptions(flags, keyUsage, policies, extendedKeyUsages, minimumSignatures, info);
  }

  /**
   * These options with other required certificate policies.
   *
   * @param policies dotted OID texts
   * @return the changed copy
   */
  public VerifyOptions withPolicies(String... policies) {
    return new VerifyOptions(
      flags,
      keyUsage,
      List.of(policies),
      extendedKeyUsages,
      minimumSignatures,
      info
    );
  }

  /**
   * These options with other required extended key usages.
   *
   * @param extendedKeyUsages dotted OID texts
   * @return the changed copy
   */
  public VerifyOptions withExtendedKeyUsages(String... extendedKeyUsages) {
    return new VerifyOptions(
      flags,
      keyUsage,
      policies,
      List.of(extendedKeyUsages),
      minimumSignatures,
      info
    );
  }

  /**
   * These options with another minimum number of signatures.
   *
   * @param minimumSignatures the minimum, the library's
   * @return the changed copy
   */
  public VerifyOptions withMinimumSignatures(int minimumSignatures) {
    return new VerifyOptions(flags, keyUsage, policies, extendedKeyUsages, minimumSignatures, info);
  }

  /**
   * These options with other further options.
   *
   * @param info further options, the library's
   * @return the changed copy
   */
  public VerifyOptions withInfo(int info) {
    return new VerifyOptions(flags, keyUsage, policies, extendedKeyUsages, minimumSignatures, info);
  }
}
