/**
 * The Java API of the library {@code tarvex}: a context that closes, one exception that carries
 * the status, byte arrays and files in and out, immutable results, and the library's streams as
 * {@code java.io} streams. It runs over {@link Norv1.LocalIface}, which stays for every method
 * of the library exactly as the library defines it, and adds no native code of its own.
 *
 * <pre>{@code
 * try (Tarvex tarvex = Tarvex.openMinimal()) {
 *   byte[] signed = tarvex.sign(document);
 *   Verification verification = tarvex.verify(signed);
 *   if (!verification.isValid()) {
 *     throw new SecurityException("rejected: " + Status.toString(verification.status()));
 *   }
 *   try (FinishingOutputStream<byte[]> hashing = tarvex.hashing()) {
 *     Files.copy(file, hashing);
 *     byte[] digest = hashing.finish();
 *   }
 * } catch (TarvexException e) {
 *   if (e.isFault()) {
 *     // the library crashed inside the call; the context was closed by try-with-resources
 *   }
 *   throw e;
 * }
 * }</pre>
 *
 * <ul>
 *   <li>{@link tarvexjni.Tarvex}: a context, and every operation; thread-safe, its calls
 *       serialised.</li>
 *   <li>{@link tarvexjni.TarvexException}: a failed call (unchecked), with {@link
 *       tarvexjni.Status} naming the statuses this project knows.</li>
 *   <li>Results: {@link tarvexjni.Certificate}, {@link tarvexjni.Crl}, {@link
 *       tarvexjni.Verification}, {@link tarvexjni.Decrypted}, {@link tarvexjni.OtherName},
 *       {@link tarvexjni.BasicConstraints}; requirements: {@link tarvexjni.VerifyOptions},
 *       {@link tarvexjni.CertificateQuery}.</li>
 *   <li>Streams and enumerations: {@link tarvexjni.FinishingOutputStream}, {@link
 *       tarvexjni.DecryptingInputStream}, {@link tarvexjni.StoreObjects}.</li>
 * </ul>
 */
package tarvexjni;
